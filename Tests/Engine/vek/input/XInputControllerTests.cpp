#include "vek/input/XInputController.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

using Platform::PadState;
using Qel::XInputController;

namespace
{
class FakePads final : public Platform::PadBackend
{
public:
    bool GetState(std::uint32_t aIndex, PadState& outState) override
    {
        reads.push_back(aIndex);
        outState = PadState();
        if (aIndex >= pads.size() || !pads[aIndex])
        {
            return false;
        }
        outState = *pads[aIndex];
        return true;
    }

    void Plug(std::uint32_t aIndex, Platform::PadGamepad aGamepad = {})
    {
        pads[aIndex] = PadState{1, aGamepad};
    }
    void Pull(std::uint32_t aIndex) { pads[aIndex].reset(); }
    Platform::PadGamepad& Pad(std::uint32_t aIndex) { return pads[aIndex]->gamepad; }

    std::array<std::optional<PadState>, 4> pads;
    std::vector<std::uint32_t> reads;
};

Platform::PadGamepad Sticks(std::int16_t aLX, std::int16_t aLY, std::int16_t aRX = 0, std::int16_t aRY = 0)
{
    Platform::PadGamepad pad;
    pad.thumbLX = aLX;
    pad.thumbLY = aLY;
    pad.thumbRX = aRX;
    pad.thumbRY = aRY;
    return pad;
}

class PadFixture : public testing::Test
{
protected:
    FakePads myPads;
    XInputController myController{myPads};
};
} // namespace

using PadSticks = PadFixture;

TEST_F(PadSticks, FullDeflectionGivesOneInEitherDirection)
{
    myPads.Plug(0, Sticks(32767, -32768, -32768, 32767));
    ASSERT_TRUE(myController.Refresh());
    EXPECT_NEAR(myController.leftStickX, 1.0f, 1e-6f);
    EXPECT_NEAR(myController.leftStickY, -1.0f, 1e-6f);
    EXPECT_NEAR(myController.rightStickX, -1.0f, 1e-6f);
    EXPECT_NEAR(myController.rightStickY, 1.0f, 1e-6f);
}

TEST_F(PadSticks, ValuesInsideTheDeadZoneAreZeroAndTheRestIsStretched)
{
    myPads.Plug(0, Sticks(1000, 655));
    ASSERT_TRUE(myController.Refresh());
    EXPECT_EQ(myController.leftStickX, 0.0f) << "1000 / 32767 lies inside 0.05";
    EXPECT_EQ(myController.leftStickY, 0.0f) << "655 / 32767 lies inside 0.02";

    myPads.Pad(0) = Sticks(-1000, 656);
    ASSERT_TRUE(myController.Refresh());
    EXPECT_EQ(myController.leftStickX, 0.0f);
    EXPECT_GT(myController.leftStickY, 0.0f);
    EXPECT_LT(myController.leftStickY, 1e-4f);

    myPads.Pad(0) = Sticks(16384, -16384, 16384, -16384);
    ASSERT_TRUE(myController.Refresh());
    const float half = 16384.0f / 32767.0f;
    EXPECT_NEAR(myController.leftStickX, (half - 0.05f) / 0.95f, 1e-6f);
    EXPECT_NEAR(myController.leftStickY, -(half - 0.02f) / 0.98f, 1e-6f);
    EXPECT_NEAR(myController.rightStickX, myController.leftStickX, 1e-7f) << "the same dead zones";
    EXPECT_NEAR(myController.rightStickY, myController.leftStickY, 1e-7f);
}

TEST_F(PadSticks, DeadZonesCanBeChangedOrTurnedOff)
{
    myPads.Plug(0, Sticks(1000, -16384));
    myController.deadZoneX = 0.0f;
    myController.deadZoneY = 0.5f;
    ASSERT_TRUE(myController.Refresh());
    EXPECT_NEAR(myController.leftStickX, 1000.0f / 32767.0f, 1e-7f);
    EXPECT_NEAR(myController.leftStickY, -(16384.0f / 32767.0f - 0.5f) / 0.5f, 1e-6f);
    myController.deadZoneX = 1.0f;
    myPads.Pad(0) = Sticks(32767, 0);
    ASSERT_TRUE(myController.Refresh());
    EXPECT_EQ(myController.leftStickX, 0.0f) << "a dead zone of the whole range leaves nothing";
}

TEST_F(PadSticks, TriggersAreBytesOverTwoHundredFiftyFive)
{
    Platform::PadGamepad pad;
    pad.leftTrigger = 255;
    pad.rightTrigger = 51;
    myPads.Plug(0, pad);
    ASSERT_TRUE(myController.Refresh());
    EXPECT_EQ(myController.leftTrigger, 1.0f);
    EXPECT_FLOAT_EQ(myController.rightTrigger, 0.2f);
}

using PadButtons = PadFixture;

TEST_F(PadButtons, AHeldButtonIsNewOnlyInTheFirstFrameAndReleasedInTheFrameAfterLettingGo)
{
    myPads.Plug(0);
    ASSERT_TRUE(myController.Refresh());
    myPads.Pad(0).buttons = Platform::PAD_BUTTON_A;
    ASSERT_TRUE(myController.Refresh());
    EXPECT_TRUE(myController.IsPressed(Platform::PAD_BUTTON_A));
    EXPECT_TRUE(myController.IsNewPressed(Platform::PAD_BUTTON_A));
    ASSERT_TRUE(myController.Refresh());
    EXPECT_TRUE(myController.IsPressed(Platform::PAD_BUTTON_A));
    EXPECT_FALSE(myController.IsNewPressed(Platform::PAD_BUTTON_A));
    EXPECT_FALSE(myController.IsReleased(Platform::PAD_BUTTON_A));
    myPads.Pad(0).buttons = 0;
    ASSERT_TRUE(myController.Refresh());
    EXPECT_TRUE(myController.IsReleased(Platform::PAD_BUTTON_A));
    ASSERT_TRUE(myController.Refresh());
    EXPECT_FALSE(myController.IsReleased(Platform::PAD_BUTTON_A));
}

