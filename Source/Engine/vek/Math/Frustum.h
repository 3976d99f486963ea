// The view frustum of a camera as six planes in view space, with the view matrix that takes world
// points there. Built once from the camera's transform and projection; plain value type afterwards.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Vector3.h"

#include <array>

namespace Qel
{
struct FrustumPlane
{
    Vector3<float> normal;
    float d = 0.0f;
    // False for a plane whose normal had no length; such a plane culls nothing.
    bool valid = false;

    // Positive on the outer side.
    float SignedDistance(const Vector3<float>& aPoint) const { return normal.Dot(aPoint) + d; }
};

class Frustum
{
public:
    enum PlaneIndex
    {
        LEFT,
        RIGHT,
        BOTTOM,
        TOP,
        NEAR_PLANE,
        FAR_PLANE,
        PLANE_COUNT
    };

    // aCameraTransform places the camera in the world (view to world); the planes come from the
    // projection's elements (1, 1) and (2, 2) and the near and far distances.
    Frustum(const Matrix4x4& aCameraTransform, const Matrix4x4& aProjection, float aNear, float aFar);

    Matrix4x4 viewMatrix;
    std::array<FrustumPlane, PLANE_COUNT> planes;
};
} // namespace Qel
