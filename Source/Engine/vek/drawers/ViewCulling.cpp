#include "vek/drawers/ViewCulling.h"

#include <algorithm>
#include <cmath>

namespace Qel
{
namespace
{
struct Sphere
{
    Vector3<float> centre;
    float radius = 0.0f;
};

Vector3<float> Lowest(const Vector3<float>& aLeft, const Vector3<float>& aRight)
{
    return {std::min(aLeft.x, aRight.x), std::min(aLeft.y, aRight.y), std::min(aLeft.z, aRight.z)};
}

Vector3<float> Highest(const Vector3<float>& aLeft, const Vector3<float>& aRight)
{
    return {std::max(aLeft.x, aRight.x), std::max(aLeft.y, aRight.y), std::max(aLeft.z, aRight.z)};
}

float LargestAxisScale(const Matrix4x4& aMatrix)
{
    float largest = 0.0f;
    for (int row = 1; row <= 3; ++row)
    {
        const Vector4<float> axis = aMatrix.GetRow(row);
        largest = std::max(largest, std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z));
    }
    return largest;
}

Sphere Transformed(const Sphere& aSphere, const Matrix4x4& aMatrix)
{
    const Vector4<float> centre =
        Vector4<float>{aSphere.centre.x, aSphere.centre.y, aSphere.centre.z, 1.0f} * aMatrix;
    return {{centre.x, centre.y, centre.z}, aSphere.radius * LargestAxisScale(aMatrix)};
}

// A skinned vertex is a weighted sum of its place under each palette entry it names; each such place
// lies in the bind sphere under that entry. With B enclosing those spheres and the unskinned one, a sum
// of weights w lies within |w| * R of (sum w) * C, hence within |w| * R + |sum w - 1| * |C| of C.
Sphere SkinnedReach(const Sphere& aBind, const MeshBounds& aBounds, const BonePalette& aBones)
{
    const std::uint32_t count = std::min<std::uint32_t>(aBounds.mySkinJointCount, MAX_ANIMATION_BONES);
    Vector3<float> low = aBind.centre - Vector3<float>{aBind.radius, aBind.radius, aBind.radius};
    Vector3<float> high = aBind.centre + Vector3<float>{aBind.radius, aBind.radius, aBind.radius};
    for (std::uint32_t joint = 0; joint < count; ++joint)
    {
        const Sphere moved = Transformed(aBind, aBones[joint]);
        const Vector3<float> extent{moved.radius, moved.radius, moved.radius};
        low = Lowest(low, moved.centre - extent);
        high = Highest(high, moved.centre + extent);
    }
    Sphere reach{(low + high) * 0.5f, ((high - low) * 0.5f).Length()};
    reach.radius = reach.radius * std::max(1.0f, aBounds.mySkinWeightMagnitude) +
                   reach.centre.Length() * aBounds.mySkinWeightSumError;
    return reach;
}

bool IsSymmetricPerspective(const Matrix4x4& aProjection)
{
    return aProjection(1, 2) == 0.0f && aProjection(1, 3) == 0.0f && aProjection(1, 4) == 0.0f &&
           aProjection(2, 1) == 0.0f && aProjection(2, 3) == 0.0f && aProjection(2, 4) == 0.0f &&
           aProjection(3, 1) == 0.0f && aProjection(3, 2) == 0.0f && aProjection(3, 4) == 1.0f &&
           aProjection(4, 1) == 0.0f && aProjection(4, 2) == 0.0f && aProjection(4, 4) == 0.0f &&
           aProjection(1, 1) > 0.0f && aProjection(2, 2) > 0.0f;
}
} // namespace

ViewCuller::ViewCuller(const Camera& aCamera)
{
    const Matrix4x4& projection = aCamera.GetProjection();
    if (IsSymmetricPerspective(projection) && aCamera.GetNearPlane() < aCamera.GetFarPlane())
    {
        myFrustum.emplace(aCamera.GetTransform(), projection, aCamera.GetNearPlane(), aCamera.GetFarPlane());
    }
}

bool ViewCuller::IsVisible(const MeshBounds& aBounds, const Matrix4x4& anObjectTransform,
                           const BonePalette* aBones) const
{
    if (!myFrustum.has_value() || !(aBounds.myRadius > 0.0f))
    {
        return true;
    }
    Sphere sphere{{aBounds.myCentre[0], aBounds.myCentre[1], aBounds.myCentre[2]}, aBounds.myRadius};
    if (aBones != nullptr)
    {
        sphere = SkinnedReach(sphere, aBounds, *aBones);
    }
    sphere = Transformed(sphere, anObjectTransform);
    const Vector4<float> inView =
        Vector4<float>{sphere.centre.x, sphere.centre.y, sphere.centre.z, 1.0f} * myFrustum->viewMatrix;
    const Vector3<float> point{inView.x, inView.y, inView.z};
    // Written so that a NaN anywhere keeps the draw.
    return std::none_of(myFrustum->planes.begin(), myFrustum->planes.end(),
                        [&](const FrustumPlane& aPlane)
                        { return aPlane.valid && aPlane.SignedDistance(point) > sphere.radius; });
}
} // namespace Qel
