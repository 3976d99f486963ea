// Turning SDL's game-controller values into the pad record: SDL buttons to their pad bits, y axes
// flipped to point up, triggers from 0..32767 to bytes. Pure; any thread.
#pragma once

#include "Platform/Pad/PadState.h"

#include <cstdint>

namespace Platform
{
struct SdlPadReading
{
    // Bit n set when SDL game-controller button n is held.
    std::uint32_t heldButtons = 0;
    std::int16_t leftX = 0;
    std::int16_t leftY = 0;
    std::int16_t rightX = 0;
    std::int16_t rightY = 0;
    std::int16_t leftTrigger = 0;
    std::int16_t rightTrigger = 0;
};

PadGamepad ToPadGamepad(const SdlPadReading& aReading);

// SDL's y runs down and the pad record's up; -32768 has no positive twin in 16 bits and becomes 32767.
std::int16_t FlipAxis(std::int16_t aValue);
std::uint8_t TriggerToByte(std::int16_t aValue);
} // namespace Platform
