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

    // Blends a towards b by t along the shorter arc (b is negated when the dot product is negative).
    // Above a dot product of 0.0005 the blend is linear and renormalised; only nearly perpendicular
    // pairs take the sine-weighted path, whose result is not renormalised.
    static Quaternion Slerp(const Quaternion& aFrom, const Quaternion& aTo, float aT);
};
} // namespace Qel
