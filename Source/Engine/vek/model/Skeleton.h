// A model's joint hierarchy: per joint the inverse bind matrix, parent, children and short name, the
// bind pose, and a name-to-index map for binding clips. Posing turns a local pose into model-space
// matrices down the child lists and those into the bone palette the skinning shader reads.
// Immutable once its model is shared; any thread may read it.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/model/Pose.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Qel
{
class Skeleton
{
public:
    struct Joint
    {
        Matrix4x4 myInverseBind;
        std::int32_t myParent = -1;
        std::vector<std::uint32_t> myChildren;
        std::string myName;
    };

    Skeleton() = default;
    Skeleton(const Skeleton&) = default;
    Skeleton& operator=(const Skeleton&) = default;
    Skeleton(Skeleton&&) = default;
    // Moves the name, joints and map; the bind pose is copied whole.
    Skeleton& operator=(Skeleton&& aOther) noexcept;

    // Composes aLocal down the tree from joint 0 into aOut; joints not reached from joint 0 keep what
    // aOut held. A skeleton without joints writes nothing but the count.
    void ConvertPoseToModelSpace(const LocalSpacePose& aLocal, ModelSpacePose& aOut) const;
    // aPalette[i] = inverse bind of joint i x aModelSpace[i], for each joint; the rest is left alone.
    void ApplyBindPoseInverse(const Matrix4x4* someModelSpace, Matrix4x4* aPalette) const;

    std::string myName;
    LocalSpacePose myBindPose;
    std::vector<Joint> myJoints;
    std::unordered_map<std::string, std::size_t> myJointNameToIndex;

private:
    void ConvertPoseToModelSpaceRecursive(const LocalSpacePose& aLocal, Matrix4x4* someOut,
                                          std::uint32_t aJoint, const Matrix4x4& aParent,
                                          std::size_t aDepth) const;
};
} // namespace Qel
