// One reading of a game pad in the classic desktop pad layout: a packet number, then the gamepad
// record with the button word first, two trigger bytes and four signed stick axes (y up). Plain data.
#pragma once

#include <cstdint>

namespace Platform
{
struct PadGamepad
{
    std::uint16_t buttons = 0;
    std::uint8_t leftTrigger = 0;
    std::uint8_t rightTrigger = 0;
    std::int16_t thumbLX = 0;
    std::int16_t thumbLY = 0;
    std::int16_t thumbRX = 0;
    std::int16_t thumbRY = 0;

    friend bool operator==(const PadGamepad&, const PadGamepad&) = default;
};

struct PadState
{
    // Changes whenever the gamepad record does.
    std::uint32_t packetNumber = 0;
    PadGamepad gamepad;

    friend bool operator==(const PadState&, const PadState&) = default;
};

inline constexpr std::uint16_t PAD_BUTTON_DPAD_UP = 0x0001;
inline constexpr std::uint16_t PAD_BUTTON_DPAD_DOWN = 0x0002;
inline constexpr std::uint16_t PAD_BUTTON_DPAD_LEFT = 0x0004;
inline constexpr std::uint16_t PAD_BUTTON_DPAD_RIGHT = 0x0008;
inline constexpr std::uint16_t PAD_BUTTON_START = 0x0010;
inline constexpr std::uint16_t PAD_BUTTON_BACK = 0x0020;
inline constexpr std::uint16_t PAD_BUTTON_LEFT_THUMB = 0x0040;
inline constexpr std::uint16_t PAD_BUTTON_RIGHT_THUMB = 0x0080;
inline constexpr std::uint16_t PAD_BUTTON_LEFT_SHOULDER = 0x0100;
inline constexpr std::uint16_t PAD_BUTTON_RIGHT_SHOULDER = 0x0200;
inline constexpr std::uint16_t PAD_BUTTON_A = 0x1000;
inline constexpr std::uint16_t PAD_BUTTON_B = 0x2000;
inline constexpr std::uint16_t PAD_BUTTON_X = 0x4000;
inline constexpr std::uint16_t PAD_BUTTON_Y = 0x8000;
} // namespace Platform
