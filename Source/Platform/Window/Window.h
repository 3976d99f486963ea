// One top-level window over SDL2, with an OpenGL-capable surface for the graphics layer. The window
// carries the message procedure that the message pump calls for every message addressed to it, as a
// Win32 window carries its window procedure. Created, used and destroyed on the main thread.
#pragma once

#include "Platform/Window/VideoSubsystem.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

struct SDL_Window;

namespace Platform
{
class Window;

// The message procedure: (window, message, wParam, lParam) -> result, Win32 style.
using WindowProcedure = std::function<std::intptr_t(Window&, std::uint32_t, std::uintptr_t, std::intptr_t)>;

struct WindowDesc
{
    std::string title;
    int width = 1280;
    int height = 720;
    // A popup has no frame and is placed at the screen's top-left corner; otherwise the window is framed
    // and resizable, with a client area of exactly width x height.
    bool popup = false;
    // Shown maximised: a popup then covers the screen.
    bool maximised = false;
};

struct WindowSize
{
    int width = 0;
    int height = 0;
};

class Window
{
public:
    // Null with the reason in aError when SDL cannot open a window.
    static std::unique_ptr<Window> Create(const WindowDesc& aDesc, std::string& aError);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    SDL_Window* GetSdlWindow() const { return myWindow; }
    std::uint32_t GetId() const { return myId; }

    void SetProcedure(WindowProcedure aProcedure) { myProcedure = std::move(aProcedure); }
    // Calls the procedure with a message; 0 when the window has none.
    std::intptr_t Send(std::uint32_t aMessage, std::uintptr_t aWParam, std::intptr_t aLParam);

    WindowSize GetClientSize() const;
    // The pixel size of the GL surface; differs from the client size only on high-density displays.
    WindowSize GetDrawableSize() const;
    // Sets the client area's size; the window keeps its position.
    void SetSize(int aWidth, int aHeight);
    bool IsPopup() const { return myIsPopup; }
    // The game's two window modes, both placed at the screen's top-left: a framed, resizable window with
    // a client of aWidth x aHeight, or a borderless popup of aWidth x aHeight (the screen's size).
    void SetFramed(int aWidth, int aHeight);
    void SetPopup(int aWidth, int aHeight);

    // The window icon from an image file (".ico" or any format the image decoder reads). False, and the
    // icon unchanged, when the file is missing or unreadable.
    bool SetIconFromFile(const std::filesystem::path& aPath);

    // Restores the window when it is minimised, then raises it above the others and gives it the input
    // focus (as far as the window manager allows).
    void BringToFront();

    // Hides the window and marks it destroyed: it gets no more messages. The surface stays valid until
    // the object goes, so a graphics device on it can still be released in order.
    void MarkDestroyed();
    bool IsDestroyed() const { return myIsDestroyed; }

    // The live window with this SDL id, or null.
    static Window* FindById(std::uint32_t aId);
    // Calls aVisit for every live, not destroyed window.
    static void ForEach(const std::function<void(Window&)>& aVisit);

private:
    Window() = default;

    VideoSubsystem myVideo;
    SDL_Window* myWindow = nullptr;
    std::uint32_t myId = 0;
    WindowProcedure myProcedure;
    bool myIsPopup = false;
    bool myIsDestroyed = false;
};

// Shows or hides the mouse cursor over the program's windows.
void SetCursorVisible(bool aIsVisible);
} // namespace Platform
