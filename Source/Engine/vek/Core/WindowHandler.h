// The game window and its window procedure. The procedure offers every message to the create
// parameters' callback (the game's hook) first; a non-zero result leaves the message to default
// processing alone. Otherwise it posts the quit message when the window is destroyed and marks the
// engine's swap chain for a resize when the window changes size. Owned by the engine; main thread only.
#pragma once

#include "Platform/Window/Window.h"
#include "Platform/Window/WindowMessages.h"
#include "vek/Math/Vector2.h"
#include "vek/settings/EngineCreateParameters.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Qel
{
class WindowHandler
{
public:
    WindowHandler() = default;
    // Detaches the procedure and destroys the window, so no message reaches a handler that is gone.
    ~WindowHandler();
    WindowHandler(const WindowHandler&) = delete;
    WindowHandler& operator=(const WindowHandler&) = delete;

    // Opens the window: a popup at (0, 0) when borderless or full screen, else a framed window whose
    // client area has the requested size; shown maximised when full screen or maximised. Points
    // aWindowHandle at this handler's handle. False, with the reason on standard output, when the window
    // cannot be created or a host window is offered (this program always opens its own).
    bool Create(const EngineCreateParameters& aParameters, void*& aInstanceHandle,
                WindowHandle*& aWindowHandle);
    void SetResolution(std::uint32_t aWidth, std::uint32_t aHeight);
    void DestroyWindow();

    LResult WndProc(WindowHandle aWindow, std::uint32_t aMessage, WParam aWParam, LParam aLParam);

    // The first member, so a pointer to the handler reads as a pointer to the handle.
    WindowHandle GetHandle() const { return myHandle; }
    Platform::Window* GetWindow() const { return myWindow.get(); }
    Vector2<std::uint32_t> GetWindowSize() const;
    const std::string& GetLastError() const { return myLastError; }

private:
    WindowHandle myHandle = nullptr;
    WindowProcedure myCallback;
    Vector2<std::uint32_t> myOuterSize;
    std::unique_ptr<Platform::Window> myWindow;
    std::string myLastError;
};

// Default processing for a message the hook does not handle: a close destroys the window (which then
// receives WM_DESTROY once); everything else gives 0.
LResult DefWindowProc(WindowHandle aWindow, std::uint32_t aMessage, WParam aWParam, LParam aLParam);
// The platform window behind a handle; null for a null handle.
Platform::Window* GetPlatformWindow(WindowHandle aWindow);
} // namespace Qel
