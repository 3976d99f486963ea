#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"

#include <SDL.h>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Platform::QueuedMessage;

std::unique_ptr<Platform::Window> MakeWindow(const std::string& aTitle = "pump")
{
    std::string error;
    Platform::WindowDesc desc;
    desc.title = aTitle;
    desc.width = 64;
    desc.height = 32;
    auto window = Platform::Window::Create(desc, error);
    EXPECT_NE(window, nullptr) << error;
    return window;
}

std::vector<QueuedMessage> DrainAll()
{
    std::vector<QueuedMessage> messages;
    QueuedMessage message;
    while (Platform::PeekMessage(message))
    {
        messages.push_back(message);
    }
    return messages;
}

std::vector<std::uint32_t> Ids(const std::vector<QueuedMessage>& someMessages)
{
    std::vector<std::uint32_t> ids;
    for (const QueuedMessage& message : someMessages)
    {
        ids.push_back(message.message.message);
    }
    return ids;
}

SDL_Event KeyEvent(std::uint32_t aType, SDL_Keycode aKey, Uint16 aModifiers, std::uint32_t aWindowId,
                   Uint8 aRepeat = 0)
{
    SDL_Event event{};
    event.type = aType;
    event.key.windowID = aWindowId;
    event.key.state = aType == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = aRepeat;
    event.key.keysym.sym = aKey;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(aKey);
    event.key.keysym.mod = aModifiers;
    return event;
}

TEST(KeyCodes, TheKeysTheGameReadsGetTheirVirtualKeyCodes)
{
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_LSHIFT), 16u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_RSHIFT), 16u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_RETURN), 13u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_KP_ENTER), 13u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_ESCAPE), 27u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_SPACE), 32u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_LEFT), 37u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_UP), 38u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_RIGHT), 39u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_DOWN), 40u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_a), 65u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_z), 90u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_0), 48u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_9), 57u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_F1), 112u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_F12), 123u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_LCTRL), 17u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_RALT), 18u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_TAB), 9u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_BACKSPACE), 8u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_KP_0), 0x60u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_KP_9), 0x69u);
    EXPECT_EQ(Platform::GetVirtualKey(SDLK_VOLUMEUP), 0u);
}

TEST(MessagePump, KeyEventsBecomeKeyMessagesWithTheirFlags)
{
    auto window = MakeWindow();
    ASSERT_NE(window, nullptr);
    DrainAll();
    const std::uint32_t id = window->GetId();

    std::vector<QueuedMessage> down = Platform::TranslateEvent(KeyEvent(SDL_KEYDOWN, SDLK_d, KMOD_NONE, id));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].window, window.get());
    EXPECT_EQ(down[0].message.message, WM_KEYDOWN);
    EXPECT_EQ(down[0].message.wParam, VK_D);
    EXPECT_EQ(down[0].message.lParam & 0xFFFF, 1);
    EXPECT_EQ(down[0].message.lParam >> 30 & 1, 0);

    std::vector<QueuedMessage> repeat =
        Platform::TranslateEvent(KeyEvent(SDL_KEYDOWN, SDLK_d, KMOD_NONE, id, 1));
    EXPECT_EQ(repeat[0].message.lParam >> 30 & 1, 1) << "a repeat was down before";

    std::vector<QueuedMessage> up = Platform::TranslateEvent(KeyEvent(SDL_KEYUP, SDLK_d, KMOD_NONE, id));
    EXPECT_EQ(up[0].message.message, WM_KEYUP);
    EXPECT_EQ(up[0].message.lParam >> 31 & 1, 1);

    std::vector<QueuedMessage> withAlt =
        Platform::TranslateEvent(KeyEvent(SDL_KEYDOWN, SDLK_e, KMOD_LALT, id));
    EXPECT_EQ(withAlt[0].message.message, WM_SYSKEYDOWN);
    EXPECT_EQ(Platform::TranslateEvent(KeyEvent(SDL_KEYUP, SDLK_F10, KMOD_NONE, id))[0].message.message,
              WM_SYSKEYUP);

    EXPECT_TRUE(Platform::TranslateEvent(KeyEvent(SDL_KEYDOWN, SDLK_VOLUMEUP, KMOD_NONE, id)).empty());
    // A key event without a window of its own goes to the program's window.
    EXPECT_EQ(Platform::TranslateEvent(KeyEvent(SDL_KEYDOWN, SDLK_a, KMOD_NONE, 0))[0].window, window.get());
}

