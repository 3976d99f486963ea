// The line drawer's vertices: ends moved as points by the render-state transform, colour untouched.
#include "vek/drawers/LinePrimitive.h"

#include <gtest/gtest.h>

namespace
{
void ExpectPosition(const Qel::impl::LineVertex& aVertex, float aX, float aY, float aZ)
{
    EXPECT_FLOAT_EQ(aVertex.position[0], aX);
    EXPECT_FLOAT_EQ(aVertex.position[1], aY);
    EXPECT_FLOAT_EQ(aVertex.position[2], aZ);
}

TEST(LineVertices, EndsMoveByTheTransformAndKeepTheColour)
{
    Qel::LinePrimitive line;
    line.color = Qel::Color(1.0f, 0.0f, 0.0f, 0.5f);
    line.fromPosition = {0.0f, 0.0f, 0.0f};
    line.toPosition = {10.0f, 0.0f, 0.0f};
    const auto vertices = Qel::impl::MakeLineVertices(
        line, Qel::Matrix4x4::CreateTranslation(Qel::Vector3<float>(5.0f, 5.0f, 0.0f)));
    ExpectPosition(vertices[0], 5.0f, 5.0f, 0.0f);
    ExpectPosition(vertices[1], 15.0f, 5.0f, 0.0f);
    for (const Qel::impl::LineVertex& vertex : vertices)
    {
        EXPECT_EQ(vertex.color[0], 1.0f);
        EXPECT_EQ(vertex.color[1], 0.0f);
        EXPECT_EQ(vertex.color[2], 0.0f);
        EXPECT_EQ(vertex.color[3], 0.5f);
    }
}

TEST(LineVertices, RowVectorsScaleBeforeTheyTranslate)
{
    Qel::LinePrimitive line;
    line.fromPosition = {1.0f, 2.0f, 3.0f};
    line.toPosition = {-1.0f, 0.0f, 4.0f};
    const Qel::Matrix4x4 transform =
        Qel::Matrix4x4::CreateScale(Qel::Vector3<float>(2.0f, 3.0f, 4.0f)) *
        Qel::Matrix4x4::CreateTranslation(Qel::Vector3<float>(10.0f, 20.0f, 30.0f));
    const auto vertices = Qel::impl::MakeLineVertices(line, transform);
    ExpectPosition(vertices[0], 12.0f, 26.0f, 42.0f);
    ExpectPosition(vertices[1], 8.0f, 20.0f, 46.0f);
}
} // namespace
