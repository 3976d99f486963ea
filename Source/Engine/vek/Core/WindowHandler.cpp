#include "vek/Core/WindowHandler.h"

#include "Platform/Window/MessagePump.h"
#include "vek/Core/Engine.h"

#include <algorithm>
#include <cstdio>

namespace Qel
{
WindowHandler::~WindowHandler()
{
    DestroyWindow();
    myCallback = nullptr;
}

bool WindowHandler::Create(const EngineCreateParameters& aParameters, void*& aInstanceHandle,
                           WindowHandle*& aWindowHandle)
{
    myCallback = aParameters.windowProcedure;
    aInstanceHandle = nullptr;
    if (aWindowHandle != nullptr)
    {
        myLastError = "a host window cannot be adopted; the engine opens its own window";
        std::printf("[WindowHandler] %s\n", myLastError.c_str());
        return false;
    }
    Platform::WindowDesc desc;
    desc.title = aParameters.title;
    desc.width = static_cast<int>(aParameters.windowSize.x);
    desc.height = static_cast<int>(aParameters.windowSize.y);
    desc.popup = aParameters.borderless || aParameters.startInFullscreen;
    desc.maximised = aParameters.startInFullscreen || aParameters.startMaximized;
    myWindow = Platform::Window::Create(desc, myLastError);
    if (myWindow == nullptr)
    {
        std::printf("[WindowHandler] could not create the window: %s\n", myLastError.c_str());
        return false;
    }
    myHandle = myWindow.get();
    myWindow->SetProcedure([this](Platform::Window& aWindow, std::uint32_t aMessage, std::uintptr_t aWParam,
                                  std::intptr_t aLParam)
                           { return WndProc(&aWindow, aMessage, aWParam, aLParam); });
    aWindowHandle = &myHandle;
    myOuterSize = aParameters.windowSize;
    // Showing a window reports its size once, so the first frame always fits the targets to it.
    Platform::PostMessage(myWindow.get(), WM_SIZE, SIZE_RESTORED, 0);
    return true;
}

void WindowHandler::SetResolution(std::uint32_t aWidth, std::uint32_t aHeight)
{
    if (myWindow != nullptr)
    {
        myWindow->SetSize(static_cast<int>(aWidth), static_cast<int>(aHeight));
    }
}

void WindowHandler::DestroyWindow()
{
    if (myWindow != nullptr)
    {
        myWindow->SetProcedure(nullptr);
        myWindow.reset();
    }
    myHandle = nullptr;
}

Vector2<std::uint32_t> WindowHandler::GetWindowSize() const
{
    if (myWindow == nullptr)
    {
        return {0, 0};
    }
    const Platform::WindowSize size = myWindow->GetClientSize();
    return {static_cast<std::uint32_t>(std::max(size.width, 0)),
            static_cast<std::uint32_t>(std::max(size.height, 0))};
}

LResult WindowHandler::WndProc(WindowHandle aWindow, std::uint32_t aMessage, WParam aWParam, LParam aLParam)
{
    if (myCallback && myCallback(aWindow, aMessage, aWParam, aLParam) != 0)
    {
        return DefWindowProc(aWindow, aMessage, aWParam, aLParam);
    }
    if (aMessage == WM_DESTROY)
    {
        Platform::PostQuitMessage(0);
        return 0;
    }
    if (aMessage == WM_SIZE)
    {
        if (Engine* engine = Engine::GetInstance())
        {
            engine->SetResizePending();
        }
    }
    return DefWindowProc(aWindow, aMessage, aWParam, aLParam);
}

Platform::Window* GetPlatformWindow(WindowHandle aWindow)
{
    return static_cast<Platform::Window*>(aWindow);
}

LResult DefWindowProc(WindowHandle aWindow, std::uint32_t aMessage, WParam aWParam, LParam aLParam)
{
    Platform::Window* window = GetPlatformWindow(aWindow);
    return window != nullptr ? Platform::DefWindowProc(*window, aMessage, aWParam, aLParam) : 0;
}
} // namespace Qel
