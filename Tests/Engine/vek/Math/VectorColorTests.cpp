#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"
#include "vek/Math/Vector4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

using Qel::Color;
using Qel::Vector2;
using Qel::Vector3;
using Qel::Vector4;

TEST(Vector, TheSceneNameIsTheSameType)
{
    static_assert(std::is_same_v<CommonUtilities::Vector3<float>, Qel::Vector3<float>>);
    const CommonUtilities::Vector3<float> fromScene(1, 2, 3);
    const Qel::Vector3<float> engine = fromScene;
    EXPECT_EQ(engine, Vector3<float>(1, 2, 3));
}

TEST(Vector, ArithmeticIsComponentWise)
{
    EXPECT_EQ(Vector3<float>(1, 2, 3) + Vector3<float>(4, 5, 6), Vector3<float>(5, 7, 9));
    EXPECT_EQ(Vector3<float>(1, 2, 3) - Vector3<float>(4, 5, 6), Vector3<float>(-3, -3, -3));
    EXPECT_EQ(2.0f * Vector2<float>(1, -2), Vector2<float>(2, -4));
    EXPECT_EQ(Vector4<float>(2, 4, 6, 8) / 2.0f, Vector4<float>(1, 2, 3, 4));
    EXPECT_EQ(-Vector2<int>(3, -4), Vector2<int>(-3, 4));
    EXPECT_EQ(Vector2<float>(Vector2<int>(1920, 1080)), Vector2<float>(1920.0f, 1080.0f));
}

TEST(Vector, DotCrossAndLength)
{
    const Vector3<float> x(1, 0, 0);
    const Vector3<float> y(0, 1, 0);
    EXPECT_EQ(x.Cross(y), Vector3<float>(0, 0, 1));
    EXPECT_EQ(y.Cross(x), Vector3<float>(0, 0, -1));
    EXPECT_EQ(Vector3<float>(1, 2, 3).Dot({4, -5, 6}), 12.0f);
    EXPECT_EQ(Vector2<float>(3, 4).Length(), 5.0f);
    EXPECT_EQ(Vector4<float>(1, 1, 1, 1).LengthSqr(), 4.0f);
}

TEST(Vector, NormalizingKeepsDirectionAndLeavesZeroAlone)
{
    const Vector3<float> unit = Vector3<float>(0, 3, 4).GetNormalized();
    EXPECT_NEAR(unit.Length(), 1.0f, 1e-6f);
    EXPECT_NEAR(unit.y, 0.6f, 1e-6f);
    Vector3<float> zero;
    zero.Normalize();
    EXPECT_EQ(zero, Vector3<float>());
    EXPECT_EQ(Vector2<float>().GetNormalized(), Vector2<float>());
}

TEST(ColorChannels, DefaultIsAllZero)
{
    const Color color;
    EXPECT_EQ(color, Color(0, 0, 0, 0));
}

TEST(ColorChannels, AsLinearUsesTheLinearSegmentBelowTheThreshold)
{
    const Color dark = Color(0.04f, 0.0f, 0.02f, 0.3f).AsLinear();
    EXPECT_FLOAT_EQ(dark.r, 0.04f / 12.92f);
    EXPECT_EQ(dark.g, 0.0f);
    EXPECT_FLOAT_EQ(dark.b, 0.02f / 12.92f);
    EXPECT_EQ(dark.a, 0.3f);
}

TEST(ColorChannels, AsLinearUsesThePowerCurveFromTheThresholdUp)
{
    const Color bright = Color(1.0f, 0.5f, 0.04045f, 1.0f).AsLinear();
    EXPECT_NEAR(bright.r, 1.0f, 1e-6f);
    EXPECT_NEAR(bright.g, 0.214041f, 1e-5f);
    EXPECT_NEAR(bright.b, std::pow((0.04045f + 0.055f) / 1.055f, 2.4f), 1e-7f);
    EXPECT_EQ(bright.a, 1.0f);
    // The two segments meet: no visible step at the threshold.
    EXPECT_NEAR(bright.b, 0.04045f / 12.92f, 1e-5f);
}
