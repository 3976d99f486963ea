// Small double-precision 4x4 matrix maths for the FBX layer. Matrices are stored row by row and act
// on column vectors (translation in the fourth column), as FBX transform maths is written.
// Plain values: no ownership, usable from any thread.
#pragma once

#include <array>
#include <cstddef>

namespace Qel::Fbx
{
using Vector3 = std::array<double, 3>;

struct Matrix
{
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    double& operator()(int aRow, int aColumn) { return m[static_cast<size_t>(aRow * 4 + aColumn)]; }
    double operator()(int aRow, int aColumn) const { return m[static_cast<size_t>(aRow * 4 + aColumn)]; }
};

// Euler rotation orders as FBX numbers them; the first named axis is applied first.
enum class RotationOrder : int
{
    XYZ = 0,
    XZY = 1,
    YZX = 2,
    YXZ = 3,
    ZXY = 4,
    ZYX = 5,
};

Matrix operator*(const Matrix& aLeft, const Matrix& aRight);
Matrix Transpose(const Matrix& aMatrix);
// The inverse; a singular matrix gives the identity, so bad content cannot spread NaNs.
Matrix Inverse(const Matrix& aMatrix);
Matrix Translation(const Vector3& aOffset);
Matrix Scaling(const Vector3& aScale);
// Angles in degrees.
Matrix EulerRotation(const Vector3& aDegrees, RotationOrder aOrder = RotationOrder::XYZ);
// T * R(XYZ) * S, the way FBX composes a matrix from translation, rotation and scaling.
Matrix ComposeTrs(const Vector3& aTranslation, const Vector3& aDegrees, const Vector3& aScale);

Vector3 TransformPoint(const Matrix& aMatrix, const Vector3& aPoint);
Vector3 TransformDirection(const Matrix& aMatrix, const Vector3& aDirection);
double Determinant3x3(const Matrix& aMatrix);
} // namespace Qel::Fbx
