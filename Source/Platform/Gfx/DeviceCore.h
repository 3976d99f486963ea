// The state every graphics resource shares with the device that made it: which thread is the main
// thread (the one whose GL context is current), whether the device is still alive, and the GL objects
// waiting to be deleted. Resources may be dropped on any thread; their GL objects are then deleted on
// the main thread at its next flush or present. After the device is gone, deletes are dropped, since the
// GL context took its objects with it. Resources made off the main thread are listed here too, so the
// main thread can make their GL objects a few at a time before the first draw needs them all at once; so
// are those made on the main thread while its makes are deferred.
// Guarded by its own mutex.
#pragma once

#include <cstddef>
#include <functional>
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
    // Whether a resource made on this thread becomes a GL object at once: on the main thread, unless
    // its makes are deferred. A deferred make waits as one from another thread does.
    bool MakesAtOnce() const { return IsMainThread() && !myAreMainMakesDeferred; }
    // Main thread.
    void SetMainMakesDeferred(bool aIsDeferred) { myAreMainMakesDeferred = aIsDeferred; }
    bool IsAlive() const;

    // Deletes at once on the main thread, otherwise queues the delete for the main thread.
    void ReleaseGlObject(GlObjectKind aKind, unsigned int aName);
    // Main thread: deletes every queued object.
    void DeleteQueuedObjects();
    // The device is going: nothing more is deleted or made.
    void MarkDead();

    // Any thread: aRealise makes a resource's GL object; it must do nothing once the resource is gone.
    void DeferRealise(std::function<void()> aRealise);
    // Main thread: runs up to aMaxCount of the deferred makes, oldest first; how many ran.
    std::size_t RealiseDeferred(std::size_t aMaxCount);
    std::size_t GetDeferredCount() const;

private:
    struct Queued
    {
        GlObjectKind kind;
        unsigned int name;
    };

    const std::thread::id myMainThread;
    mutable std::mutex myMutex;
    std::vector<Queued> myQueue;
    std::vector<std::function<void()>> myDeferred;
    std::size_t myDeferredNext = 0;
    bool myIsAlive = true;
    // Written and read on the main thread only.
    bool myAreMainMakesDeferred = false;
};

using DeviceCorePtr = std::shared_ptr<DeviceCore>;
} // namespace Platform::Gfx