TEST_F(PadButtons, MasksTestAnyOfTheirBits)
{
    const std::uint16_t sprint =
        Platform::PAD_BUTTON_B | Platform::PAD_BUTTON_LEFT_SHOULDER | Platform::PAD_BUTTON_RIGHT_SHOULDER;
    myPads.Plug(0);
    myPads.Pad(0).buttons = Platform::PAD_BUTTON_LEFT_SHOULDER;
    ASSERT_TRUE(myController.Refresh());
    EXPECT_TRUE(myController.IsNewPressed(sprint));
    myPads.Pad(0).buttons = Platform::PAD_BUTTON_B;
    ASSERT_TRUE(myController.Refresh());
    EXPECT_FALSE(myController.IsNewPressed(sprint)) << "another bit of the mask was already held";
    EXPECT_FALSE(myController.IsReleased(sprint));
    EXPECT_TRUE(myController.IsReleased(Platform::PAD_BUTTON_LEFT_SHOULDER));
    EXPECT_FALSE(myController.IsPressed(Platform::PAD_BUTTON_START));
}

using PadConnection = PadFixture;

TEST_F(PadConnection, TheFirstRefreshReadsPadZeroDirectly)
{
    myPads.Plug(2);
    EXPECT_FALSE(myController.Refresh());
    EXPECT_EQ(myPads.reads, std::vector<std::uint32_t>{0});
    EXPECT_EQ(myController.GetPadIndex(), XInputController::NO_PAD);
    myPads.reads.clear();
    EXPECT_TRUE(myController.Refresh());
    EXPECT_EQ(myController.GetPadIndex(), 2u);
    EXPECT_EQ(myPads.reads, (std::vector<std::uint32_t>{0, 1, 2, 2}));
}

TEST_F(PadConnection, ConnectTakesTheFirstPadThatAnswers)
{
    EXPECT_FALSE(myController.Connect());
    EXPECT_EQ(myController.GetPadIndex(), XInputController::NO_PAD);
    myPads.Plug(3);
    myPads.Plug(1);
    EXPECT_TRUE(myController.Connect());
    EXPECT_EQ(myController.GetPadIndex(), 1u);
}

TEST_F(PadConnection, ALostPadReportsItsReleaseOnceThenReadsZero)
{
    myPads.Plug(0, Sticks(32767, 32767));
    myPads.Pad(0).buttons = Platform::PAD_BUTTON_DPAD_LEFT;
    myPads.Pad(0).leftTrigger = 200;
    ASSERT_TRUE(myController.Refresh());
    ASSERT_TRUE(myController.Refresh());
    myPads.Pull(0);

    EXPECT_FALSE(myController.Refresh());
    EXPECT_EQ(myController.GetPadIndex(), XInputController::NO_PAD);
    EXPECT_TRUE(myController.IsReleased(Platform::PAD_BUTTON_DPAD_LEFT));
    EXPECT_FALSE(myController.IsPressed(Platform::PAD_BUTTON_DPAD_LEFT));
    EXPECT_EQ(myController.leftStickX, 0.0f);
    EXPECT_EQ(myController.leftStickY, 0.0f);
    EXPECT_EQ(myController.leftTrigger, 0.0f);

    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_FALSE(myController.Refresh());
        EXPECT_FALSE(myController.IsReleased(Platform::PAD_BUTTON_DPAD_LEFT)) << "frame " << frame;
        EXPECT_EQ(myController.GetState(), PadState());
        EXPECT_EQ(myController.GetPreviousState(), PadState());
        EXPECT_EQ(myController.leftStickX, 0.0f);
    }
}

TEST_F(PadConnection, ALossSeenFirstByConnectStillReportsTheReleaseOnce)
{
    myPads.Plug(0);
    myPads.Pad(0).buttons = Platform::PAD_BUTTON_A;
    ASSERT_TRUE(myController.Refresh());
    myPads.Pull(0);
    EXPECT_FALSE(myController.Connect());
    EXPECT_FALSE(myController.Refresh());
    EXPECT_TRUE(myController.IsReleased(Platform::PAD_BUTTON_A));
    EXPECT_FALSE(myController.Refresh());
    EXPECT_FALSE(myController.IsReleased(Platform::PAD_BUTTON_A));
}

TEST_F(PadConnection, AReconnectedPadIsFoundAgainAndStartsWithFreshEdges)
{
    myPads.Plug(0);
    ASSERT_TRUE(myController.Refresh());
    myPads.Pull(0);
    EXPECT_FALSE(myController.Refresh());
    EXPECT_FALSE(myController.Refresh());

    myPads.Plug(1, Sticks(-32768, 0));
    myPads.Pad(1).buttons = Platform::PAD_BUTTON_START;
    EXPECT_TRUE(myController.Refresh());
    EXPECT_EQ(myController.GetPadIndex(), 1u);
    EXPECT_TRUE(myController.IsNewPressed(Platform::PAD_BUTTON_START));
    EXPECT_NEAR(myController.leftStickX, -1.0f, 1e-6f);
}