TEST(MessagePump, WindowEventsBecomeSizeFocusPaintAndCloseMessages)
{
    auto window = MakeWindow();
    ASSERT_NE(window, nullptr);
    DrainAll();
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window->GetId();

    event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    event.window.data1 = 300;
    event.window.data2 = 200;
    std::vector<QueuedMessage> size = Platform::TranslateEvent(event);
    ASSERT_EQ(size.size(), 1u);
    EXPECT_EQ(size[0].message.message, WM_SIZE);
    EXPECT_EQ(size[0].message.lParam & 0xFFFF, 300);
    EXPECT_EQ(size[0].message.lParam >> 16 & 0xFFFF, 200);

    event.window.event = SDL_WINDOWEVENT_MINIMIZED;
    std::vector<QueuedMessage> minimised = Platform::TranslateEvent(event);
    EXPECT_EQ(minimised[0].message.wParam, SIZE_MINIMIZED);
    EXPECT_EQ(minimised[0].message.lParam, 0);

    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    std::vector<QueuedMessage> lost = Platform::TranslateEvent(event);
    EXPECT_EQ(Ids(lost), (std::vector<std::uint32_t>{WM_ACTIVATE, WM_KILLFOCUS}));
    EXPECT_EQ(Qel::LowWord(lost[0].message.wParam), WA_INACTIVE);

    event.window.event = SDL_WINDOWEVENT_EXPOSED;
    EXPECT_EQ(Ids(Platform::TranslateEvent(event)), std::vector<std::uint32_t>{WM_PAINT});
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_EQ(Ids(Platform::TranslateEvent(event)), std::vector<std::uint32_t>{WM_CLOSE});

    // Events from SDL's own queue arrive through the pump in order.
    SDL_Event pushed = KeyEvent(SDL_KEYDOWN, SDLK_LEFT, KMOD_NONE, window->GetId());
    SDL_PushEvent(&pushed);
    pushed = KeyEvent(SDL_KEYUP, SDLK_LEFT, KMOD_NONE, window->GetId());
    SDL_PushEvent(&pushed);
    std::vector<QueuedMessage> pumped = DrainAll();
    ASSERT_EQ(pumped.size(), 2u);
    EXPECT_EQ(pumped[0].message.wParam, VK_LEFT);
    EXPECT_EQ(Ids(pumped), (std::vector<std::uint32_t>{WM_KEYDOWN, WM_KEYUP}));
}

TEST(MessagePump, CloseDestroysOnceAndOneQuitIsQueuedWhateverIsPosted)
{
    auto window = MakeWindow();
    ASSERT_NE(window, nullptr);
    DrainAll();
    std::vector<std::uint32_t> received;
    window->SetProcedure(
        [&](Platform::Window& aWindow, std::uint32_t aMessage, Qel::WParam aW,
            Qel::LParam aL) -> std::intptr_t
        {
            received.push_back(aMessage);
            if (aMessage == WM_DESTROY)
            {
                Platform::PostQuitMessage(0);
                Platform::PostQuitMessage(0);
            }
            return Platform::DefWindowProc(aWindow, aMessage, aW, aL);
        });
    Platform::PostMessage(window.get(), WM_CLOSE, 0, 0);
    Platform::PostMessage(window.get(), WM_CLOSE, 0, 0);
    QueuedMessage message;
    std::vector<std::uint32_t> taken;
    while (Platform::PeekMessage(message))
    {
        taken.push_back(message.message.message);
        Platform::DispatchMessage(message);
    }
    EXPECT_EQ(received, (std::vector<std::uint32_t>{WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(taken, (std::vector<std::uint32_t>{WM_CLOSE, WM_CLOSE, WM_QUIT}));
    EXPECT_TRUE(window->IsDestroyed());
}

TEST(MessagePump, AQuitInTheMiddleLeavesTheMessagesBehindItQueued)
{
    auto window = MakeWindow();
    ASSERT_NE(window, nullptr);
    DrainAll();
    Platform::PostMessage(window.get(), WM_PAINT, 0, 0);
    Platform::PostQuitMessage(3);
    Platform::PostMessage(window.get(), WM_KEYDOWN, VK_A, 0);
    QueuedMessage message;
    ASSERT_TRUE(Platform::PeekMessage(message));
    ASSERT_TRUE(Platform::PeekMessage(message));
    EXPECT_EQ(message.message.message, WM_QUIT);
    EXPECT_EQ(message.message.wParam, 3u);
    EXPECT_EQ(Ids(DrainAll()), std::vector<std::uint32_t>{WM_KEYDOWN});
}

TEST(MessagePump, QuitSignalsAndSdlQuitCloseEveryWindow)
{
    auto first = MakeWindow("first");
    auto second = MakeWindow("second");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    DrainAll();
    std::raise(SIGTERM);
    std::vector<QueuedMessage> messages = DrainAll();
    ASSERT_EQ(Ids(messages), (std::vector<std::uint32_t>{WM_CLOSE, WM_CLOSE}));
    EXPECT_EQ(messages[0].window, first.get());
    EXPECT_EQ(messages[1].window, second.get());

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(Platform::TranslateEvent(quit).size(), 2u);

    // With no window left a signal quits at once.
    first.reset();
    second.reset();
    std::raise(SIGINT);
    EXPECT_EQ(Ids(DrainAll()), std::vector<std::uint32_t>{WM_QUIT});
}

TEST(MessagePump, MessagesForAWindowThatGoesAreDropped)
{
    auto window = MakeWindow();
    ASSERT_NE(window, nullptr);
    DrainAll();
    Platform::PostMessage(window.get(), WM_PAINT, 0, 0);
    window.reset();
    EXPECT_TRUE(DrainAll().empty());
}
} // namespace
