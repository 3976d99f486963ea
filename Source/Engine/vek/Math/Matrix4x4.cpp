#include "vek/Math/Matrix4x4.h"

#include "vek/Core/Assert.h"

#include <cmath>

namespace Qel
{
namespace
{
constexpr float DEGREES_TO_RADIANS = 0.017453292f;

bool IsInRange(int aRow, int aColumn)
{
    return aRow > 0 && aRow < 5 && aColumn > 0 && aColumn < 5;
}

void CheckIndexes(int aRow, int aColumn)
{
    QEL_ASSERT(aRow > 0 && aRow < 5 && aColumn > 0 && aColumn < 5 && "Argument out of bounds");
}

int IndexOf(int aRow, int aColumn)
{
    return (aRow - 1) * 4 + (aColumn - 1);
}
} // namespace

Matrix4x4::Matrix4x4() : myData{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}
{
}

float& Matrix4x4::operator()(int aRow, int aColumn)
{
    CheckIndexes(aRow, aColumn);
    if (!IsInRange(aRow, aColumn))
    {
        thread_local float scratch = 0.0f;
        scratch = 0.0f;
        return scratch;
    }
    return myData[static_cast<size_t>(IndexOf(aRow, aColumn))];
}

float Matrix4x4::operator()(int aRow, int aColumn) const
{
    CheckIndexes(aRow, aColumn);
    return IsInRange(aRow, aColumn) ? myData[static_cast<size_t>(IndexOf(aRow, aColumn))] : 0.0f;
}

Vector4<float> Matrix4x4::GetRow(int aRow) const
{
    const Matrix4x4& m = *this;
    return {m(aRow, 1), m(aRow, 2), m(aRow, 3), m(aRow, 4)};
}

void Matrix4x4::SetRow(int aRow, const Vector4<float>& aValue)
{
    Matrix4x4& m = *this;
    m(aRow, 1) = aValue.x;
    m(aRow, 2) = aValue.y;
    m(aRow, 3) = aValue.z;
    m(aRow, 4) = aValue.w;
}

Matrix4x4 operator*(const Matrix4x4& aLeft, const Matrix4x4& aRight)
{
    const float* a = aLeft.GetData();
    const float* b = aRight.GetData();
    Matrix4x4 result;
    float* out = result.GetData();
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            // Summed left to right so results match bit for bit wherever products are compared.
            out[i * 4 + j] = ((a[i * 4] * b[j] + a[i * 4 + 1] * b[4 + j]) + a[i * 4 + 2] * b[8 + j]) +
                             a[i * 4 + 3] * b[12 + j];
        }
    }
    return result;
}

Matrix4x4& Matrix4x4::operator*=(const Matrix4x4& aRight)
{
    *this = *this * aRight;
    return *this;
}

Vector4<float> operator*(const Vector4<float>& aVector, const Matrix4x4& aMatrix)
{
    const float* m = aMatrix.GetData();
    const auto column = [&](int aColumn)
    {
        return ((aVector.x * m[aColumn] + aVector.y * m[4 + aColumn]) + aVector.z * m[8 + aColumn]) +
               aVector.w * m[12 + aColumn];
    };
    return {column(0), column(1), column(2), column(3)};
}

Matrix4x4 Matrix4x4::Inverse(const Matrix4x4& aMatrix)
{
    const float* m = aMatrix.GetData();
    float inv[ELEMENT_COUNT];

    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
             m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
             m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
             m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
              m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
             m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
             m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
             m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
              m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
             m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
              m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
              m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
             m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];

    // Expanded along the first row.
    const float determinant = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (determinant == 0.0f || !std::isfinite(determinant))
    {
        return Matrix4x4();
    }

    const float reciprocal = 1.0f / determinant;
    Matrix4x4 result;
    float* out = result.GetData();
    for (int i = 0; i < ELEMENT_COUNT; ++i)
    {
        out[i] = inv[i] * reciprocal;
    }
    return result;
}

