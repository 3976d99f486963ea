#include "MatrixTestHelpers.h"
#include "Support/AssertCapture.h"
#include "vek/Math/Matrix4x4.h"

#include <gtest/gtest.h>

#include <cmath>

using Qel::Matrix4x4;
using Qel::Vector3;
using Qel::Vector4;
using QelTest::ExpectMatrixNear;
using QelTest::MatrixFromRows;

namespace
{
const Matrix4x4 SAMPLE = MatrixFromRows({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}});
const Matrix4x4 INVERTIBLE = MatrixFromRows({{2, 0, 1, 0}, {1, 3, 0, 2}, {0, 1, 4, 1}, {3, 0, 0, 5}});
} // namespace

TEST(MatrixAccess, DefaultIsIdentityAndRowsAreStoredInMemoryOrder)
{
    const Matrix4x4 identity;
    for (int row = 1; row <= 4; ++row)
    {
        for (int column = 1; column <= 4; ++column)
        {
            EXPECT_EQ(identity(row, column), row == column ? 1.0f : 0.0f);
        }
    }
    // Translation in the fourth row is elements 13 to 15 counting from 1.
    const Matrix4x4 moved = Matrix4x4::CreateTranslation({7, 8, 9});
    EXPECT_EQ(moved.GetData()[12], 7.0f);
    EXPECT_EQ(moved.GetData()[13], 8.0f);
    EXPECT_EQ(moved.GetData()[14], 9.0f);
    EXPECT_EQ(SAMPLE(2, 3), 7.0f);
    EXPECT_EQ(SAMPLE.GetData()[6], 7.0f);
}

TEST(MatrixAccess, OutOfRangeIndexesFailTheAssertionAndTouchNothing)
{
    QelTest::AssertCapture capture;
    Matrix4x4 matrix = SAMPLE;
    EXPECT_EQ(std::as_const(matrix)(0, 1), 0.0f);
    EXPECT_EQ(std::as_const(matrix)(5, 1), 0.0f);
    matrix(1, 0) = 99.0f;
    matrix(4, 5) = 99.0f;
    EXPECT_EQ(matrix, SAMPLE);
    ASSERT_EQ(capture.GetCount(), 4);
    EXPECT_EQ(capture.GetFailures()[0],
              "aRow > 0 && aRow < 5 && aColumn > 0 && aColumn < 5 && \"Argument out of bounds\"");
}

TEST(MatrixProduct, IdentityIsNeutralOnBothSides)
{
    const Matrix4x4 identity;
    EXPECT_EQ(identity * SAMPLE, SAMPLE);
    EXPECT_EQ(SAMPLE * identity, SAMPLE);
}

TEST(MatrixProduct, RowIOfTheResultIsRowIOfTheLeftTimesTheRight)
{
    const Matrix4x4 product = SAMPLE * INVERTIBLE;
    for (int row = 1; row <= 4; ++row)
    {
        const Vector4<float> expected = SAMPLE.GetRow(row) * INVERTIBLE;
        const Vector4<float> actual = product.GetRow(row);
        EXPECT_EQ(actual, expected) << "row " << row;
    }
    EXPECT_EQ(product(1, 1), 1 * 2 + 2 * 1 + 3 * 0 + 4 * 3);
    EXPECT_EQ(product(4, 4), 13 * 0 + 14 * 2 + 15 * 1 + 16 * 5);

    Matrix4x4 inPlace = SAMPLE;
    inPlace *= INVERTIBLE;
    EXPECT_EQ(inPlace, product);
}

TEST(MatrixProduct, TheLeftOperandIsAppliedFirst)
{
    const Matrix4x4 scale = Matrix4x4::CreateScale({2, 2, 2});
    const Matrix4x4 move = Matrix4x4::CreateTranslation({1, 0, 0});
    const Vector4<float> point(1, 0, 0, 1);
    EXPECT_EQ(point * (scale * move), Vector4<float>(3, 0, 0, 1));
    EXPECT_EQ(point * (move * scale), Vector4<float>(4, 0, 0, 1));
    // Directions (w = 0) ignore the translation.
    EXPECT_EQ(Vector4<float>(1, 0, 0, 0) * (scale * move), Vector4<float>(2, 0, 0, 0));
}

TEST(MatrixInverse, GivesTheIdentityWhenMultipliedBack)
{
    const Matrix4x4 inverse = Matrix4x4::Inverse(INVERTIBLE);
    ExpectMatrixNear(INVERTIBLE * inverse, Matrix4x4());
    ExpectMatrixNear(inverse * INVERTIBLE, Matrix4x4());

    const Matrix4x4 affine = Qel::ComposeTransformMatrix({10, -4, 3}, {30, 45, -60}, {2, 0.5f, 3});
    ExpectMatrixNear(affine * Matrix4x4::Inverse(affine), Matrix4x4(), 1e-4f);
    ExpectMatrixNear(Matrix4x4::Inverse(Matrix4x4::Inverse(affine)), affine, 1e-4f);
}

TEST(MatrixInverse, ASingularMatrixGivesTheIdentityInsteadOfInfinities)
{
    EXPECT_EQ(Matrix4x4::Inverse(SAMPLE), Matrix4x4());
    EXPECT_EQ(Matrix4x4::Inverse(Matrix4x4::CreateScale({1, 0, 1})), Matrix4x4());
}

TEST(ComposeTransform, UniformScaleAndPositionWithoutRotation)
{
    const Matrix4x4 m = Qel::ComposeTransformMatrix({1, 2, 3}, {0, 0, 0}, {2, 2, 2});
    EXPECT_EQ(m, MatrixFromRows({{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {1, 2, 3, 1}}));
}

TEST(ComposeTransform, RotationsTurnTheAxesTheRowVectorWay)
{
    const Matrix4x4 aboutZ = Qel::ComposeTransformMatrix({}, {0, 0, 90}, {1, 1, 1});
    const Vector4<float> x = Vector4<float>(1, 0, 0, 0) * aboutZ;
    EXPECT_NEAR(x.x, 0.0f, 1e-6f);
    EXPECT_NEAR(x.y, 1.0f, 1e-6f);
    EXPECT_NEAR(x.z, 0.0f, 1e-6f);

    const Matrix4x4 aboutY = Qel::ComposeTransformMatrix({}, {0, 90, 0}, {1, 1, 1});
    const Vector4<float> turned = Vector4<float>(1, 0, 0, 0) * aboutY;
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.z, -1.0f, 1e-6f);
}

TEST(ComposeTransform, AppliesScaleThenRotationThenTranslation)
{
    const Vector3<float> position(5, 6, 7);
    const Vector3<float> rotation(0, 0, 90);
    const Vector3<float> scale(2, 3, 4);
    const Matrix4x4 composed = Qel::ComposeTransformMatrix(position, rotation, scale);
    const Matrix4x4 stepwise = Matrix4x4::CreateScale(scale) *
                               Qel::ComposeTransformMatrix({}, rotation, {1, 1, 1}) *
                               Matrix4x4::CreateTranslation(position);
    ExpectMatrixNear(composed, stepwise);
    // (1, 0, 0) is scaled to (2, 0, 0), turned to (0, 2, 0), then moved.
    const Vector4<float> p = Vector4<float>(1, 0, 0, 1) * composed;
    EXPECT_NEAR(p.x, 5.0f, 1e-5f);
    EXPECT_NEAR(p.y, 8.0f, 1e-5f);
    EXPECT_NEAR(p.z, 7.0f, 1e-5f);
}
