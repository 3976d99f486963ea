#include "vek/Math/Frustum.h"

#include <gtest/gtest.h>

#include <cmath>

using Qel::Frustum;
using Qel::Matrix4x4;
using Qel::Vector3;
using Qel::Vector4;

namespace
{
// A square perspective projection with a 90 degree field of view: elements (1, 1) and (2, 2) are 1.
Matrix4x4 SquareProjection(float aNear, float aFar)
{
    Matrix4x4 projection;
    projection(3, 3) = aFar / (aFar - aNear);
    projection(3, 4) = 1.0f;
    projection(4, 3) = -aNear * aFar / (aFar - aNear);
    projection(4, 4) = 0.0f;
    return projection;
}

Vector3<float> ToView(const Frustum& aFrustum, const Vector3<float>& aWorld)
{
    const Vector4<float> view = Vector4<float>(aWorld.x, aWorld.y, aWorld.z, 1.0f) * aFrustum.viewMatrix;
    return {view.x, view.y, view.z};
}

// The planes a world point lies outside of, as a bit per plane.
unsigned OutsideMask(const Frustum& aFrustum, const Vector3<float>& aWorld)
{
    unsigned mask = 0;
    const Vector3<float> view = ToView(aFrustum, aWorld);
    for (int i = 0; i < Frustum::PLANE_COUNT; ++i)
    {
        if (aFrustum.planes[static_cast<size_t>(i)].SignedDistance(view) > 0.0f)
        {
            mask |= 1u << i;
        }
    }
    return mask;
}
} // namespace

TEST(FrustumPlanes, AreUnitLengthAndInTheirOrder)
{
    const Frustum frustum(Matrix4x4(), SquareProjection(0.1f, 1000.0f), 0.1f, 1000.0f);
    const float half = std::sqrt(0.5f);
    EXPECT_NEAR(frustum.planes[Frustum::LEFT].normal.x, -half, 1e-6f);
    EXPECT_NEAR(frustum.planes[Frustum::RIGHT].normal.x, half, 1e-6f);
    EXPECT_NEAR(frustum.planes[Frustum::BOTTOM].normal.y, -half, 1e-6f);
    EXPECT_NEAR(frustum.planes[Frustum::TOP].normal.y, half, 1e-6f);
    for (const Qel::FrustumPlane& plane : frustum.planes)
    {
        EXPECT_TRUE(plane.valid);
        EXPECT_NEAR(plane.normal.Length(), 1.0f, 1e-6f);
    }
    EXPECT_FLOAT_EQ(frustum.planes[Frustum::NEAR_PLANE].d, 0.1f);
    EXPECT_FLOAT_EQ(frustum.planes[Frustum::FAR_PLANE].d, -1000.0f);
}

TEST(FrustumPlanes, ClassifyPointsInsideAndOutsideEachPlane)
{
    const Frustum frustum(Matrix4x4(), SquareProjection(0.1f, 1000.0f), 0.1f, 1000.0f);
    EXPECT_EQ(OutsideMask(frustum, {0, 0, 10}), 0u);
    EXPECT_EQ(OutsideMask(frustum, {9, -9, 10}), 0u) << "just inside the 45 degree sides";
    EXPECT_EQ(OutsideMask(frustum, {-20, 0, 10}), 1u << Frustum::LEFT);
    EXPECT_EQ(OutsideMask(frustum, {20, 0, 10}), 1u << Frustum::RIGHT);
    EXPECT_EQ(OutsideMask(frustum, {0, -20, 10}), 1u << Frustum::BOTTOM);
    EXPECT_EQ(OutsideMask(frustum, {0, 20, 10}), 1u << Frustum::TOP);
    EXPECT_EQ(OutsideMask(frustum, {0, 0, 0.05f}), 1u << Frustum::NEAR_PLANE);
    EXPECT_EQ(OutsideMask(frustum, {0, 0, 2000}), 1u << Frustum::FAR_PLANE);
}

TEST(FrustumPlanes, TheViewMatrixFollowsTheCamera)
{
    // A camera at x = 100 turned to look along world -x.
    Matrix4x4 transform = Qel::ComposeTransformMatrix({100, 0, 0}, {0, -90, 0}, {1, 1, 1});
    const Frustum frustum(transform, SquareProjection(1.0f, 500.0f), 1.0f, 500.0f);
    const Vector3<float> ahead = ToView(frustum, {50, 0, 0});
    EXPECT_NEAR(ahead.x, 0.0f, 1e-4f);
    EXPECT_NEAR(ahead.z, 50.0f, 1e-4f);
    EXPECT_EQ(OutsideMask(frustum, {50, 0, 0}), 0u);
    EXPECT_NE(OutsideMask(frustum, {150, 0, 0}), 0u) << "behind the camera";
}
