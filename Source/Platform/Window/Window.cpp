#include "Platform/Window/Window.h"

#include "Platform/Window/IconFile.h"
#include "Platform/Window/MessagePump.h"

#include <SDL.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

namespace Platform
{
namespace
{
// Live windows, for the pump's dispatch by id. Main thread only.
std::vector<Window*>& GetLiveWindows()
{
    static std::vector<Window*> theWindows;
    return theWindows;
}

void SetSurfaceAttributes(int aDepthBits)
{
    // The graphics layer draws the frame straight into this surface where it can, so the surface stores
    // what its targets would: sRGB-encoded colour and a depth plane (the layer checks what it got). Alpha
    // only off screen, where read-backs see the back buffer's alpha: on a display a compositor would show
    // the desktop through a window whose pixels keep the frame's alpha.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool isOffscreen = driver != nullptr && std::string_view(driver) == "offscreen";
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, isOffscreen ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, aDepthBits);
    SDL_GL_SetAttribute(SDL_GL_FRAMEBUFFER_SRGB_CAPABLE, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}
} // namespace

std::unique_ptr<Window> Window::Create(const WindowDesc& aDesc, std::string& aError)
{
    std::unique_ptr<Window> window(new Window());
    if (!window->myVideo.IsReady())
    {
        aError = "video subsystem unavailable: " + window->myVideo.GetError();
        return nullptr;
    }
    if (aDesc.width <= 0 || aDesc.height <= 0)
    {
        aError = "window size " + std::to_string(aDesc.width) + "x" + std::to_string(aDesc.height) +
                 " is not positive";
        return nullptr;
    }
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= aDesc.popup ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE;
    const int position = aDesc.popup ? 0 : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
    // The depth the layer's depth buffers have; a driver without it still gets a window, whose frames
    // the layer then copies in.
    for (const int depthBits : {32, 24})
    {
        SetSurfaceAttributes(depthBits);
        window->myWindow =
            SDL_CreateWindow(aDesc.title.c_str(), position, position, aDesc.width, aDesc.height, flags);
        if (window->myWindow != nullptr)
        {
            break;
        }
    }
    if (window->myWindow == nullptr)
    {
        aError = std::string("SDL_CreateWindow failed: ") + SDL_GetError();
        return nullptr;
    }
    window->myId = SDL_GetWindowID(window->myWindow);
    window->myIsPopup = aDesc.popup;
    SDL_ShowWindow(window->myWindow);
    if (aDesc.maximised)
    {
        SDL_MaximizeWindow(window->myWindow);
    }
    // Key messages only; no text-input events.
    SDL_StopTextInput();
    GetLiveWindows().push_back(window.get());
    return window;
}

Window::~Window()
{
    auto& windows = GetLiveWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    // Nothing queued may reach a window that is gone.
    DiscardMessages(this);
    myProcedure = nullptr;
    if (myWindow != nullptr)
    {
        SDL_DestroyWindow(myWindow);
    }
}

std::intptr_t Window::Send(std::uint32_t aMessage, std::uintptr_t aWParam, std::intptr_t aLParam)
{
    if (!myProcedure || myIsDestroyed)
    {
        return 0;
    }
    // A copy, so that a procedure that replaces itself finishes on the old one safely.
    const WindowProcedure procedure = myProcedure;
    return procedure(*this, aMessage, aWParam, aLParam);
}

WindowSize Window::GetClientSize() const
{
    WindowSize size;
    SDL_GetWindowSize(myWindow, &size.width, &size.height);
    return size;
}

WindowSize Window::GetDrawableSize() const
{
    WindowSize size;
    SDL_GL_GetDrawableSize(myWindow, &size.width, &size.height);
    return size;
}

void Window::SetSize(int aWidth, int aHeight)
{
    if (aWidth > 0 && aHeight > 0)
    {
        SDL_SetWindowSize(myWindow, aWidth, aHeight);
    }
}

void Window::SetFramed(int aWidth, int aHeight)
{
    SDL_SetWindowBordered(myWindow, SDL_TRUE);
    SDL_SetWindowResizable(myWindow, SDL_TRUE);
    myIsPopup = false;
    SetSize(aWidth, aHeight);
    SDL_SetWindowPosition(myWindow, 0, 0);
    SDL_ShowWindow(myWindow);
}

void Window::SetPopup(int aWidth, int aHeight)
{
    SDL_SetWindowResizable(myWindow, SDL_FALSE);
    SDL_SetWindowBordered(myWindow, SDL_FALSE);
    myIsPopup = true;
    SetSize(aWidth, aHeight);
    SDL_SetWindowPosition(myWindow, 0, 0);
    SDL_ShowWindow(myWindow);
}

void Window::BringToFront()
{
    if ((SDL_GetWindowFlags(myWindow) & SDL_WINDOW_MINIMIZED) != 0)
    {
        SDL_RestoreWindow(myWindow);
    }
    SDL_RaiseWindow(myWindow);
}

bool Window::SetIconFromFile(const std::filesystem::path& aPath)
{
    RgbaImage image = LoadIconFile(aPath);
    if (image.IsEmpty())
    {
        std::ifstream file(aPath, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                              std::istreambuf_iterator<char>()};
        image = DecodeImage(bytes);
    }
    if (image.IsEmpty())
    {
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(image.pixels.data(), image.width, image.height,
                                                              32, image.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
    {
        return false;
    }
    SDL_SetWindowIcon(myWindow, surface);
    SDL_FreeSurface(surface);
    return true;
}

void Window::MarkDestroyed()
{
    if (!myIsDestroyed)
    {
        myIsDestroyed = true;
        SDL_HideWindow(myWindow);
    }
}

Window* Window::FindById(std::uint32_t aId)
{
    for (Window* window : GetLiveWindows())
    {
        if (window->myId == aId)
        {
            return window;
        }
    }
    return nullptr;
}

void Window::ForEach(const std::function<void(Window&)>& aVisit)
{
    // A copy: a visit may create or destroy windows.
    const std::vector<Window*> windows = GetLiveWindows();
    for (Window* window : windows)
    {
        if (!window->myIsDestroyed)
        {
            aVisit(*window);
        }
    }
}

void SetCursorVisible(bool aIsVisible)
{
    SDL_ShowCursor(aIsVisible ? SDL_ENABLE : SDL_DISABLE);
}
} // namespace Platform
