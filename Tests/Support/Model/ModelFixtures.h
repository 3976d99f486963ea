// Helpers of the model tests: the importer's fixture files, and matrix and pose comparisons.
#pragma once

#include "Support/SourceRoot.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/model/Pose.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace QelTest
{
inline std::string ModelFixture(const std::string& aName)
{
    return (SourceRoot() / "Tests/External/QELFBXImporter/fixtures" / aName).string();
}

inline float MaxDifference(const Qel::Matrix4x4& aLeft, const Qel::Matrix4x4& aRight)
{
    float worst = 0.0f;
    for (int i = 0; i < Qel::Matrix4x4::ELEMENT_COUNT; ++i)
    {
        worst = std::fmax(worst, std::fabs(aLeft.GetData()[i] - aRight.GetData()[i]));
    }
    return worst;
}

// A rotation of aDegrees about the y axis, w first.
inline Qel::Quaternion RotationY(float aDegrees)
{
    const float half = aDegrees * 3.14159265f / 360.0f;
    return Qel::Quaternion(std::cos(half), 0.0f, std::sin(half), 0.0f);
}
} // namespace QelTest
