#include "Support/Model/ModelFixtures.h"
#include "vek/Math/Quaternion.h"
#include "vek/model/Skeleton.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qel;

namespace
{
Vector4<float> Apply(const Matrix4x4& aMatrix, float aX, float aY, float aZ)
{
    return Vector4<float>(aX, aY, aZ, 1.0f) * aMatrix;
}

Skeleton Chain(std::size_t aCount)
{
    Skeleton skeleton;
    for (std::size_t i = 0; i < aCount; ++i)
    {
        Skeleton::Joint joint;
        joint.myParent = static_cast<std::int32_t>(i) - 1;
        if (i + 1 < aCount)
        {
            joint.myChildren.push_back(static_cast<std::uint32_t>(i + 1));
        }
        skeleton.myJoints.push_back(joint);
    }
    return skeleton;
}
} // namespace

TEST(JointTransformMatrix, AppliesScaleThenRotationThenPosition)
{
    JointTransform turn;
    turn.myRotation = QelTest::RotationY(90.0f);
    const Vector4<float> p = Apply(turn.GetMatrix(), 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.z, -1.0f, 1e-6f);

    JointTransform scaled;
    scaled.myScale = Vector3<float>(2.0f, 2.0f, 2.0f);
    scaled.myPosition = Vector3<float>(1.0f, 0.0f, 0.0f);
    const Vector4<float> q = Apply(scaled.GetMatrix(), 1.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(q.x, 3.0f); // the translation is not scaled
    EXPECT_FLOAT_EQ(q.y, 0.0f);

    // Scale and rotation together: the scale is applied in the joint's own axes first.
    JointTransform both;
    both.myScale = Vector3<float>(3.0f, 1.0f, 1.0f);
    both.myRotation = QelTest::RotationY(90.0f);
    const Vector4<float> r = Apply(both.GetMatrix(), 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(r.z, -3.0f, 1e-5f);
    EXPECT_EQ(JointTransform().GetMatrix(), Matrix4x4());
}

TEST(SkeletonPosing, ComposesDownTheChildListsFromJointZero)
{
    Skeleton skeleton = Chain(2);
    LocalSpacePose local;
    local.myCount = 2;
    local.mySlots[0].myPosition = Vector3<float>(0.0f, 10.0f, 0.0f);
    local.mySlots[1].myPosition = Vector3<float>(5.0f, 0.0f, 0.0f);
    ModelSpacePose out;
    skeleton.ConvertPoseToModelSpace(local, out);
    EXPECT_EQ(out.myCount, 2u);
    EXPECT_FLOAT_EQ(out.myMatrices[1](4, 1), 5.0f);
    EXPECT_FLOAT_EQ(out.myMatrices[1](4, 2), 10.0f);

    // A turned root carries its child round with it.
    local.mySlots[0].myRotation = QelTest::RotationY(90.0f);
    skeleton.ConvertPoseToModelSpace(local, out);
    EXPECT_NEAR(out.myMatrices[1](4, 1), 0.0f, 1e-5f);
    EXPECT_NEAR(out.myMatrices[1](4, 3), -5.0f, 1e-5f);
}

TEST(SkeletonPosing, SkipsUnreachableJointsAndBadLinks)
{
    Skeleton skeleton = Chain(2);
    Skeleton::Joint secondRoot;
    skeleton.myJoints.push_back(secondRoot);
    // A child list that points outside the skeleton and one that loops back must not be followed.
    skeleton.myJoints[1].myChildren = {0, 500};

    LocalSpacePose local;
    local.myCount = 3;
    local.mySlots[2].myPosition = Vector3<float>(7.0f, 7.0f, 7.0f);
    ModelSpacePose out;
    const Matrix4x4 marker = Matrix4x4::CreateTranslation(Vector3<float>(-1.0f, -2.0f, -3.0f));
    out.myMatrices[2] = marker;
    skeleton.ConvertPoseToModelSpace(local, out);
    EXPECT_EQ(out.myMatrices[2], marker);

    Skeleton empty;
    out.myMatrices[0] = marker;
    empty.ConvertPoseToModelSpace(local, out);
    EXPECT_EQ(out.myMatrices[0], marker);
    EXPECT_EQ(out.myCount, 3u);
}

TEST(SkeletonPosing, BindPoseGivesIdentityPaletteAndOnlyJointsAreWritten)
{
    Skeleton skeleton = Chain(3);
    LocalSpacePose local;
    local.myCount = 3;
    local.mySlots[0].myPosition = Vector3<float>(1.0f, 2.0f, 3.0f);
    local.mySlots[1].myRotation = QelTest::RotationY(30.0f);
    local.mySlots[1].myPosition = Vector3<float>(0.0f, 40.0f, 0.0f);
    local.mySlots[2].myScale = Vector3<float>(2.0f, 2.0f, 2.0f);
    ModelSpacePose bind;
    skeleton.ConvertPoseToModelSpace(local, bind);
    for (std::size_t i = 0; i < 3; ++i)
    {
        skeleton.myJoints[i].myInverseBind = Matrix4x4::Inverse(bind.myMatrices[i]);
    }

    BonePalette palette{};
    const Matrix4x4 marker = Matrix4x4::CreateScale(Vector3<float>(9.0f, 9.0f, 9.0f));
    palette[3] = marker;
    skeleton.ApplyBindPoseInverse(bind.myMatrices.data(), palette.data());
    for (std::size_t i = 0; i < 3; ++i)
    {
        EXPECT_LT(QelTest::MaxDifference(palette[i], Matrix4x4()), 1e-5f) << i;
    }
    EXPECT_EQ(palette[3], marker);
}

TEST(QuaternionSlerp, TakesTheShorterArcAndBothBranches)
{
    const Quaternion a = QelTest::RotationY(40.0f);
    const Quaternion negated(-a.w, -a.x, -a.y, -a.z);
    const Quaternion same = Quaternion::Slerp(a, negated, 0.5f);
    EXPECT_NEAR(same.w, a.w, 1e-6f);
    EXPECT_NEAR(same.y, a.y, 1e-6f);

    // Linear branch: halfway between 0 and 90 degrees is 45 degrees, unit length.
    const Quaternion half = Quaternion::Slerp(Quaternion(), QelTest::RotationY(90.0f), 0.5f);
    const Quaternion expected = QelTest::RotationY(45.0f);
    EXPECT_NEAR(half.w, expected.w, 1e-5f);
    EXPECT_NEAR(half.y, expected.y, 1e-5f);
    EXPECT_NEAR(half.w * half.w + half.y * half.y, 1.0f, 1e-6f);

    // Perpendicular pair (dot 0): the sine-weighted branch.
    const Quaternion x(0.0f, 1.0f, 0.0f, 0.0f);
    const float t = 0.25f;
    const Quaternion r = Quaternion::Slerp(Quaternion(), x, t);
    EXPECT_NEAR(r.w, std::cos(t * 1.5707963f), 1e-6f);
    EXPECT_NEAR(r.x, std::sin(t * 1.5707963f), 1e-6f);

    // The endpoints come back.
    const Quaternion b = QelTest::RotationY(70.0f);
    const Quaternion end = Quaternion::Slerp(a, b, 1.0f);
    EXPECT_NEAR(end.w, b.w, 1e-6f);
    EXPECT_NEAR(end.y, b.y, 1e-6f);
}
