#include "Platform/Pad/PadMapping.h"

#include <SDL_gamecontroller.h>

#include <array>
#include <utility>

namespace Platform
{
namespace
{
constexpr std::array<std::pair<SDL_GameControllerButton, std::uint16_t>, 14> BUTTON_BITS = {{
    {SDL_CONTROLLER_BUTTON_A, PAD_BUTTON_A},
    {SDL_CONTROLLER_BUTTON_B, PAD_BUTTON_B},
    {SDL_CONTROLLER_BUTTON_X, PAD_BUTTON_X},
    {SDL_CONTROLLER_BUTTON_Y, PAD_BUTTON_Y},
    {SDL_CONTROLLER_BUTTON_BACK, PAD_BUTTON_BACK},
    {SDL_CONTROLLER_BUTTON_START, PAD_BUTTON_START},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, PAD_BUTTON_LEFT_THUMB},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, PAD_BUTTON_RIGHT_THUMB},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PAD_BUTTON_LEFT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PAD_BUTTON_RIGHT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PAD_BUTTON_DPAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PAD_BUTTON_DPAD_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PAD_BUTTON_DPAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PAD_BUTTON_DPAD_RIGHT},
}};
} // namespace

std::int16_t FlipAxis(std::int16_t aValue)
{
    return aValue == INT16_MIN ? INT16_MAX : static_cast<std::int16_t>(-aValue);
}

std::uint8_t TriggerToByte(std::int16_t aValue)
{
    return aValue <= 0 ? std::uint8_t{0} : static_cast<std::uint8_t>(aValue * 255 / 32767);
}

PadGamepad ToPadGamepad(const SdlPadReading& aReading)
{
    PadGamepad gamepad;
    for (const auto& [button, bit] : BUTTON_BITS)
    {
        if ((aReading.heldButtons & (std::uint32_t{1} << button)) != 0)
        {
            gamepad.buttons = static_cast<std::uint16_t>(gamepad.buttons | bit);
        }
    }
    gamepad.leftTrigger = TriggerToByte(aReading.leftTrigger);
    gamepad.rightTrigger = TriggerToByte(aReading.rightTrigger);
    gamepad.thumbLX = aReading.leftX;
    gamepad.thumbLY = FlipAxis(aReading.leftY);
    gamepad.thumbRX = aReading.rightX;
    gamepad.thumbRY = FlipAxis(aReading.rightY);
    return gamepad;
}
} // namespace Platform
