#include "MatrixTestHelpers.h"
#include "vek/Math/Matrix4x4.h"

#include <gtest/gtest.h>

#include <cmath>

using Qel::Matrix4x4;
using Qel::Quaternion;
using Qel::Vector3;
using QelTest::ExpectMatrixNear;
using QelTest::ExpectSameRotation;

namespace
{
struct Parts
{
    Vector3<float> translation;
    Quaternion rotation;
    Vector3<float> scale;
};

Parts Split(const Matrix4x4& aMatrix)
{
    Parts parts;
    Matrix4x4::Decompose(aMatrix, parts.translation, parts.rotation, parts.scale);
    return parts;
}

Matrix4x4 Rebuild(const Parts& aParts)
{
    return Matrix4x4::CreateScale(aParts.scale) * Matrix4x4::CreateRotation(aParts.rotation) *
           Matrix4x4::CreateTranslation(aParts.translation);
}

void ExpectVectorNear(const Vector3<float>& aActual, const Vector3<float>& aExpected,
                      float aTolerance = 1e-5f)
{
    EXPECT_NEAR(aActual.x, aExpected.x, aTolerance);
    EXPECT_NEAR(aActual.y, aExpected.y, aTolerance);
    EXPECT_NEAR(aActual.z, aExpected.z, aTolerance);
}
} // namespace

TEST(Decompose, IdentityGivesNoMoveNoTurnUnitScale)
{
    const Parts parts = Split(Matrix4x4());
    EXPECT_EQ(parts.translation, Vector3<float>(0, 0, 0));
    EXPECT_EQ(parts.rotation, Quaternion(1, 0, 0, 0));
    EXPECT_EQ(parts.scale, Vector3<float>(1, 1, 1));
}

TEST(Decompose, HalfTurnsTakeTheBranchOfTheirAxis)
{
    const Parts aboutX = Split(Qel::ComposeTransformMatrix({}, {180, 0, 0}, {1, 1, 1}));
    EXPECT_NEAR(aboutX.rotation.w, 0.0f, 1e-5f);
    EXPECT_NEAR(aboutX.rotation.x, 1.0f, 1e-5f);
    EXPECT_NEAR(aboutX.rotation.y, 0.0f, 1e-5f);
    EXPECT_NEAR(aboutX.rotation.z, 0.0f, 1e-5f);

    const Parts aboutY = Split(Qel::ComposeTransformMatrix({}, {0, 180, 0}, {1, 1, 1}));
    EXPECT_NEAR(aboutY.rotation.y, 1.0f, 1e-5f);
    const Parts aboutZ = Split(Qel::ComposeTransformMatrix({}, {0, 0, 180}, {1, 1, 1}));
    EXPECT_NEAR(aboutZ.rotation.z, 1.0f, 1e-5f);
}

TEST(Decompose, ScaleIsTheLengthOfEachOfTheFirstThreeRows)
{
    const Parts parts = Split(Qel::ComposeTransformMatrix({1, 2, 3}, {10, 20, 30}, {2, 3, 4}));
    ExpectVectorNear(parts.scale, {2, 3, 4});
    ExpectVectorNear(parts.translation, {1, 2, 3});
}

TEST(Decompose, ComposeThenDecomposeRoundTrips)
{
    const Vector3<float> rotations[] = {{0, 0, 0},     {30, 45, 60}, {-90, 10, 170},  {179, -179, 5},
                                        {45, 180, 45}, {0, 90, 0},   {-30, -60, -120}};
    const Vector3<float> scales[] = {{1, 1, 1}, {0.5f, 2, 3}, {100, 100, 100}};
    for (const Vector3<float>& rotation : rotations)
    {
        for (const Vector3<float>& scale : scales)
        {
            SCOPED_TRACE(testing::Message() << "rotation " << rotation.x << ", " << rotation.y << ", "
                                            << rotation.z << " scale " << scale.x);
            const Vector3<float> position(-12.5f, 400, 3);
            const Matrix4x4 composed = Qel::ComposeTransformMatrix(position, rotation, scale);
            const Parts parts = Split(composed);
            ExpectVectorNear(parts.translation, position);
            ExpectVectorNear(parts.scale, scale, 1e-4f * scale.x);
            const Quaternion& q = parts.rotation;
            EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0f, 1e-5f);
            ExpectMatrixNear(Rebuild(parts), composed, 1e-4f * scale.x + 1e-4f);
        }
    }
}

TEST(Decompose, AQuaternionSurvivesRotationMatrixAndBack)
{
    const float half = std::sqrt(0.5f);
    const Quaternion rotations[] = {
        {half, 0, half, 0}, {0.5f, 0.5f, 0.5f, 0.5f}, {0, 0, 0, 1}, {0.1f, 0.7f, -0.7f, 0.1f}};
    for (Quaternion q : rotations)
    {
        const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
        q = {q.w / length, q.x / length, q.y / length, q.z / length};
        ExpectSameRotation(Split(Matrix4x4::CreateRotation(q)).rotation, q);
    }
}

TEST(Decompose, AZeroScaleGivesTheIdentityRotationRatherThanNaN)
{
    const Parts parts = Split(Qel::ComposeTransformMatrix({4, 5, 6}, {0, 45, 0}, {1, 0, 1}));
    EXPECT_EQ(parts.rotation, Quaternion(1, 0, 0, 0));
    EXPECT_EQ(parts.scale.y, 0.0f);
    ExpectVectorNear(parts.translation, {4, 5, 6});
}
