#include "Platform/Gfx/Factory.h"

#include "Platform/Window/Window.h"

#include <SDL.h>
#include <epoxy/gl.h>

namespace Platform::Gfx
{
std::vector<AdapterDesc> EnumerateAdapters()
{
    return {AdapterDesc{"OpenGL 4.5 core default device", 0}};
}

bool CreateDeviceAndSwapChain(const AdapterDesc& aAdapter, const SwapChainDesc& aDesc,
                              DeviceObjects& aObjects, std::string& aError)
{
    static_cast<void>(aAdapter);
    aObjects = {};
    if (aDesc.window == nullptr || aDesc.bufferCount != 1)
    {
        aError = "a swap chain needs a window and exactly one buffer";
        return false;
    }
    SDL_Window* window = aDesc.window->GetSdlWindow();
    SDL_GLContext glContext = SDL_GL_CreateContext(window);
    if (glContext == nullptr)
    {
        aError = std::string("SDL_GL_CreateContext failed: ") + SDL_GetError();
        return false;
    }
    if (SDL_GL_MakeCurrent(window, glContext) != 0 || epoxy_gl_version() < 45 || epoxy_is_desktop_gl() == 0)
    {
        aError = "OpenGL 4.5 core is not available";
        SDL_GL_DeleteContext(glContext);
        return false;
    }
    // The engine's projections produce depth 0..1, and its back buffer is written through sRGB views.
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glEnable(GL_FRAMEBUFFER_SRGB);

    auto core = std::make_shared<DeviceCore>();
    aObjects.device = std::make_shared<Device>(core, glContext);
    auto clears = std::make_shared<PendingClears>(core);
    auto backing = std::make_shared<WindowBacking>(core, clears);
    aObjects.context = std::make_shared<Context>(core, clears, backing);
    aObjects.swapChain = std::make_shared<SwapChain>(core, clears, backing, aDesc);
    if (aObjects.swapChain->GetBuffer(0) == nullptr)
    {
        aError = "the window's drawable area has no size";
        aObjects = {};
        return false;
    }
    return true;
}

std::string GetRendererName()
{
    if (SDL_GL_GetCurrentContext() == nullptr)
    {
        return {};
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer != nullptr ? renderer : "";
}
} // namespace Platform::Gfx
