#include "Platform/Window/MessagePump.h"

#include "Platform/Window/QuitSignals.h"
#include "Platform/Window/Window.h"

#include <SDL.h>
#include <algorithm>
#include <deque>

namespace Platform
{
namespace
{
std::deque<QueuedMessage>& GetQueue()
{
    static std::deque<QueuedMessage> theQueue;
    return theQueue;
}

Qel::LParam PackSize(int aWidth, int aHeight)
{
    return static_cast<Qel::LParam>((static_cast<std::uint32_t>(aHeight) & 0xFFFF) << 16 |
                                    (static_cast<std::uint32_t>(aWidth) & 0xFFFF));
}

void CloseEveryWindow()
{
    bool anyWindow = false;
    Window::ForEach(
        [&](Window& aWindow)
        {
            anyWindow = true;
            PostMessage(&aWindow, WM_CLOSE, 0, 0);
        });
    if (!anyWindow)
    {
        PostQuitMessage(0);
    }
}

// The window a keyboard event belongs to: its own, else the first live one.
Window* FindKeyboardWindow(std::uint32_t aWindowId)
{
    if (Window* window = Window::FindById(aWindowId))
    {
        return window;
    }
    Window* first = nullptr;
    Window::ForEach(
        [&](Window& aWindow)
        {
            if (first == nullptr)
            {
                first = &aWindow;
            }
        });
    return first;
}

void TranslateWindowEvent(const SDL_WindowEvent& aEvent, std::vector<QueuedMessage>& someMessages)
{
    Window* window = Window::FindById(aEvent.windowID);
    if (window == nullptr)
    {
        return;
    }
    auto add = [&](std::uint32_t aMessage, Qel::WParam aWParam, Qel::LParam aLParam)
    {
        someMessages.push_back({window, {aMessage, aWParam, aLParam}});
    };
    switch (aEvent.event)
    {
    case SDL_WINDOWEVENT_CLOSE:
        add(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    {
        const bool maximised = (SDL_GetWindowFlags(window->GetSdlWindow()) & SDL_WINDOW_MAXIMIZED) != 0;
        add(WM_SIZE, maximised ? SIZE_MAXIMIZED : SIZE_RESTORED, PackSize(aEvent.data1, aEvent.data2));
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        add(WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    {
        const WindowSize size = window->GetClientSize();
        add(WM_SIZE, SIZE_RESTORED, PackSize(size.width, size.height));
        break;
    }
    case SDL_WINDOWEVENT_FOCUS_LOST:
        add(WM_ACTIVATE, WA_INACTIVE, 0);
        add(WM_KILLFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        add(WM_ACTIVATE, WA_ACTIVE, 0);
        add(WM_SETFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        add(WM_PAINT, 0, 0);
        break;
    default:
        break;
    }
}

void TranslateKeyEvent(const SDL_KeyboardEvent& aEvent, std::vector<QueuedMessage>& someMessages)
{
    const std::uint32_t key = GetVirtualKey(aEvent.keysym.sym);
    Window* window = FindKeyboardWindow(aEvent.windowID);
    if (key == 0 || window == nullptr)
    {
        return;
    }
    const bool isDown = aEvent.type == SDL_KEYDOWN;
    // Keys pressed with Alt, Alt itself and F10 are the "system" variants.
    const bool isSystem = (aEvent.keysym.mod & KMOD_ALT) != 0 || key == VK_MENU || key == VK_F10;
    std::uint32_t message = isDown ? WM_KEYDOWN : WM_KEYUP;
    if (isSystem)
    {
        message = isDown ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    // Repeat count 1, the scan code, bit 30 for "was down before", bit 31 for a release.
    std::uint32_t flags = 1u | (static_cast<std::uint32_t>(aEvent.keysym.scancode) & 0xFF) << 16;
    if (!isDown || aEvent.repeat != 0)
    {
        flags |= 1u << 30;
    }
    if (!isDown)
    {
        flags |= 1u << 31;
    }
    someMessages.push_back({window, {message, key, static_cast<Qel::LParam>(flags)}});
}

void ReadSdlEvents()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
    {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
    {
        for (const QueuedMessage& message : TranslateEvent(event))
        {
            GetQueue().push_back(message);
        }
    }
}
} // namespace

std::vector<QueuedMessage> TranslateEvent(const SDL_Event& aEvent)
{
    std::vector<QueuedMessage> messages;
    switch (aEvent.type)
    {
    case SDL_QUIT:
        Window::ForEach([&](Window& aWindow) { messages.push_back({&aWindow, {WM_CLOSE, 0, 0}}); });
        if (messages.empty())
        {
            messages.push_back({nullptr, {WM_QUIT, 0, 0}});
        }
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(aEvent.window, messages);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKeyEvent(aEvent.key, messages);
        break;
    default:
        break;
    }
    return messages;
}

bool PeekMessage(QueuedMessage& aMessage)
{
    if (TakeQuitSignal())
    {
        CloseEveryWindow();
    }
    ReadSdlEvents();
    std::deque<QueuedMessage>& queue = GetQueue();
    if (queue.empty())
    {
        return false;
    }
    aMessage = queue.front();
    queue.pop_front();
    return true;
}

std::intptr_t DispatchMessage(const QueuedMessage& aMessage)
{
    if (aMessage.window == nullptr)
    {
        return 0;
    }
    return aMessage.window->Send(aMessage.message.message, aMessage.message.wParam, aMessage.message.lParam);
}

void PostMessage(Window* aWindow, std::uint32_t aMessage, Qel::WParam aWParam, Qel::LParam aLParam)
{
    GetQueue().push_back({aWindow, {aMessage, aWParam, aLParam}});
}

void PostQuitMessage(int aExitCode)
{
    std::deque<QueuedMessage>& queue = GetQueue();
    const bool alreadyQueued =
        std::any_of(queue.begin(), queue.end(),
                    [](const QueuedMessage& aQueued) { return aQueued.message.message == WM_QUIT; });
    if (!alreadyQueued)
    {
        queue.push_back({nullptr, {WM_QUIT, static_cast<Qel::WParam>(aExitCode), 0}});
    }
}

void DiscardMessages(const Window* aWindow)
{
    std::deque<QueuedMessage>& queue = GetQueue();
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [&](const QueuedMessage& aQueued) { return aQueued.window == aWindow; }),
                queue.end());
}

std::intptr_t DefWindowProc(Window& aWindow, std::uint32_t aMessage, Qel::WParam aWParam, Qel::LParam aLParam)
{
    static_cast<void>(aWParam);
    static_cast<void>(aLParam);
    if (aMessage == WM_CLOSE && !aWindow.IsDestroyed())
    {
        aWindow.Send(WM_DESTROY, 0, 0);
        aWindow.MarkDestroyed();
    }
    return 0;
}
} // namespace Platform
