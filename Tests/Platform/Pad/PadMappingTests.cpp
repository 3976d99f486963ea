#include "Platform/Pad/PadMapping.h"

#include <SDL_gamecontroller.h>

#include <gtest/gtest.h>

using Platform::SdlPadReading;

namespace
{
std::uint32_t Held(SDL_GameControllerButton aButton)
{
    return std::uint32_t{1} << aButton;
}
} // namespace

TEST(PadMapping, YAxesAreFlippedAndMinus32768DoesNotOverflow)
{
    EXPECT_EQ(Platform::FlipAxis(-32768), 32767);
    EXPECT_EQ(Platform::FlipAxis(32767), -32767);
    EXPECT_EQ(Platform::FlipAxis(0), 0);
    EXPECT_EQ(Platform::FlipAxis(-100), 100);

    SdlPadReading reading;
    reading.leftX = -32768;
    reading.leftY = -32768;
    reading.rightX = 1234;
    reading.rightY = 20000;
    const Platform::PadGamepad pad = Platform::ToPadGamepad(reading);
    EXPECT_EQ(pad.thumbLX, -32768) << "x keeps its direction";
    EXPECT_EQ(pad.thumbLY, 32767) << "stick pushed up";
    EXPECT_EQ(pad.thumbRX, 1234);
    EXPECT_EQ(pad.thumbRY, -20000);
}

TEST(PadMapping, TriggersBecomeBytes)
{
    EXPECT_EQ(Platform::TriggerToByte(0), 0);
    EXPECT_EQ(Platform::TriggerToByte(32767), 255);
    EXPECT_EQ(Platform::TriggerToByte(16384), 127);
    EXPECT_EQ(Platform::TriggerToByte(-5), 0);
}

TEST(PadMapping, EachButtonLandsOnItsPadBit)
{
    const std::pair<SDL_GameControllerButton, std::uint16_t> expected[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0x0001},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0x0002},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0x0004},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0x0008},
        {SDL_CONTROLLER_BUTTON_START, 0x0010},
        {SDL_CONTROLLER_BUTTON_BACK, 0x0020},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0x0040},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0x0080},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0x0100},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0x0200},
        {SDL_CONTROLLER_BUTTON_A, 0x1000},
        {SDL_CONTROLLER_BUTTON_B, 0x2000},
        {SDL_CONTROLLER_BUTTON_X, 0x4000},
        {SDL_CONTROLLER_BUTTON_Y, 0x8000},
        {SDL_CONTROLLER_BUTTON_GUIDE, 0},
        {SDL_CONTROLLER_BUTTON_TOUCHPAD, 0},
    };
    for (const auto& [button, bit] : expected)
    {
        SdlPadReading reading;
        reading.heldButtons = Held(button);
        EXPECT_EQ(Platform::ToPadGamepad(reading).buttons, bit) << "SDL button " << button;
    }
    SdlPadReading both;
    both.heldButtons = Held(SDL_CONTROLLER_BUTTON_A) | Held(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(Platform::ToPadGamepad(both).buttons, 0x1001);
}