void Matrix4x4::Decompose(const Matrix4x4& aMatrix, Vector3<float>& outTranslation, Quaternion& outRotation,
                          Vector3<float>& outScale)
{
    const Matrix4x4& m = aMatrix;
    outScale = {m.GetRow(1).Length(), m.GetRow(2).Length(), m.GetRow(3).Length()};
    outTranslation = {m(4, 1), m(4, 2), m(4, 3)};

    if (outScale.x == 0.0f || outScale.y == 0.0f || outScale.z == 0.0f)
    {
        outRotation = Quaternion();
        return;
    }

    const float scales[3] = {outScale.x, outScale.y, outScale.z};
    float r[3][3];
    for (int row = 0; row < 3; ++row)
    {
        const float reciprocal = 1.0f / scales[row];
        for (int column = 0; column < 3; ++column)
        {
            r[row][column] = m(row + 1, column + 1) * reciprocal;
        }
    }
    const float r11 = r[0][0], r12 = r[0][1], r13 = r[0][2];
    const float r21 = r[1][0], r22 = r[1][1], r23 = r[1][2];
    const float r31 = r[2][0], r32 = r[2][1], r33 = r[2][2];

    const float candidates[4] = {r11 + r22 + r33, r11 - r22 - r33, r22 - r11 - r33, r33 - r11 - r22};
    int winner = 0;
    for (int i = 1; i < 4; ++i)
    {
        // Strictly greater: a tie keeps the earlier candidate.
        if (candidates[i] > candidates[winner])
        {
            winner = i;
        }
    }
    const float big = std::sqrt(candidates[winner] + 1.0f) * 0.5f;
    const float mult = 0.25f / big;
    switch (winner)
    {
    case 0:
        outRotation = {big, (r23 - r32) * mult, (r31 - r13) * mult, (r12 - r21) * mult};
        break;
    case 1:
        outRotation = {(r23 - r32) * mult, big, (r12 + r21) * mult, (r31 + r13) * mult};
        break;
    case 2:
        outRotation = {(r31 - r13) * mult, (r12 + r21) * mult, big, (r23 + r32) * mult};
        break;
    default:
        outRotation = {(r12 - r21) * mult, (r31 + r13) * mult, (r23 + r32) * mult, big};
        break;
    }
}

Matrix4x4 Matrix4x4::CreateScale(const Vector3<float>& aScale)
{
    Matrix4x4 result;
    result(1, 1) = aScale.x;
    result(2, 2) = aScale.y;
    result(3, 3) = aScale.z;
    return result;
}

Matrix4x4 Matrix4x4::CreateRotation(const Quaternion& aRotation)
{
    const float w = aRotation.w, x = aRotation.x, y = aRotation.y, z = aRotation.z;
    Matrix4x4 result;
    result.SetRow(1, {1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + w * z), 2.0f * (x * z - w * y), 0.0f});
    result.SetRow(2, {2.0f * (x * y - w * z), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z + w * x), 0.0f});
    result.SetRow(3, {2.0f * (x * z + w * y), 2.0f * (y * z - w * x), 1.0f - 2.0f * (x * x + y * y), 0.0f});
    return result;
}

Matrix4x4 Matrix4x4::CreateTranslation(const Vector3<float>& aTranslation)
{
    Matrix4x4 result;
    result.SetRow(4, {aTranslation.x, aTranslation.y, aTranslation.z, 1.0f});
    return result;
}

Matrix4x4 ComposeTransformMatrix(const Vector3<float>& aPosition, const Vector3<float>& aRotationDegrees,
                                 const Vector3<float>& aScale)
{
    const float a = aRotationDegrees.x * DEGREES_TO_RADIANS * 0.5f;
    const float b = aRotationDegrees.y * DEGREES_TO_RADIANS * 0.5f;
    const float c = aRotationDegrees.z * DEGREES_TO_RADIANS * 0.5f;
    const float cx = std::cos(a), sx = std::sin(a);
    const float cy = std::cos(b), sy = std::sin(b);
    const float cz = std::cos(c), sz = std::sin(c);
    const Quaternion rotation(cx * cy * cz + sx * sy * sz, sx * cy * cz - cx * sy * sz,
                              cx * sy * cz + sx * cy * sz, cx * cy * sz - sx * sy * cz);

    Matrix4x4 result = Matrix4x4::CreateRotation(rotation);
    const float scales[3] = {aScale.x, aScale.y, aScale.z};
    for (int row = 1; row <= 3; ++row)
    {
        for (int column = 1; column <= 4; ++column)
        {
            result(row, column) *= scales[row - 1];
        }
    }
    result.SetRow(4, {aPosition.x, aPosition.y, aPosition.z, 1.0f});
    return result;
}
} // namespace Qel
