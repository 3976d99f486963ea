// Vertex, index and constant buffers. Immutable and default buffers are filled once at creation; dynamic
// buffers are rewritten whole through a discard map: the map hands out a CPU copy and the unmap sends
// it, so nothing is ever read back from the GPU. Made on any thread (off the main thread the data waits
// on the CPU and the GL buffer is made at first use); Map, Unmap and Realise belong to the main thread.
#pragma once

#include "Platform/Gfx/DeviceCore.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Platform::Gfx
{
enum class Usage
{
    Default,
    Immutable,
    Dynamic,
};

enum CpuAccessFlags : std::uint32_t
{
    CPU_ACCESS_WRITE = 0x10000,
};

struct BufferDesc
{
    std::uint32_t byteWidth = 0;
    Usage usage = Usage::Default;
    // BIND_VERTEX_BUFFER, BIND_INDEX_BUFFER or BIND_CONSTANT_BUFFER.
    std::uint32_t bindFlags = 0;
    std::uint32_t cpuAccessFlags = 0;
};

class Buffer
{
public:
    Buffer(DeviceCorePtr aCore, const BufferDesc& aDesc, std::vector<std::uint8_t> someData);
    ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    const BufferDesc& GetDesc() const { return myDesc; }
    bool IsDynamic() const
    {
        return myDesc.usage == Usage::Dynamic && (myDesc.cpuAccessFlags & CPU_ACCESS_WRITE);
    }
    // Main thread: the GL buffer, made on first use; 0 on failure.
    unsigned int Realise();
    bool IsFromLiveDevice() const { return myCore->IsAlive(); }

    // Main thread, dynamic buffers only: byteWidth writable bytes whose old contents are undefined, or
    // null. The written bytes reach the GPU at Unmap: the first aWrittenBytes of them, all by default.
    void* MapDiscard();
    void Unmap(std::uint32_t aWrittenBytes = UINT32_MAX);
    bool IsMapped() const { return myIsMapped; }

private:
    DeviceCorePtr myCore;
    BufferDesc myDesc;
    // The initial data until the upload; for dynamic buffers also the staging copy of a map.
    std::vector<std::uint8_t> myData;
    unsigned int myName = 0;
    bool myIsMapped = false;
};

using BufferPtr = std::shared_ptr<Buffer>;
} // namespace Platform::Gfx
