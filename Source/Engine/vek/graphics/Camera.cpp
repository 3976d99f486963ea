#include "vek/graphics/Camera.h"

#include "vek/Core/Assert.h"

#include <cmath>

namespace Qel
{
void Camera::SetPerspectiveProjection(float aHorizontalFovDegrees, const Vector2<float>& aResolution,
                                      float aNearPlane, float aFarPlane)
{
    QEL_ASSERT(aNearPlane < aFarPlane);
    QEL_ASSERT(aNearPlane >= FMath::KindaSmallNumber);
    myNearPlane = aNearPlane;
    myFarPlane = aFarPlane;
    const float halfTan = std::tan(aHorizontalFovDegrees * 0.017453292f * 0.5f);
    const float depthScale = aFarPlane / (aFarPlane - aNearPlane);
    myProjection = Matrix4x4();
    myProjection(1, 1) = 1.0f / halfTan;
    myProjection(2, 2) = aResolution.x / (halfTan * aResolution.y);
    myProjection(3, 3) = depthScale;
    myProjection(3, 4) = 1.0f;
    myProjection(4, 3) = -aNearPlane * depthScale;
    myProjection(4, 4) = 0.0f;
}

void Camera::SetOrthographicProjection(float aLeft, float aRight, float aBottom, float aTop, float aNearPlane,
                                       float aFarPlane)
{
    myNearPlane = aNearPlane;
    myFarPlane = aFarPlane;
    myProjection = Matrix4x4();
    myProjection(1, 1) = 2.0f / (aRight - aLeft);
    myProjection(2, 2) = 2.0f / (aTop - aBottom);
    myProjection(3, 3) = 1.0f / (aFarPlane - aNearPlane);
    myProjection(4, 1) = -(aLeft + aRight) / (aRight - aLeft);
    myProjection(4, 2) = -(aBottom + aTop) / (aTop - aBottom);
    myProjection(4, 3) = -aNearPlane / (aFarPlane - aNearPlane);
    myProjection(4, 4) = 1.0f;
}
} // namespace Qel
