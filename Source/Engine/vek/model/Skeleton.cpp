#include "vek/model/Skeleton.h"

#include <utility>

namespace Qel
{
Skeleton& Skeleton::operator=(Skeleton&& aOther) noexcept
{
    myName = std::move(aOther.myName);
    myBindPose = aOther.myBindPose;
    myJoints = std::move(aOther.myJoints);
    myJointNameToIndex = std::move(aOther.myJointNameToIndex);
    return *this;
}

void Skeleton::ConvertPoseToModelSpace(const LocalSpacePose& aLocal, ModelSpacePose& aOut) const
{
    if (!myJoints.empty())
    {
        ConvertPoseToModelSpaceRecursive(aLocal, aOut.myMatrices.data(), 0, Matrix4x4(), 0);
    }
    aOut.myCount = aLocal.myCount;
}

void Skeleton::ConvertPoseToModelSpaceRecursive(const LocalSpacePose& aLocal, Matrix4x4* someOut,
                                                std::uint32_t aJoint, const Matrix4x4& aParent,
                                                std::size_t aDepth) const
{
    // Child lists that point outside the skeleton, or loop back, are not followed.
    if (aJoint >= myJoints.size() || aJoint >= MAX_ANIMATION_BONES || aDepth >= MAX_ANIMATION_BONES)
    {
        return;
    }
    someOut[aJoint] = aLocal.mySlots[aJoint].GetMatrix() * aParent;
    for (const std::uint32_t child : myJoints[aJoint].myChildren)
    {
        ConvertPoseToModelSpaceRecursive(aLocal, someOut, child, someOut[aJoint], aDepth + 1);
    }
}

void Skeleton::ApplyBindPoseInverse(const Matrix4x4* someModelSpace, Matrix4x4* aPalette) const
{
    const std::size_t count = myJoints.size() < MAX_ANIMATION_BONES ? myJoints.size() : MAX_ANIMATION_BONES;
    for (std::size_t i = 0; i < count; ++i)
    {
        aPalette[i] = myJoints[i].myInverseBind * someModelSpace[i];
    }
}
} // namespace Qel
