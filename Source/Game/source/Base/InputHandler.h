// The world's keyboard state. Window messages only change a pending key set; Update, once a frame,
// makes it current, so every query in a frame sees the same keys and pressed/released are edges
// between consecutive frames. Keys are virtual-key codes 0 to 255. Mouse messages are not recorded,
// so the pointer stays at (0, 0). Main thread only.
#pragma once

#include "Platform/Window/WindowMessages.h"
#include "vek/Math/Vector2.h"

#include <array>
#include <cstdint>

class InputHandler
{
public:
    InputHandler() = default;

    // Records key down and up (also the system variants) and drops every pending key when the window
    // is deactivated or loses focus. True for key messages.
    bool UpdateEvents(std::uint32_t aMessage, Qel::WParam aWParam, Qel::LParam aLParam);
    void Update();

    // Codes above 255 are folded to their low byte, as the messages fold them.
    bool IsKeyDown(std::uint32_t aKey) const;
    bool IsKeyPressed(std::uint32_t aKey) const;
    bool IsKeyReleased(std::uint32_t aKey) const;

    Qel::Vector2<std::int32_t> GetMousePosition() const { return myMousePosition; }
    Qel::Vector2<std::int32_t> GetMouseDelta() const { return myMouseDelta; }

    void SetWindowHandle(Qel::WindowHandle aHandle) { myWindowHandle = aHandle; }
    // Stored for the world; nothing gates on it.
    void SetEnabledFlag(bool aIsEnabled) { myIsEnabled = aIsEnabled; }
    bool IsEnabled() const { return myIsEnabled; }

private:
    using KeySet = std::array<std::uint64_t, 4>;

    static bool Has(const KeySet& aSet, std::uint32_t aKey);

    KeySet myKeys{};
    KeySet myPreviousKeys{};
    KeySet myPendingKeys{};
    Qel::Vector2<std::int32_t> myMousePosition;
    Qel::Vector2<std::int32_t> myPreviousMousePosition;
    Qel::Vector2<std::int32_t> myPendingMousePosition;
    Qel::Vector2<std::int32_t> myMouseDelta;
    Qel::Vector2<std::int32_t> myPendingMouseDelta;
    Qel::WindowHandle myWindowHandle = nullptr;
    bool myIsEnabled = false;
};
