#include "Platform/Fbx/FbxMath.h"

#include <cmath>
#include <numbers>

namespace Qel::Fbx
{
Matrix operator*(const Matrix& aLeft, const Matrix& aRight)
{
    Matrix result;
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
            {
                sum += aLeft(r, k) * aRight(k, c);
            }
            result(r, c) = sum;
        }
    }
    return result;
}

Matrix Transpose(const Matrix& aMatrix)
{
    Matrix result;
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            result(r, c) = aMatrix(c, r);
        }
    }
    return result;
}

Matrix Inverse(const Matrix& aMatrix)
{
    // Gauss-Jordan with partial pivoting on an augmented copy.
    std::array<std::array<double, 8>, 4> a{};
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            a[static_cast<size_t>(r)][static_cast<size_t>(c)] = aMatrix(r, c);
        }
        a[static_cast<size_t>(r)][static_cast<size_t>(4 + r)] = 1.0;
    }
    for (size_t col = 0; col < 4; ++col)
    {
        size_t pivot = col;
        for (size_t r = col + 1; r < 4; ++r)
        {
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
            {
                pivot = r;
            }
        }
        if (std::abs(a[pivot][col]) < 1e-300)
        {
            return Matrix{};
        }
        std::swap(a[pivot], a[col]);
        const double scale = 1.0 / a[col][col];
        for (double& value : a[col])
        {
            value *= scale;
        }
        for (size_t r = 0; r < 4; ++r)
        {
            if (r != col && a[r][col] != 0.0)
            {
                const double factor = a[r][col];
                for (size_t c = 0; c < 8; ++c)
                {
                    a[r][c] -= factor * a[col][c];
                }
            }
        }
    }
    Matrix result;
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            result(r, c) = a[static_cast<size_t>(r)][static_cast<size_t>(4 + c)];
        }
    }
    return result;
}

Matrix Translation(const Vector3& aOffset)
{
    Matrix result;
    result(0, 3) = aOffset[0];
    result(1, 3) = aOffset[1];
    result(2, 3) = aOffset[2];
    return result;
}

Matrix Scaling(const Vector3& aScale)
{
    Matrix result;
    result(0, 0) = aScale[0];
    result(1, 1) = aScale[1];
    result(2, 2) = aScale[2];
    return result;
}

namespace
{
Matrix AxisRotation(int aAxis, double aDegrees)
{
    const double radians = aDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const int u = (aAxis + 1) % 3;
    const int v = (aAxis + 2) % 3;
    Matrix result;
    result(u, u) = c;
    result(u, v) = -s;
    result(v, u) = s;
    result(v, v) = c;
    return result;
}
} // namespace

Matrix EulerRotation(const Vector3& aDegrees, RotationOrder aOrder)
{
    static constexpr std::array<std::array<int, 3>, 6> ORDERS{
        {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}}};
    const int index = static_cast<int>(aOrder);
    const auto& order = ORDERS[static_cast<size_t>(index >= 0 && index < 6 ? index : 0)];
    Matrix result;
    for (const int axis : order)
    {
        result = AxisRotation(axis, aDegrees[static_cast<size_t>(axis)]) * result;
    }
    return result;
}

Matrix ComposeTrs(const Vector3& aTranslation, const Vector3& aDegrees, const Vector3& aScale)
{
    return Translation(aTranslation) * EulerRotation(aDegrees) * Scaling(aScale);
}

Vector3 TransformPoint(const Matrix& aMatrix, const Vector3& aPoint)
{
    Vector3 result{};
    for (int r = 0; r < 3; ++r)
    {
        result[static_cast<size_t>(r)] =
            aMatrix(r, 0) * aPoint[0] + aMatrix(r, 1) * aPoint[1] + aMatrix(r, 2) * aPoint[2] + aMatrix(r, 3);
    }
    return result;
}

Vector3 TransformDirection(const Matrix& aMatrix, const Vector3& aDirection)
{
    Vector3 result{};
    for (int r = 0; r < 3; ++r)
    {
        result[static_cast<size_t>(r)] =
            aMatrix(r, 0) * aDirection[0] + aMatrix(r, 1) * aDirection[1] + aMatrix(r, 2) * aDirection[2];
    }
    return result;
}

double Determinant3x3(const Matrix& aMatrix)
{
    const Matrix& m = aMatrix;
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) -
           m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}
} // namespace Qel::Fbx
