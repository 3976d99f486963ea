// A rotation quaternion stored w first (w, x, y, z), as every pose, transform and scene record keeps
// it. Plain data; default-constructed it is the identity rotation.
#pragma once

namespace Qel
{
struct Quaternion
{
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float aW, float aX, float aY, float aZ) : w(aW), x(aX), y(aY), z(aZ) {}

    friend constexpr bool operator==(const Quaternion&, const Quaternion&) = default;
};
} // namespace Qel
