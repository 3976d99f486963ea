#include "Player/PlayerInput.h"

#include "Base/InputHandler.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace
{
// Pad 0 answers while plugged, with the record the test sets.
class TestPad final : public Platform::PadBackend
{
public:
    bool GetState(std::uint32_t aIndex, Platform::PadState& outState) override
    {
        outState = Platform::PadState();
        if (aIndex != 0 || !isPlugged)
        {
            return false;
        }
        outState.packetNumber = 1;
        outState.gamepad = gamepad;
        return true;
    }

    bool isPlugged = false;
    Platform::PadGamepad gamepad;
};

using Query = bool (PlayerInput::*)() const;

struct Edge
{
    std::uint32_t key;
    Query pressed;
    Query released;
};

constexpr std::array<Query, 4> PRESS_QUERIES = {
    &PlayerInput::IsJumpPressed, &PlayerInput::IsGroundPoundPressed, &PlayerInput::IsSprintPressed,
    &PlayerInput::IsInteractPressed};
constexpr std::array<Query, 2> RELEASE_QUERIES = {&PlayerInput::IsJumpReleased,
                                                  &PlayerInput::IsSprintReleased};

class PlayerInputTest : public testing::Test
{
protected:
    void Press(std::uint32_t aKey) { myKeys.UpdateEvents(WM_KEYDOWN, aKey, 0); }
    void Release(std::uint32_t aKey) { myKeys.UpdateEvents(WM_KEYUP, aKey, 0); }
    // One frame as the controller reads it: the keys made current, then the pad; true with a pad in use.
    bool Frame()
    {
        myKeys.Update();
        return myInput.PollPad();
    }
    bool Is(Query aQuery) const { return (myInput.*aQuery)(); }

    InputHandler myKeys;
    TestPad myPad;
    PlayerInput myInput{&myKeys, myPad};
};
} // namespace

TEST_F(PlayerInputTest, EachKeyDrivesItsOwnActionOnly)
{
    myInput.OpenPad();
    for (const std::uint32_t key : {VK_A, VK_LEFT})
    {
        Press(key);
        Frame();
        Frame();
        EXPECT_TRUE(myInput.IsMoveLeftHeld()) << key;
        EXPECT_FALSE(myInput.IsMoveRightHeld()) << key;
        Release(key);
        Frame();
        EXPECT_FALSE(myInput.IsMoveLeftHeld()) << key;
    }
    for (const std::uint32_t key : {VK_D, VK_RIGHT})
    {
        Press(key);
        Frame();
        EXPECT_TRUE(myInput.IsMoveRightHeld()) << key;
        EXPECT_FALSE(myInput.IsMoveLeftHeld()) << key;
        Release(key);
        Frame();
    }

    const Edge edges[] = {
        {VK_SPACE, &PlayerInput::IsJumpPressed, &PlayerInput::IsJumpReleased},
        {VK_UP, &PlayerInput::IsJumpPressed, &PlayerInput::IsJumpReleased},
        {VK_S, &PlayerInput::IsGroundPoundPressed, nullptr},
        {VK_DOWN, &PlayerInput::IsGroundPoundPressed, nullptr},
        {VK_SHIFT, &PlayerInput::IsSprintPressed, &PlayerInput::IsSprintReleased},
        {VK_E, &PlayerInput::IsInteractPressed, nullptr},
    };
    for (const Edge& edge : edges)
    {
        Press(edge.key);
        Frame();
        for (const Query query : PRESS_QUERIES)
        {
            EXPECT_EQ(Is(query), query == edge.pressed) << "key " << edge.key;
        }
        Frame();
        EXPECT_FALSE(Is(edge.pressed)) << "held is no press, key " << edge.key;
        Release(edge.key);
        Frame();
        for (const Query query : RELEASE_QUERIES)
        {
            EXPECT_EQ(Is(query), query == edge.released) << "key " << edge.key;
        }
    }
}

TEST_F(PlayerInputTest, WithoutAKeyboardNothingIsHeldUntilOneIsGiven)
{
    PlayerInput unbound(nullptr, myPad);
    unbound.OpenPad();
    Press(VK_D);
    myKeys.Update();
    unbound.PollPad();
    EXPECT_FALSE(unbound.IsMoveRightHeld());
    EXPECT_FALSE(unbound.IsKeyDown(VK_D));
    unbound.SetInputHandler(&myKeys);
    EXPECT_TRUE(unbound.IsMoveRightHeld());
}

TEST_F(PlayerInputTest, ThePadsPoundWindowSprintButtonsAndInteract)
{
    myPad.isPlugged = true;
    // Not opened yet: the builder's controller has no pad until it starts.
    EXPECT_FALSE(Frame());
    EXPECT_FALSE(myInput.IsPadInUse());
    myInput.OpenPad();

    Press(VK_E);
    EXPECT_TRUE(Frame());
    EXPECT_FALSE(myInput.IsInteractPressed()) << "the keyboard is not read while a pad is in use";

    // A jumps; with the stick down and not far to a side the same press also pounds.
    myPad.gamepad.thumbLX = 0;
    myPad.gamepad.buttons = Platform::PAD_BUTTON_A;
    Frame();
    EXPECT_TRUE(myInput.IsJumpPressed());
    EXPECT_FALSE(myInput.IsGroundPoundPressed());
    Frame();
    EXPECT_FALSE(myInput.IsJumpPressed());
    myPad.gamepad.buttons = 0;
    Frame();
    EXPECT_TRUE(myInput.IsJumpReleased());
    for (const auto& [x, y, pounds] : {std::tuple{std::int16_t{0}, std::int16_t{-16384}, true},
                                       std::tuple{std::int16_t{26214}, std::int16_t{-16384}, false},
                                       std::tuple{std::int16_t{0}, std::int16_t{-6554}, false}})
    {
        myPad.gamepad.thumbLX = x;
        myPad.gamepad.thumbLY = y;
        myPad.gamepad.buttons = Platform::PAD_BUTTON_A;
        Frame();
        EXPECT_EQ(myInput.IsGroundPoundPressed(), pounds) << x << ", " << y;
        myPad.gamepad.buttons = 0;
        Frame();
    }

    for (const std::uint16_t button :
         {Platform::PAD_BUTTON_B, Platform::PAD_BUTTON_LEFT_SHOULDER, Platform::PAD_BUTTON_RIGHT_SHOULDER})
    {
        myPad.gamepad.buttons = button;
        Frame();
        EXPECT_TRUE(myInput.IsSprintPressed()) << button;
        myPad.gamepad.buttons = 0;
        Frame();
        EXPECT_TRUE(myInput.IsSprintReleased()) << button;
    }
    myPad.gamepad.buttons = Platform::PAD_BUTTON_DPAD_UP;
    Frame();
    EXPECT_TRUE(myInput.IsInteractPressed());
}
