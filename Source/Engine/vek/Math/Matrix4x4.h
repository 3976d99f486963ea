// The engine's 4x4 float matrix: row-major storage for row vectors (p' = p x M), translation in the
// fourth row, so A x B applies A first. Default-constructed it is the identity. Plain value type;
// nothing shared between threads.
#pragma once

#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"
#include "vek/Math/Vector4.h"

#include <array>

namespace Qel
{
class Matrix4x4
{
public:
    static constexpr int ELEMENT_COUNT = 16;

    Matrix4x4();

    // Row and column from 1 to 4. Out-of-range indexes fail an assertion; the non-const form then
    // hands back a scratch float so that a stray write cannot land in another element.
    float& operator()(int aRow, int aColumn);
    float operator()(int aRow, int aColumn) const;

    // The sixteen floats in memory order (row by row), for readers that fill a matrix wholesale.
    float* GetData() { return myData.data(); }
    const float* GetData() const { return myData.data(); }

    Vector4<float> GetRow(int aRow) const;
    void SetRow(int aRow, const Vector4<float>& aValue);

    Matrix4x4& operator*=(const Matrix4x4& aRight);
    friend Matrix4x4 operator*(const Matrix4x4& aLeft, const Matrix4x4& aRight);
    friend bool operator==(const Matrix4x4&, const Matrix4x4&) = default;

    // The general inverse by cofactors. A singular matrix (determinant exactly zero, or not finite)
    // has no inverse; the identity is returned so that callers never see infinities.
    static Matrix4x4 Inverse(const Matrix4x4& aMatrix);

    // Splits an affine matrix into translation, rotation and scale (the length of each of the first
    // three rows). A row of zero length leaves no rotation to find: the identity rotation is given.
    static void Decompose(const Matrix4x4& aMatrix, Vector3<float>& outTranslation, Quaternion& outRotation,
                          Vector3<float>& outScale);

    static Matrix4x4 CreateScale(const Vector3<float>& aScale);
    // The row-vector rotation matrix of a unit quaternion.
    static Matrix4x4 CreateRotation(const Quaternion& aRotation);
    static Matrix4x4 CreateTranslation(const Vector3<float>& aTranslation);

private:
    std::array<float, ELEMENT_COUNT> myData;
};

// The row vector times the matrix.
Vector4<float> operator*(const Vector4<float>& aVector, const Matrix4x4& aMatrix);

// Builds scale, then rotation (Euler angles in degrees, turned into a quaternion), then translation.
Matrix4x4 ComposeTransformMatrix(const Vector3<float>& aPosition, const Vector3<float>& aRotationDegrees,
                                 const Vector3<float>& aScale);
} // namespace Qel
