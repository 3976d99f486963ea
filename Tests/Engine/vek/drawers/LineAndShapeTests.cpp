// The line drawer and the custom-shape drawer on the device: a line in world space lands where the
// render state puts it, in its colour as authored; a drawer without shaders draws and counts nothing;
// the custom-shape drawer's resources draw a shape.
#include "Engine/vek/graphics/RenderFixture.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/CustomShapeDrawer.h"
#include "vek/drawers/LineDrawer.h"

#include <array>
#include <cstring>

namespace
{
class LineAndShapeTest : public QelTest::RenderFixture
{
protected:
    Qel::GraphicsStateStack& Stack() { return myGraphics->GetGraphicsStateStack(); }

    // Rows lit in a column, counted from the top.
    static std::vector<int> LitRows(const std::vector<std::uint8_t>& somePixels, int aX)
    {
        std::vector<int> rows;
        for (int row = 0; row < HEIGHT; ++row)
        {
            if (PixelAt(somePixels, aX, row)[0] > 40)
            {
                rows.push_back(row);
            }
        }
        return rows;
    }
};

TEST_F(LineAndShapeTest, ALineInWorldSpaceLandsWhereTheTransformPutsIt)
{
    Qel::LineDrawer& lines = *myGraphics->GetLineDrawer();
    ASSERT_TRUE(lines.IsInitialized());
    Stack().Push();
    Stack().Translate({5.0f, 24.5f, 0.0f});
    Qel::LinePrimitive line;
    line.color = Qel::Color(1.0f, 0.0f, 0.0f, 1.0f);
    line.fromPosition = {0.0f, 0.0f, 0.0f};
    line.toPosition = {40.0f, 0.0f, 0.0f};
    const std::uint32_t drawCallsBefore = Qel::Engine::GetDrawCallsThisFrame();
    lines.Draw(line);
    Stack().Pop();
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame(), drawCallsBefore + 1);
    EXPECT_EQ(lines.GetDrawnLineCount(), 1u);

    const std::vector<std::uint8_t> pixels = ReadPixels();
    // y 24.5 up from the bottom of 48 rows is row 23 from the top.
    EXPECT_EQ(LitRows(pixels, 20), std::vector<int>{23});
    EXPECT_RGB_NEAR(PixelAt(pixels, 20, 23), 255, 0, 0, 2);
    // The line runs from x 5 to x 45 only.
    EXPECT_RGB_NEAR(PixelAt(pixels, 2, 23), 0, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 50, 23), 0, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 6, 23), 255, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 44, 23), 255, 0, 0, 2);
}

TEST_F(LineAndShapeTest, LineColoursReachTheTargetAsAuthored)
{
    Qel::LinePrimitive line;
    line.color = Qel::Color(0.5f, 0.5f, 0.5f, 1.0f);
    line.fromPosition = {0.0f, 10.5f, 0.0f};
    line.toPosition = {64.0f, 10.5f, 0.0f};
    myGraphics->GetLineDrawer()->Draw(line);
    // 0.5 written through the sRGB target encodes as 188; had it been linearised first it would be 128.
    EXPECT_RGB_NEAR(PixelAt(ReadPixels(), 30, 37), 188, 188, 188, 2);
}

TEST_F(LineAndShapeTest, ALineDrawerWithoutShadersDrawsAndCountsNothing)
{
    Qel::LineDrawer unloaded;
    Qel::LinePrimitive line;
    line.color = Qel::Color(1.0f, 1.0f, 1.0f, 1.0f);
    line.fromPosition = {0.0f, 10.5f, 0.0f};
    line.toPosition = {64.0f, 10.5f, 0.0f};
    const std::uint32_t drawCallsBefore = Qel::Engine::GetDrawCallsThisFrame();
    unloaded.Draw(line);
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame(), drawCallsBefore);
    EXPECT_EQ(unloaded.GetDrawnLineCount(), 0u);
    EXPECT_TRUE(LitRows(ReadPixels(), 30).empty());

    // Shader files that are missing leave the drawer unbound, and its lines undrawn, though Init is true.
    // The cache forgets a shader whose file went once it is loaded again.
    std::filesystem::remove(CookedFolder() / "shaders/lineshader_PS.cso");
    EXPECT_EQ(Qel::DX11::LoadPixelShader("shaders/lineshader_PS"), nullptr);
    Qel::LineDrawer missing;
    EXPECT_TRUE(missing.Init());
    EXPECT_FALSE(missing.IsInitialized());
    missing.Draw(line);
    EXPECT_EQ(missing.GetDrawnLineCount(), 0u);
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame(), drawCallsBefore);
}

TEST_F(LineAndShapeTest, TheCustomShapeResourcesDrawAShape)
{
    Qel::CustomShapeDrawer& shapes = *myGraphics->GetCustomShapeDrawer();
    ASSERT_TRUE(shapes.IsInitialized());
    EXPECT_EQ(shapes.GetMaxVertexCount(), 69984u);
    ASSERT_NE(shapes.GetVertexBuffer(), nullptr);
    EXPECT_EQ(shapes.GetVertexBuffer()->GetDesc().byteWidth, 69984u * 36u);
    EXPECT_EQ(shapes.GetConstantBuffer()->GetDesc().byteWidth, 64u);

    // A green triangle over the left half, placed by the shape transform (a translation by 0, 0).
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    ASSERT_TRUE(shapes.Bind());
    const std::array<Qel::CustomShapeVertex, 3> triangle{{
        {{0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 0.0f}},
        {{0.0f, 48.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 1.0f}},
        {{32.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 0.0f}},
    }};
    void* vertices = context.Map(shapes.GetVertexBuffer());
    ASSERT_NE(vertices, nullptr);
    std::memcpy(vertices, triangle.data(), sizeof(triangle));
    context.Unmap(shapes.GetVertexBuffer());
    const Qel::Matrix4x4 identity;
    void* constants = context.Map(shapes.GetConstantBuffer());
    ASSERT_NE(constants, nullptr);
    std::memcpy(constants, &identity, sizeof(identity));
    context.Unmap(shapes.GetConstantBuffer());
    const std::array<Platform::Gfx::BufferPtr, 1> constantBuffers{shapes.GetConstantBuffer()};
    context.VSSetConstantBuffers(4, constantBuffers);
    const std::array<Platform::Gfx::BufferPtr, 1> buffers{shapes.GetVertexBuffer()};
    const std::array<std::uint32_t, 1> strides{36};
    const std::array<std::uint32_t, 1> offsets{0};
    context.IASetVertexBuffers(0, buffers, strides, offsets);
    context.Draw(3, 0);

    const std::vector<std::uint8_t> pixels = ReadPixels();
    EXPECT_RGB_NEAR(PixelAt(pixels, 2, 45), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 2, 10), 0, 255, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 40, 45), 0, 0, 0, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 30, 2), 0, 0, 0, 2);
}

TEST_F(LineAndShapeTest, ACustomShapeDrawerWithoutItsShadersStillInitialises)
{
    std::filesystem::remove(CookedFolder() / "shaders/custom_shape_VS.cso");
    EXPECT_EQ(Qel::DX11::LoadVertexShader("shaders/custom_shape_VS"), nullptr);
    Qel::CustomShapeDrawer shapes;
    EXPECT_TRUE(shapes.Init());
    EXPECT_FALSE(shapes.Bind());
    EXPECT_NE(shapes.GetVertexBuffer(), nullptr);
}
} // namespace
