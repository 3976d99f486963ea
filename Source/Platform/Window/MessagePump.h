// The message queue of the main thread, Win32 style: SDL's events become window messages with
// virtual-key codes, queued per window and taken one at a time. A posted quit becomes one WM_QUIT in
// the queue; a quit signal (SIGINT, SIGTERM) and SDL's own quit event become WM_CLOSE to every window,
// the same road a window's close button takes. Mouse and text events are not delivered. Main thread only.
#pragma once

#include "Platform/Window/WindowMessages.h"

#include <SDL_events.h>
#include <cstdint>
#include <vector>

namespace Platform
{
class Window;

struct QueuedMessage
{
    // Null for WM_QUIT, which belongs to the thread rather than a window.
    Window* window = nullptr;
    Qel::WindowMessage message;
};

// Takes the next message, first reading what SDL has pending; false when there is none.
bool PeekMessage(QueuedMessage& aMessage);
// Hands a message to its window's procedure and returns the procedure's result.
std::intptr_t DispatchMessage(const QueuedMessage& aMessage);
// Queues a message behind those already waiting.
void PostMessage(Window* aWindow, std::uint32_t aMessage, Qel::WParam aWParam, Qel::LParam aLParam);
// Queues WM_QUIT unless one is already waiting.
void PostQuitMessage(int aExitCode);
// Drops every waiting message (used when the windows they address go away).
void DiscardMessages(const Window* aWindow);

// What a window does with a message nobody handled: WM_CLOSE destroys the window, which sends it
// WM_DESTROY once. Everything else gives 0.
std::intptr_t DefWindowProc(Window& aWindow, std::uint32_t aMessage, Qel::WParam aWParam,
                            Qel::LParam aLParam);

// The virtual-key code of an SDL key, or 0 for a key the game has no code for.
std::uint32_t GetVirtualKey(SDL_Keycode aKey);
// The messages one SDL event gives (none for events the game does not take).
std::vector<QueuedMessage> TranslateEvent(const SDL_Event& aEvent);
} // namespace Platform
