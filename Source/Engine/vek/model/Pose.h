// Joint transforms and the two pose forms of a skinned model: local transforms per joint (what clips
// store and players sample) and model-space matrices (composed down the joint tree). Plain values,
// fixed size, no allocation; nothing shared between threads.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Qel
{
// Joints per skeleton, and the size of every pose and bone palette.
inline constexpr std::size_t MAX_ANIMATION_BONES = 128;

struct JointTransform
{
    Vector3<float> myPosition;
    Quaternion myRotation;
    Vector3<float> myScale{1.0f, 1.0f, 1.0f};

    // Scale, then rotation, then the position written into the fourth row.
    Matrix4x4 GetMatrix() const;
};
static_assert(sizeof(JointTransform) == 40, "a joint transform is ten floats");

struct LocalSpacePose
{
    std::array<JointTransform, MAX_ANIMATION_BONES> mySlots{};
    std::uint64_t myCount = 0;
};

struct ModelSpacePose
{
    std::array<Matrix4x4, MAX_ANIMATION_BONES> myMatrices{};
    std::uint64_t myCount = 0;
};

using BonePalette = std::array<Matrix4x4, MAX_ANIMATION_BONES>;
} // namespace Qel
