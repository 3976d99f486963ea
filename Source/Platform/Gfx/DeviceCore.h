// The state every graphics resource shares with the device that made it: which thread is the main
// thread (the one whose GL context is current), whether the device is still alive, and the GL objects
// waiting to be deleted. Resources may be dropped on any thread; their GL objects are then deleted on
// the main thread at its next flush or present. After the device is gone, deletes are dropped, since the
// GL context took its objects with it. Guarded by its own mutex.
#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Platform::Gfx
{
enum class GlObjectKind
{
    Texture,
    Shader,
    Framebuffer,
    Buffer,
    Sampler,
    VertexArray,
    Program,
    ProgramPipeline,
    Query,
};

class DeviceCore
{
public:
    DeviceCore();

    bool IsMainThread() const { return std::this_thread::get_id() == myMainThread; }
    bool IsAlive() const;

    // Deletes at once on the main thread, otherwise queues the delete for the main thread.
    void ReleaseGlObject(GlObjectKind aKind, unsigned int aName);
    // Main thread: deletes every queued object.
    void DeleteQueuedObjects();
    // The device is going: nothing more is deleted.
    void MarkDead();

private:
    struct Queued
    {
        GlObjectKind kind;
        unsigned int name;
    };

    const std::thread::id myMainThread;
    mutable std::mutex myMutex;
    std::vector<Queued> myQueue;
    bool myIsAlive = true;
};

using DeviceCorePtr = std::shared_ptr<DeviceCore>;
} // namespace Platform::Gfx
