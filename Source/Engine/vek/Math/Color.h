// An RGBA colour of four floats, in that order. Colours are authored in sRGB; AsLinear gives the
// linear values the GPU expects. Plain value type; default-constructed all four channels are 0.
#pragma once

namespace Qel
{
struct Color
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr Color() = default;
    constexpr Color(float aR, float aG, float aB, float aA) : r(aR), g(aG), b(aB), a(aA) {}

    // Red, green and blue from sRGB to linear; alpha unchanged.
    Color AsLinear() const;

    friend constexpr bool operator==(const Color&, const Color&) = default;
};
} // namespace Qel
