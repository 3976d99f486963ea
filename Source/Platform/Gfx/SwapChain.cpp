#include "Platform/Gfx/SwapChain.h"

#include "Platform/Window/Window.h"

#include <SDL.h>
#include <algorithm>
#include <epoxy/gl.h>
#include <thread>

namespace Platform::Gfx
{
SwapChain::SwapChain(DeviceCorePtr aCore, PendingClearsPtr aClears, WindowBackingPtr aBacking,
                     const SwapChainDesc& aDesc)
    : myCore(std::move(aCore)), myClears(std::move(aClears)), myBacking(std::move(aBacking)), myDesc(aDesc)
{
    glCreateFramebuffers(1, &myReadFramebuffer);
    ResizeBuffers(0, 0, myDesc.format);
}

SwapChain::~SwapChain()
{
    if (myFrameFence != nullptr && myCore->IsAlive())
    {
        glDeleteSync(static_cast<GLsync>(myFrameFence));
    }
    myBuffer.reset();
    myCore->ReleaseGlObject(GlObjectKind::Framebuffer, myReadFramebuffer);
}

Texture2DPtr SwapChain::GetBuffer(std::uint32_t aIndex) const
{
    return aIndex == 0 ? myBuffer : nullptr;
}

void SwapChain::Present(std::uint32_t aSyncInterval)
{
    if (!myCore->IsMainThread() || myBuffer == nullptr || myDesc.window == nullptr)
    {
        return;
    }
    const int interval = aSyncInterval > 0 ? 1 : 0;
    if (interval != mySwapInterval)
    {
        // Drivers without control over the interval keep their own; the present still happens.
        SDL_GL_SetSwapInterval(interval);
        mySwapInterval = interval;
        myPacer.Reset();
    }
    const Texture2DDesc& desc = myBuffer->GetDesc();
    const WindowSize target = myDesc.window->GetDrawableSize();
    // A frame drawn straight into the window is shown as it is; else the buffer is copied there.
    const bool isInWindow = myBacking->IsBufferInWindow();
    if (isInWindow || (target.width > 0 && target.height > 0))
    {
        myClears->Settle(myBuffer.get());
        GLint drawFramebuffer = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
        if (!isInWindow)
        {
            // A raw copy: the buffer already holds encoded sRGB bytes. The software rasteriser draws
            // every framebuffer blit, even between buffers of one format and byte order, so storing the
            // buffer in the window's order or encoding would not make this a memory copy.
            glNamedFramebufferTexture(myReadFramebuffer, GL_COLOR_ATTACHMENT0, myBuffer->Realise(), 0);
            glNamedFramebufferReadBuffer(myReadFramebuffer, GL_COLOR_ATTACHMENT0);
            glDisable(GL_FRAMEBUFFER_SRGB);
            glBlitNamedFramebuffer(myReadFramebuffer, 0, 0, 0, static_cast<GLint>(desc.width),
                                   static_cast<GLint>(desc.height), 0, 0, target.width, target.height,
                                   GL_COLOR_BUFFER_BIT, GL_LINEAR);
        }
        else
        {
            LimitFramesInFlight();
        }
        if (interval == 1)
        {
            // The wait comes before the swap, so frames are shown a period apart: waited out after it, a
            // frame that follows a quick one would be shown a period plus its own time after that one.
            // The rasteriser works through the frame meanwhile.
            glFlush();
            PaceToRefresh();
        }
        SDL_GL_SwapWindow(myDesc.window->GetSdlWindow());
        glEnable(GL_FRAMEBUFFER_SRGB);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
    }
    myClears->DropUnreachable();
    myCore->DeleteQueuedObjects();
    ++myPresentCount;
}

void SwapChain::LimitFramesInFlight()
{
    // A surface that is never shown (the offscreen driver's) swaps as a no-op that neither sends the
    // frame to be drawn nor waits for it, so without this the frames would queue without end; the copy
    // into the window waits for its frame by itself.
    if (myFrameFence != nullptr)
    {
        constexpr GLuint64 ONE_SECOND = 1000000000;
        glClientWaitSync(static_cast<GLsync>(myFrameFence), GL_SYNC_FLUSH_COMMANDS_BIT, ONE_SECOND);
        glDeleteSync(static_cast<GLsync>(myFrameFence));
    }
    myFrameFence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glFlush();
}

void SwapChain::PaceToRefresh()
{
    SDL_DisplayMode mode{};
    const int refreshRate =
        SDL_GetWindowDisplayMode(myDesc.window->GetSdlWindow(), &mode) == 0 ? mode.refresh_rate : 0;
    const PresentPacer::Clock::time_point now = PresentPacer::Clock::now();
    const PresentPacer::Clock::time_point until =
        myPacer.OnPresent(now, PresentPacer::PeriodOfRefreshRate(refreshRate));
    if (until > now)
    {
        std::this_thread::sleep_until(until);
    }
}

void SwapChain::SetFullscreenState(bool aIsFullscreen)
{
    if (!myCore->IsMainThread() || myDesc.window == nullptr)
    {
        return;
    }
    SDL_Window* window = myDesc.window->GetSdlWindow();
    if (aIsFullscreen && !myIsFullscreen)
    {
        SDL_GetWindowSize(window, &myWindowedWidth, &myWindowedHeight);
    }
    if (SDL_SetWindowFullscreen(window, aIsFullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
    {
        return;
    }
    if (!aIsFullscreen && myIsFullscreen && myWindowedWidth > 0 && myWindowedHeight > 0)
    {
        SDL_SetWindowSize(window, myWindowedWidth, myWindowedHeight);
    }
    myIsFullscreen = aIsFullscreen;
}

bool SwapChain::ResizeBuffers(std::uint32_t aWidth, std::uint32_t aHeight, Format aFormat)
{
    if (!myCore->IsMainThread())
    {
        return false;
    }
    myBuffer.reset();
    myBacking->SetBuffer(nullptr, nullptr);
    if (aFormat != Format::Unknown)
    {
        myDesc.format = aFormat;
    }
    if (aWidth == 0 && aHeight == 0 && myDesc.window != nullptr)
    {
        const WindowSize drawable = myDesc.window->GetDrawableSize();
        aWidth = static_cast<std::uint32_t>(std::max(drawable.width, 0));
        aHeight = static_cast<std::uint32_t>(std::max(drawable.height, 0));
    }
    if (aWidth == 0 || aHeight == 0)
    {
        return false;
    }
    Texture2DDesc desc;
    desc.width = aWidth;
    desc.height = aHeight;
    desc.format = myDesc.format;
    desc.bindFlags = BIND_RENDER_TARGET | BIND_SHADER_RESOURCE;
    auto buffer = std::make_shared<Texture2D>(myCore, desc, std::vector<std::vector<std::uint8_t>>{});
    if (buffer->Realise() == 0)
    {
        return false;
    }
    myBuffer = std::move(buffer);
    myBacking->SetBuffer(myDesc.window, myBuffer);
    // A new buffer reads as zeros. Asked as a clear, its first draw into the window clears the window
    // instead of copying the never-drawn texture there (a blit the software rasteriser compiles first).
    const float zeros[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    myClears->AddColor(std::make_shared<RenderTargetView>(myCore, myBuffer, myDesc.format), zeros);
    return true;
}
} // namespace Platform::Gfx
