#include "Platform/Gfx/DeviceCore.h"

#include <epoxy/gl.h>

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
}
} // namespace Platform::Gfx
