#include "GraphicsFixture.h"

namespace
{
class TargetTest : public QelTest::GraphicsFixture
{
};

TEST_F(TargetTest, CopiesOfATargetShareTheViewAndReportTheSameSize)
{
    const Qel::RenderTarget& backBuffer = *Qel::DX11::GetBackBuffer();
    const Qel::RenderTarget copy = backBuffer;
    EXPECT_EQ(copy.GetView(), backBuffer.GetView());
    EXPECT_EQ(copy.GetSize(), backBuffer.GetSize());
    EXPECT_EQ(copy.GetSize(), (Qel::Vector2<int>{64, 48}));
    EXPECT_EQ(Qel::RenderTarget().GetSize(), (Qel::Vector2<int>{0, 0}));
    EXPECT_TRUE(Qel::RenderTarget().IsEmpty());
}

TEST_F(TargetTest, ActiveTargetBindsTheDepthViewOnlyWhenGiven)
{
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    const Qel::RenderTarget& backBuffer = *Qel::DX11::GetBackBuffer();
    const Qel::DepthBuffer& depth = *Qel::DX11::GetDepthBuffer();
    backBuffer.SetAsActiveTarget(nullptr);
    EXPECT_EQ(context.GetBoundTarget(), backBuffer.GetView());
    EXPECT_EQ(context.GetBoundDepth(), nullptr);
    backBuffer.SetAsActiveTarget(&depth);
    EXPECT_EQ(context.GetBoundDepth(), depth.GetDepthView());
    EXPECT_EQ(context.GetViewport().width, 64.0f);
    // An empty target binds nothing.
    Qel::RenderTarget().SetAsActiveTarget(&depth);
    EXPECT_EQ(context.GetBoundTarget(), backBuffer.GetView());
}

TEST_F(TargetTest, ADepthBufferHasAFullViewportAndClearsToTheGivenDepth)
{
    const Qel::DepthBuffer depth = Qel::DepthBuffer::Create({1280, 720});
    ASSERT_FALSE(depth.IsEmpty());
    const Platform::Gfx::Viewport& viewport = depth.GetViewport();
    EXPECT_EQ(viewport.topLeftX, 0.0f);
    EXPECT_EQ(viewport.width, 1280.0f);
    EXPECT_EQ(viewport.height, 720.0f);
    EXPECT_EQ(viewport.minDepth, 0.0f);
    EXPECT_EQ(viewport.maxDepth, 1.0f);
    EXPECT_EQ(depth.GetShaderView()->GetFormat(), Platform::Gfx::Format::R32_FLOAT);
    depth.Clear(0.25f, 0);
    const std::vector<float> values =
        Qel::DX11::GetContext()->ReadDepthPixels(depth.GetDepthView()->GetTexture());
    ASSERT_EQ(values.size(), 1280u * 720u);
    EXPECT_EQ(values.front(), 0.25f);
    EXPECT_EQ(values.back(), 0.25f);
}

TEST_F(TargetTest, AClearUsesTheColourAsGiven)
{
    // Through the back buffer's sRGB view a linear 0.5 is stored encoded as 188.
    Qel::DX11::GetBackBuffer()->Clear(Qel::Color(0.5f, 0.0f, 1.0f, 1.0f));
    const std::vector<std::uint8_t> pixels =
        Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    EXPECT_NEAR(pixels[0], 188, 1);
    EXPECT_EQ(pixels[2], 255);
}
} // namespace
