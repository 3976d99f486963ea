#include "vek/Math/Frustum.h"

namespace Qel
{
namespace
{
FrustumPlane PlaneThrough(const Vector3<float>& aPoint, const Vector3<float>& aNormal)
{
    FrustumPlane plane;
    plane.normal = aNormal.GetNormalized();
    if (plane.normal == Vector3<float>())
    {
        return plane;
    }
    plane.valid = true;
    plane.d = -plane.normal.Dot(aPoint);
    return plane;
}
} // namespace

Frustum::Frustum(const Matrix4x4& aCameraTransform, const Matrix4x4& aProjection, float aNear, float aFar)
    : viewMatrix(Matrix4x4::Inverse(aCameraTransform))
{
    const float p11 = aProjection(1, 1);
    const float p22 = aProjection(2, 2);
    const Vector3<float> origin;
    planes[LEFT] = PlaneThrough(origin, {-p11, 0.0f, -1.0f});
    planes[RIGHT] = PlaneThrough(origin, {p11, 0.0f, -1.0f});
    planes[BOTTOM] = PlaneThrough(origin, {0.0f, -p22, -1.0f});
    planes[TOP] = PlaneThrough(origin, {0.0f, p22, -1.0f});
    planes[NEAR_PLANE] = PlaneThrough({0.0f, 0.0f, aNear}, {0.0f, 0.0f, -1.0f});
    planes[FAR_PLANE] = PlaneThrough({0.0f, 0.0f, aFar}, {0.0f, 0.0f, 1.0f});
}
} // namespace Qel
