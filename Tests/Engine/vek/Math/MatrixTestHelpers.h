// Tolerant comparisons for matrices and quaternions shared by the maths tests.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace QelTest
{
inline void ExpectMatrixNear(const Qel::Matrix4x4& aActual, const Qel::Matrix4x4& aExpected,
                             float aTolerance = 1e-5f)
{
    for (int row = 1; row <= 4; ++row)
    {
        for (int column = 1; column <= 4; ++column)
        {
            EXPECT_NEAR(aActual(row, column), aExpected(row, column), aTolerance)
                << "at row " << row << ", column " << column;
        }
    }
}

inline Qel::Matrix4x4 MatrixFromRows(const float (&aRows)[4][4])
{
    Qel::Matrix4x4 result;
    for (int row = 0; row < 4; ++row)
    {
        result.SetRow(row + 1, {aRows[row][0], aRows[row][1], aRows[row][2], aRows[row][3]});
    }
    return result;
}

// q and -q are the same rotation.
inline void ExpectSameRotation(const Qel::Quaternion& aActual, const Qel::Quaternion& aExpected,
                               float aTolerance = 1e-5f)
{
    const float dot =
        aActual.w * aExpected.w + aActual.x * aExpected.x + aActual.y * aExpected.y + aActual.z * aExpected.z;
    EXPECT_NEAR(std::fabs(dot), 1.0f, aTolerance)
        << "got (" << aActual.w << ", " << aActual.x << ", " << aActual.y << ", " << aActual.z << ")";
}
} // namespace QelTest
