#include "Support/AssertCapture.h"
#include "vek/graphics/Camera.h"

#include <gtest/gtest.h>

namespace
{
TEST(Camera, ANewCameraHasIdentityMatricesAndTheDefaultPlanes)
{
    const Qel::Camera camera;
    EXPECT_EQ(camera.GetTransform(), Qel::Matrix4x4());
    EXPECT_EQ(camera.GetProjection(), Qel::Matrix4x4());
    EXPECT_FLOAT_EQ(camera.GetNearPlane(), 1.0f);
    EXPECT_FLOAT_EQ(camera.GetFarPlane(), 10000.0f);
}

TEST(Camera, PerspectiveFixesTheHorizontalFieldAndMapsNearToZeroAndFarToOne)
{
    Qel::Camera camera;
    Qel::Matrix4x4 placed;
    placed.SetRow(4, {1.0f, 2.0f, 3.0f, 1.0f});
    camera.SetTransform(placed);
    camera.SetPerspectiveProjection(90.0f, {1920.0f, 1080.0f}, 1.0f, 101.0f);
    const Qel::Matrix4x4& p = camera.GetProjection();
    EXPECT_NEAR(p(1, 1), 1.0f, 1e-5);
    EXPECT_NEAR(p(2, 2), 1920.0f / 1080.0f, 1e-4);
    EXPECT_NEAR(p(3, 3), 1.01f, 1e-5);
    EXPECT_FLOAT_EQ(p(3, 4), 1.0f);
    EXPECT_NEAR(p(4, 3), -1.01f, 1e-5);
    EXPECT_FLOAT_EQ(p(4, 4), 0.0f);
    EXPECT_FLOAT_EQ(p(1, 2), 0.0f);
    EXPECT_EQ(camera.GetTransform(), placed) << "setting a projection keeps the transform";

    for (const float distance : {1.0f, 101.0f})
    {
        const Qel::Vector4<float> clip = Qel::Vector4<float>{0.0f, 0.0f, distance, 1.0f} * p;
        EXPECT_NEAR(clip.z / clip.w, distance == 1.0f ? 0.0f : 1.0f, 1e-5);
    }
}

TEST(Camera, BadPerspectivePlanesTripTheirAssertions)
{
    QelTest::AssertCapture asserts;
    Qel::Camera camera;
    camera.SetPerspectiveProjection(90.0f, {16.0f, 9.0f}, 0.00001f, 10.0f);
    camera.SetPerspectiveProjection(90.0f, {16.0f, 9.0f}, 10.0f, 10.0f);
    ASSERT_EQ(asserts.GetCount(), 2);
    EXPECT_EQ(asserts.GetFailures()[0], "aNearPlane >= FMath::KindaSmallNumber");
    EXPECT_EQ(asserts.GetFailures()[1], "aNearPlane < aFarPlane");
}

TEST(Camera, OrthographicMapsTheBoundsOntoClipSpace)
{
    Qel::Camera camera;
    camera.SetOrthographicProjection(0.0f, 1280.0f, 0.0f, 720.0f, -1.0f, 1.0f);
    const Qel::Matrix4x4& p = camera.GetProjection();
    EXPECT_FLOAT_EQ(p(1, 1), 2.0f / 1280.0f);
    EXPECT_FLOAT_EQ(p(2, 2), 2.0f / 720.0f);
    EXPECT_FLOAT_EQ(p(3, 3), 0.5f);
    EXPECT_FLOAT_EQ(p(4, 1), -1.0f);
    EXPECT_FLOAT_EQ(p(4, 2), -1.0f);
    EXPECT_FLOAT_EQ(p(4, 3), 0.5f);
    EXPECT_FLOAT_EQ(p(4, 4), 1.0f);
    EXPECT_FLOAT_EQ(camera.GetNearPlane(), -1.0f);
    const Qel::Vector4<float> corner = Qel::Vector4<float>{1280.0f, 720.0f, 1.0f, 1.0f} * p;
    EXPECT_FLOAT_EQ(corner.x, 1.0f);
    EXPECT_FLOAT_EQ(corner.y, 1.0f);
    EXPECT_FLOAT_EQ(corner.z, 1.0f);
}
} // namespace
