#include "vek/Math/Quaternion.h"

#include <cmath>

namespace Qel
{
namespace
{
// The float value of 1 - 0.9995.
constexpr float LINEAR_BLEND_THRESHOLD = 0.00050002337f;
} // namespace

Quaternion Quaternion::Slerp(const Quaternion& aFrom, const Quaternion& aTo, float aT)
{
    Quaternion to = aTo;
    float d = aFrom.w * to.w + aFrom.x * to.x + aFrom.y * to.y + aFrom.z * to.z;
    if (d < 0.0f)
    {
        to = Quaternion(-to.w, -to.x, -to.y, -to.z);
        d = -d;
    }
    if (d > LINEAR_BLEND_THRESHOLD)
    {
        const float u = 1.0f - aT;
        Quaternion r(u * aFrom.w + aT * to.w, u * aFrom.x + aT * to.x, u * aFrom.y + aT * to.y,
                     u * aFrom.z + aT * to.z);
        const float length = std::sqrt(r.w * r.w + r.x * r.x + r.y * r.y + r.z * r.z);
        if (length > 0.0f)
        {
            r = Quaternion(r.w / length, r.x / length, r.y / length, r.z / length);
        }
        return r;
    }
    const float theta = std::acos(d);
    const float sinTheta = std::sin(theta);
    const float a = std::sin((1.0f - aT) * theta) / sinTheta;
    const float b = std::sin(aT * theta) / sinTheta;
    return Quaternion(a * aFrom.w + b * to.w, a * aFrom.x + b * to.x, a * aFrom.y + b * to.y,
                      a * aFrom.z + b * to.z);
}
} // namespace Qel
