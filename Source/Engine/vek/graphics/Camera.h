// One view: where the camera stands (its view-to-world transform, rows 1 to 3 its axes, row 4 its
// position) and how it projects (depth 0 at the near plane to 1 at the far plane, left-handed, looking
// along its own +z). Plain value type; the render-state stack holds one in every state.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Vector2.h"

namespace Qel
{
namespace FMath
{
constexpr float KindaSmallNumber = 0.0001f;
}

class Camera
{
public:
    Camera() = default;

    // The horizontal field of view is fixed; the vertical one follows from the resolution's aspect.
    void SetPerspectiveProjection(float aHorizontalFovDegrees, const Vector2<float>& aResolution,
                                  float aNearPlane, float aFarPlane);
    // x from left to right and y from bottom to top map to -1..1, z from near to far to 0..1.
    void SetOrthographicProjection(float aLeft, float aRight, float aBottom, float aTop, float aNearPlane,
                                   float aFarPlane);
    void SetTransform(const Matrix4x4& aTransform) { myTransform = aTransform; }

    const Matrix4x4& GetTransform() const { return myTransform; }
    const Matrix4x4& GetProjection() const { return myProjection; }
    float GetNearPlane() const { return myNearPlane; }
    float GetFarPlane() const { return myFarPlane; }

private:
    Matrix4x4 myTransform;
    Matrix4x4 myProjection;
    float myNearPlane = 1.0f;
    float myFarPlane = 10000.0f;
};
} // namespace Qel
