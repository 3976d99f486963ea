#include "Base/InputHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace
{
class KeyEdges : public testing::Test
{
protected:
    bool Down(std::uint32_t aKey, std::uint32_t aMessage = WM_KEYDOWN)
    {
        return myInput.UpdateEvents(aMessage, aKey, 0);
    }
    bool Up(std::uint32_t aKey, std::uint32_t aMessage = WM_KEYUP)
    {
        return myInput.UpdateEvents(aMessage, aKey, 0);
    }
    void Frame() { myInput.Update(); }

    InputHandler myInput;
};
} // namespace

TEST_F(KeyEdges, AKeyIsPressedInOneFrameDownUntilItsReleaseAndReleasedOnce)
{
    EXPECT_TRUE(Down(VK_SPACE));
    EXPECT_FALSE(myInput.IsKeyDown(VK_SPACE)) << "nothing changes before the frame's update";
    Frame();
    EXPECT_TRUE(myInput.IsKeyPressed(VK_SPACE));
    EXPECT_TRUE(myInput.IsKeyDown(VK_SPACE));
    EXPECT_FALSE(myInput.IsKeyReleased(VK_SPACE));
    for (int frame = 0; frame < 3; ++frame)
    {
        Down(VK_SPACE); // auto-repeat
        Frame();
        EXPECT_TRUE(myInput.IsKeyDown(VK_SPACE));
        EXPECT_FALSE(myInput.IsKeyPressed(VK_SPACE));
    }
    EXPECT_TRUE(Up(VK_SPACE));
    EXPECT_TRUE(myInput.IsKeyDown(VK_SPACE));
    Frame();
    EXPECT_FALSE(myInput.IsKeyDown(VK_SPACE));
    EXPECT_TRUE(myInput.IsKeyReleased(VK_SPACE));
    Frame();
    EXPECT_FALSE(myInput.IsKeyReleased(VK_SPACE));
}

TEST_F(KeyEdges, PressedAndReleasedWithinOneDrainIsNeverSeen)
{
    Down(VK_RETURN);
    Up(VK_RETURN);
    Frame();
    EXPECT_FALSE(myInput.IsKeyDown(VK_RETURN));
    EXPECT_FALSE(myInput.IsKeyPressed(VK_RETURN));
    EXPECT_FALSE(myInput.IsKeyReleased(VK_RETURN));
}

TEST_F(KeyEdges, SystemVariantsCountAsKeys)
{
    EXPECT_TRUE(Down(VK_F4, WM_SYSKEYDOWN));
    Frame();
    EXPECT_TRUE(myInput.IsKeyPressed(VK_F4));
    EXPECT_TRUE(Up(VK_F4, WM_SYSKEYUP));
    Frame();
    EXPECT_TRUE(myInput.IsKeyReleased(VK_F4));
}

TEST_F(KeyEdges, LosingFocusReleasesHeldKeysOnce)
{
    for (const std::uint32_t message : {WM_KILLFOCUS, WM_ACTIVATE})
    {
        SCOPED_TRACE(message);
        Down(VK_A);
        Down(VK_SHIFT);
        Frame();
        EXPECT_FALSE(myInput.UpdateEvents(message, WA_INACTIVE, 0));
        Frame();
        EXPECT_TRUE(myInput.IsKeyReleased(VK_A));
        EXPECT_TRUE(myInput.IsKeyReleased(VK_SHIFT));
        Frame();
        EXPECT_FALSE(myInput.IsKeyReleased(VK_A));
        EXPECT_FALSE(myInput.IsKeyDown(VK_A));
    }
}

TEST_F(KeyEdges, ActivationKeepsHeldKeys)
{
    Down(VK_D);
    EXPECT_FALSE(myInput.UpdateEvents(WM_ACTIVATE, WA_ACTIVE, 0));
    EXPECT_FALSE(myInput.UpdateEvents(WM_ACTIVATE, WA_CLICKACTIVE | 0x10000, 0));
    EXPECT_FALSE(myInput.UpdateEvents(WM_SETFOCUS, 0, 0));
    Frame();
    EXPECT_TRUE(myInput.IsKeyDown(VK_D));
}

TEST_F(KeyEdges, CodesAboveTwoHundredFiftyFiveAreFoldedToTheirLowByte)
{
    Down(0x100 + VK_W);
    Frame();
    EXPECT_TRUE(myInput.IsKeyDown(VK_W));
    EXPECT_TRUE(myInput.IsKeyDown(0x300 + VK_W));
    Up(0x200 + VK_W);
    Frame();
    EXPECT_TRUE(myInput.IsKeyReleased(VK_W));
}

TEST_F(KeyEdges, EveryWordOfTheSetHoldsItsOwnKeys)
{
    const std::uint32_t keys[] = {0, 63, 64, 127, 128, 191, 192, 255};
    for (const std::uint32_t key : keys)
    {
        Down(key);
    }
    Frame();
    for (std::uint32_t key = 0; key < 256; ++key)
    {
        const bool expected = std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
        EXPECT_EQ(myInput.IsKeyDown(key), expected) << key;
    }
    Up(64);
    Frame();
    EXPECT_TRUE(myInput.IsKeyReleased(64));
    EXPECT_TRUE(myInput.IsKeyDown(63));
    EXPECT_TRUE(myInput.IsKeyDown(127));
}

TEST_F(KeyEdges, MouseMessagesAreNotRecorded)
{
    EXPECT_FALSE(myInput.UpdateEvents(WM_LBUTTONDOWN, 1, (300 << 16) | 200));
    EXPECT_FALSE(myInput.UpdateEvents(WM_MOUSEMOVE, 0, (300 << 16) | 200));
    EXPECT_FALSE(myInput.UpdateEvents(WM_PAINT, 0, 0));
    Frame();
    EXPECT_FALSE(myInput.IsKeyDown(VK_LBUTTON));
    EXPECT_EQ(myInput.GetMousePosition(), Qel::Vector2<std::int32_t>(0, 0));
    EXPECT_EQ(myInput.GetMouseDelta(), Qel::Vector2<std::int32_t>(0, 0));
}
