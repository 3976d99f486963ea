#include "Platform/Gfx/Buffer.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace Platform::Gfx
{
Buffer::Buffer(DeviceCorePtr aCore, const BufferDesc& aDesc, std::vector<std::uint8_t> someData)
    : myCore(std::move(aCore)), myDesc(aDesc), myData(std::move(someData))
{
}

Buffer::~Buffer()
{
    myCore->ReleaseGlObject(GlObjectKind::Buffer, myName);
}

unsigned int Buffer::Realise()
{
    if (myName != 0 || !myCore->IsMainThread())
    {
        return myName;
    }
    GLuint name = 0;
    glCreateBuffers(1, &name);
    const GLbitfield flags = IsDynamic() ? GL_DYNAMIC_STORAGE_BIT : 0;
    glNamedBufferStorage(name, myDesc.byteWidth, myData.empty() ? nullptr : myData.data(), flags);
    if (IsDynamic())
    {
        myData.resize(myDesc.byteWidth);
    }
    else
    {
        myData.clear();
        myData.shrink_to_fit();
    }
    myName = name;
    return myName;
}

void* Buffer::MapDiscard()
{
    if (!IsDynamic() || myIsMapped || Realise() == 0)
    {
        return nullptr;
    }
    myIsMapped = true;
    return myData.data();
}

void Buffer::Unmap(std::uint32_t aWrittenBytes)
{
    if (!myIsMapped || !myCore->IsMainThread())
    {
        return;
    }
    myIsMapped = false;
    const std::uint32_t bytes = std::min(aWrittenBytes, myDesc.byteWidth);
    if (bytes == 0)
    {
        return;
    }
    // Orphaning the old storage first lets draws that still read it finish without a stall.
    glInvalidateBufferData(myName);
    glNamedBufferSubData(myName, 0, bytes, myData.data());
}
} // namespace Platform::Gfx
