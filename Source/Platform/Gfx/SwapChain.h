// The swap chain of one window: a back buffer the layer owns (a colour texture the size of the window's
// drawable area) and the present that shows it, as it is when the frame was drawn straight into the
// window, else by copying the texture to the window. Main thread only.
#pragma once

#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/PendingClears.h"
#include "Platform/Gfx/PresentPacer.h"
#include "Platform/Gfx/Resources.h"
#include "Platform/Gfx/Types.h"
#include "Platform/Gfx/WindowBacking.h"

#include <cstdint>
#include <memory>

namespace Platform
{
class Window;
}

namespace Platform::Gfx
{
struct SwapChainDesc
{
    Window* window = nullptr;
    Format format = Format::B8G8R8A8_UNORM;
    std::uint32_t bufferCount = 1;
};

class SwapChain
{
public:
    SwapChain(DeviceCorePtr aCore, PendingClearsPtr aClears, WindowBackingPtr aBacking,
              const SwapChainDesc& aDesc);
    ~SwapChain();
    SwapChain(const SwapChain&) = delete;
    SwapChain& operator=(const SwapChain&) = delete;

    // Buffer 0 is the only buffer; null for any other index or while the chain has no buffer.
    Texture2DPtr GetBuffer(std::uint32_t aIndex) const;
    // Shows the back buffer in the window; interval 1 waits for the display's refresh,
    // 0 does not. Nothing is shown while there is no back buffer.
    void Present(std::uint32_t aSyncInterval);
    // A new back buffer of the given size, or of the window's drawable size when both are 0; Unknown
    // keeps the format. False, and no back buffer, when the size has a zero side or creation fails.
    bool ResizeBuffers(std::uint32_t aWidth, std::uint32_t aHeight, Format aFormat);

    // Full screen on the window's display at the desktop's mode, or back to a window.
    void SetFullscreenState(bool aIsFullscreen);
    bool IsFullscreen() const { return myIsFullscreen; }

    std::uint32_t GetPresentCount() const { return myPresentCount; }
    int GetSwapInterval() const { return mySwapInterval; }
    Window* GetWindow() const { return myDesc.window; }

private:
    // With vsync asked for, waits out what is left of the refresh period after a present that
    // returned at once.
    void PaceToRefresh();
    // Drawing into the window: the frame is sent to be drawn, and the one before it is waited for, so
    // at most one frame is drawn behind the next one's commands.
    void LimitFramesInFlight();

    DeviceCorePtr myCore;
    PendingClearsPtr myClears;
    WindowBackingPtr myBacking;
    SwapChainDesc myDesc;
    Texture2DPtr myBuffer;
    unsigned int myReadFramebuffer = 0;
    void* myFrameFence = nullptr;
    int mySwapInterval = -1;
    PresentPacer myPacer;
    std::uint32_t myPresentCount = 0;
    bool myIsFullscreen = false;
    // The window's size before it went full screen, given back on leaving, since without a window
    // manager nothing else restores it.
    int myWindowedWidth = 0;
    int myWindowedHeight = 0;
};

using SwapChainPtr = std::shared_ptr<SwapChain>;
} // namespace Platform::Gfx
