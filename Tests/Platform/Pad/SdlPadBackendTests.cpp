#include "Platform/Pad/PadState.h"
#include "Platform/Pad/SdlPadBackend.h"
#include "Support/VirtualPad.h"
#include "vek/input/XInputController.h"

#include <SDL.h>

#include <gtest/gtest.h>

namespace
{
class SdlPads : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(myBackend.IsReady()) << SDL_GetError(); }

    Platform::SdlPadBackend myBackend;
};
} // namespace

TEST_F(SdlPads, NoPadMeansNoSlotAnswers)
{
    Platform::PadState state;
    state.packetNumber = 7;
    for (std::uint32_t slot = 0; slot < 5; ++slot)
    {
        EXPECT_FALSE(myBackend.GetState(slot, state));
        EXPECT_EQ(state, Platform::PadState());
    }
}

TEST_F(SdlPads, AVirtualControllerIsReadThroughTheMapping)
{
    VirtualPad pad;
    ASSERT_TRUE(pad.IsAttached()) << SDL_GetError();
    Platform::PadState state;
    ASSERT_TRUE(myBackend.GetState(0, state));
    EXPECT_EQ(state.gamepad, Platform::PadGamepad()) << "a resting pad";
    pad.Set(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    pad.Set(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    pad.Set(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pad.Set(SDL_CONTROLLER_BUTTON_A, true);
    pad.Set(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    SDL_PumpEvents();

    ASSERT_TRUE(myBackend.GetState(0, state));
    EXPECT_EQ(state.gamepad.thumbLY, 32767) << "pushed fully up";
    EXPECT_EQ(state.gamepad.thumbLX, 12000);
    EXPECT_EQ(state.gamepad.rightTrigger, 255);
    EXPECT_EQ(state.gamepad.buttons, Platform::PAD_BUTTON_A | Platform::PAD_BUTTON_DPAD_LEFT);
    Platform::PadState other;
    EXPECT_FALSE(myBackend.GetState(1, other));

    Platform::PadState again;
    ASSERT_TRUE(myBackend.GetState(0, again));
    ASSERT_TRUE(myBackend.GetState(0, again));
    pad.Set(SDL_CONTROLLER_BUTTON_A, false);
    SDL_PumpEvents();
    Platform::PadState changed;
    ASSERT_TRUE(myBackend.GetState(0, changed));
    EXPECT_EQ(again.packetNumber, state.packetNumber) << "an unchanged pad keeps its packet number";
    EXPECT_NE(changed.packetNumber, state.packetNumber);
}

TEST_F(SdlPads, UnpluggingFreesTheSlotAndTheControllerSeesTheLossAndReturn)
{
    Qel::XInputController controller(myBackend);
    {
        VirtualPad pad;
        ASSERT_TRUE(pad.IsAttached()) << SDL_GetError();
        pad.Set(SDL_CONTROLLER_BUTTON_START, true);
        pad.Set(SDL_CONTROLLER_AXIS_LEFTX, 32767);
        SDL_PumpEvents();
        ASSERT_TRUE(controller.Refresh());
        EXPECT_TRUE(controller.IsNewPressed(Platform::PAD_BUTTON_START));
        EXPECT_NEAR(controller.leftStickX, 1.0f, 1e-6f);
    }
    EXPECT_FALSE(controller.Refresh());
    EXPECT_TRUE(controller.IsReleased(Platform::PAD_BUTTON_START));
    EXPECT_EQ(controller.leftStickX, 0.0f);
    EXPECT_FALSE(controller.Refresh());
    EXPECT_FALSE(controller.IsReleased(Platform::PAD_BUTTON_START));

    VirtualPad second;
    ASSERT_TRUE(second.IsAttached()) << SDL_GetError();
    second.Set(SDL_CONTROLLER_BUTTON_B, true);
    SDL_PumpEvents();
    EXPECT_TRUE(controller.Refresh());
    EXPECT_EQ(controller.GetPadIndex(), 0u) << "the freed slot is taken again";
    EXPECT_TRUE(controller.IsNewPressed(Platform::PAD_BUTTON_B));
}

TEST(SdlPadsShutdown, ABackendOutlivingSdlReadsNothingAndEndsQuietly)
{
    Platform::SdlPadBackend backend;
    ASSERT_TRUE(backend.IsReady()) << SDL_GetError();
    {
        VirtualPad pad;
        ASSERT_TRUE(pad.IsAttached()) << SDL_GetError();
        Platform::PadState state;
        ASSERT_TRUE(backend.GetState(0, state));
        pad.Unplug();
    }
    VirtualPad stillPlugged;
    Platform::PadState state;
    ASSERT_TRUE(backend.GetState(0, state));
    SDL_Quit();
    EXPECT_FALSE(backend.GetState(0, state));
    EXPECT_FALSE(backend.IsReady());
    stillPlugged.Forget();
}
