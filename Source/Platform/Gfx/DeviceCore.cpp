#include "Platform/Gfx/DeviceCore.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <iterator>

namespace Platform::Gfx
{
namespace
{
void DeleteNow(GlObjectKind aKind, GLuint aName)
{
    switch (aKind)
    {
    case GlObjectKind::Texture:
        glDeleteTextures(1, &aName);
        break;
    case GlObjectKind::Shader:
        glDeleteShader(aName);
        break;
    case GlObjectKind::Framebuffer:
        glDeleteFramebuffers(1, &aName);
        break;
    case GlObjectKind::Buffer:
        glDeleteBuffers(1, &aName);
        break;
    case GlObjectKind::Sampler:
        glDeleteSamplers(1, &aName);
        break;
    case GlObjectKind::VertexArray:
        glDeleteVertexArrays(1, &aName);
        break;
    case GlObjectKind::Program:
        glDeleteProgram(aName);
        break;
    case GlObjectKind::ProgramPipeline:
        glDeleteProgramPipelines(1, &aName);
        break;
    case GlObjectKind::Query:
        glDeleteQueries(1, &aName);
        break;
    }
}
} // namespace

DeviceCore::DeviceCore() : myMainThread(std::this_thread::get_id())
{
}

bool DeviceCore::IsAlive() const
{
    std::lock_guard lock(myMutex);
    return myIsAlive;
}

void DeviceCore::ReleaseGlObject(GlObjectKind aKind, unsigned int aName)
{
    if (aName == 0)
    {
        return;
    }
    std::lock_guard lock(myMutex);
    if (!myIsAlive)
    {
        return;
    }
    if (IsMainThread())
    {
        DeleteNow(aKind, aName);
        return;
    }
    myQueue.push_back({aKind, aName});
}

void DeviceCore::DeleteQueuedObjects()
{
    std::vector<Queued> queue;
    {
        std::lock_guard lock(myMutex);
        if (!myIsAlive || !IsMainThread())
        {
            return;
        }
        queue.swap(myQueue);
    }
    for (const Queued& object : queue)
    {
        DeleteNow(object.kind, object.name);
    }
}

void DeviceCore::MarkDead()
{
    std::lock_guard lock(myMutex);
    myIsAlive = false;
    myQueue.clear();
    myDeferred.clear();
    myDeferredNext = 0;
}

void DeviceCore::DeferRealise(std::function<void()> aRealise)
{
    std::lock_guard lock(myMutex);
    if (myIsAlive)
    {
        myDeferred.push_back(std::move(aRealise));
    }
}

std::size_t DeviceCore::RealiseDeferred(std::size_t aMaxCount)
{
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard lock(myMutex);
        if (!myIsAlive || !IsMainThread())
        {
            return 0;
        }
        const std::size_t count = std::min(aMaxCount, myDeferred.size() - myDeferredNext);
        const auto first = myDeferred.begin() + static_cast<std::ptrdiff_t>(myDeferredNext);
        batch.assign(std::make_move_iterator(first),
                     std::make_move_iterator(first + static_cast<std::ptrdiff_t>(count)));
        myDeferredNext += count;
        if (myDeferredNext == myDeferred.size())
        {
            myDeferred.clear();
            myDeferredNext = 0;
        }
    }
    // Outside the lock: a make may drop resources, whose deletes take the lock.
    for (const std::function<void()>& realise : batch)
    {
        realise();
    }
    return batch.size();
}

std::size_t DeviceCore::GetDeferredCount() const
{
    std::lock_guard lock(myMutex);
    return myDeferred.size() - myDeferredNext;
}
} // namespace Platform::Gfx
