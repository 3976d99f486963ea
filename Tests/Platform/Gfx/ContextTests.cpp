#include "Support/GfxWindow.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <epoxy/gl.h>
#include <future>
#include <gtest/gtest.h>

namespace
{
using namespace Platform::Gfx;

class ContextTest : public ::testing::Test
{
protected:
    RenderTargetViewPtr BackBufferView(Format aFormat)
    {
        return myGfx.GetDevice().CreateRenderTargetView(myGfx.GetSwapChain().GetBuffer(0), aFormat);
    }
    DepthStencilViewPtr MakeDepth(std::uint32_t aWidth, std::uint32_t aHeight, Texture2DPtr& aTexture)
    {
        Texture2DDesc desc;
        desc.width = aWidth;
        desc.height = aHeight;
        desc.format = Format::R32_TYPELESS;
        desc.bindFlags = BIND_DEPTH_STENCIL | BIND_SHADER_RESOURCE;
        aTexture = myGfx.GetDevice().CreateTexture2D(desc);
        return myGfx.GetDevice().CreateDepthStencilView(aTexture, Format::D32_FLOAT);
    }

    QelTest::GfxWindow myGfx{40, 30};
};

TEST_F(ContextTest, TheBackBufferFollowsTheWindowAndReadsBackAtItsSize)
{
    ASSERT_TRUE(myGfx.IsReady());
    const Texture2DPtr buffer = myGfx.GetSwapChain().GetBuffer(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->GetDesc().width, 40u);
    EXPECT_EQ(buffer->GetDesc().height, 30u);
    EXPECT_EQ(buffer->GetDesc().format, Format::B8G8R8A8_UNORM);
    EXPECT_EQ(myGfx.GetSwapChain().GetBuffer(1), nullptr);
    EXPECT_EQ(myGfx.GetContext().ReadColorPixels(buffer).size(), 40u * 30u * 4u);
}

TEST_F(ContextTest, AnSrgbViewEncodesALinearClearAndAPlainViewStoresItRaw)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    const float linearGrey[4] = {0.2140411f, 0.2140411f, 0.2140411f, 0.25f};

    context.ClearRenderTargetView(BackBufferView(Format::B8G8R8A8_UNORM_SRGB), linearGrey);
    std::vector<std::uint8_t> pixels = context.ReadColorPixels(myGfx.GetSwapChain().GetBuffer(0));
    ASSERT_FALSE(pixels.empty());
    EXPECT_NEAR(pixels[0], 128, 1);
    EXPECT_NEAR(pixels[1], 128, 1);
    EXPECT_NEAR(pixels[2], 128, 1);
    EXPECT_NEAR(pixels[3], 64, 1);

    context.ClearRenderTargetView(BackBufferView(Format::Unknown), linearGrey);
    pixels = context.ReadColorPixels(myGfx.GetSwapChain().GetBuffer(0));
    EXPECT_NEAR(pixels[0], 55, 1); // 0.214 * 255 stored as it is

    // Of two clears before a read the later one stands, through its own view, even with the other
    // view bound and the state cleared in between.
    const RenderTargetViewPtr srgb = BackBufferView(Format::B8G8R8A8_UNORM_SRGB);
    context.SetRenderTargets(srgb, nullptr);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    context.ClearRenderTargetView(srgb, black);
    context.ClearRenderTargetView(BackBufferView(Format::Unknown), linearGrey);
    context.ClearState();
    pixels = context.ReadColorPixels(myGfx.GetSwapChain().GetBuffer(0));
    EXPECT_NEAR(pixels[0], 55, 1);
    EXPECT_NEAR(pixels[3], 64, 1);
}

TEST_F(ContextTest, ClearsIgnoreWriteMasksLeftByEarlierDrawing)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    Texture2DPtr depthTexture;
    const DepthStencilViewPtr depth = MakeDepth(8, 4, depthTexture);
    ASSERT_NE(depth, nullptr);
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};

    // A frame that ended with depth and colour writes off, as a sprite pass leaves them.
    glDepthMask(GL_FALSE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    context.ClearDepthStencilView(depth, CLEAR_DEPTH | CLEAR_STENCIL, 1.0f, 0);
    context.ClearRenderTargetView(BackBufferView(Format::Unknown), red);

    const std::vector<float> values = context.ReadDepthPixels(depthTexture);
    ASSERT_EQ(values.size(), 32u);
    for (float value : values)
    {
        EXPECT_EQ(value, 1.0f);
    }
    EXPECT_EQ(context.ReadColorPixels(myGfx.GetSwapChain().GetBuffer(0))[0], 255);
    GLboolean depthMask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_FALSE) << "the caller's mask is restored";
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    // Without the depth flag nothing is cleared.
    context.ClearDepthStencilView(depth, 0, 1.0f, 0);
    context.ClearDepthStencilView(depth, CLEAR_STENCIL, 0.0f, 0);
    EXPECT_EQ(context.ReadDepthPixels(depthTexture)[0], 1.0f);
}

TEST_F(ContextTest, TheFrameDrawnIntoTheWindowReadsBackWithItsDepthAndItsClears)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    Device& device = myGfx.GetDevice();
    const Texture2DPtr buffer = myGfx.GetSwapChain().GetBuffer(0);
    Texture2DPtr depthTexture;
    const DepthStencilViewPtr depth = MakeDepth(40, 30, depthTexture);
    const RenderTargetViewPtr target = BackBufferView(Format::B8G8R8A8_UNORM_SRGB);
    context.VSSetShader(
        device.CreateVertexShader(QelTest::ReadBytes(QelTest::GetTestShaderFolder() / "TestFill_VS.cso")));
    context.PSSetShader(
        device.CreatePixelShader(QelTest::ReadBytes(QelTest::GetTestShaderFolder() / "TestFill_PS.cso")));
    ASSERT_NE(context.GetVertexShader(), nullptr);
    ASSERT_NE(context.GetPixelShader(), nullptr);
    RasterizerDesc bothFaces;
    bothFaces.cullMode = CullMode::None;
    context.RSSetState(device.CreateRasterizerState(bothFaces));
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const std::array<std::uint8_t, 4> filled = {255, 187, 137, 255}; // (1, 0.5, 0.25) encoded

    // The fill lies at depth 0.5: behind a depth cleared to 0.25, in front of one cleared to 1.
    context.ClearRenderTargetView(target, black);
    context.ClearDepthStencilView(depth, CLEAR_DEPTH, 0.25f, 0);
    context.SetRenderTargets(target, depth);
    context.SetViewport({0.0f, 0.0f, 40.0f, 30.0f, 0.0f, 1.0f});
    GLint drawFramebuffer = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    EXPECT_EQ(drawFramebuffer, 0) << "the back buffer with its depth is drawn in the window";
    context.Draw(3, 0);
    std::vector<std::uint8_t> pixels = context.ReadColorPixels(buffer);
    ASSERT_EQ(pixels.size(), 40u * 30u * 4u);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[3], 255);
    EXPECT_NEAR(context.ReadDepthPixels(depthTexture).at(40 * 15 + 20), 0.25f, 1e-6f);

    context.ClearDepthStencilView(depth, CLEAR_DEPTH, 1.0f, 0);
    context.SetRenderTargets(target, depth);
    context.Draw(3, 0);
    pixels = context.ReadColorPixels(buffer);
    EXPECT_TRUE(std::equal(filled.begin(), filled.end(), pixels.begin() + (40 * 15 + 20) * 4));
    const std::vector<float> values = context.ReadDepthPixels(depthTexture);
    EXPECT_NEAR(values.front(), 0.5f, 1e-6f);
    EXPECT_NEAR(values.back(), 0.5f, 1e-6f);

    // Without a depth buffer bound nothing is depth-tested, though the window keeps a depth plane
    // holding the last draw's 0.5.
    context.ClearRenderTargetView(target, black);
    context.SetRenderTargets(target, nullptr);
    context.Draw(3, 0);
    pixels = context.ReadColorPixels(buffer);
    EXPECT_TRUE(std::equal(filled.begin(), filled.end(), pixels.begin()));

    // The present shows the frame in the window, here only its clear, not the texture's older fill
    // (the read above moved that frame to the texture).
    context.ClearRenderTargetView(target, black);
    context.SetRenderTargets(target, nullptr);
    myGfx.GetSwapChain().Present(0);
    std::array<std::uint8_t, 4> shown{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(20, 15, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
    EXPECT_EQ(shown, (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
}

TEST_F(ContextTest, BindingKeepsViewsAliveAndClearStateDropsThem)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    Texture2DPtr depthTexture;
    DepthStencilViewPtr depth = MakeDepth(40, 30, depthTexture);
    RenderTargetViewPtr target = BackBufferView(Format::B8G8R8A8_UNORM_SRGB);
    const std::weak_ptr<RenderTargetView> watched = target;
    context.SetRenderTargets(target, depth);
    context.SetViewport({0.0f, 0.0f, 40.0f, 30.0f, 0.0f, 1.0f});
    target.reset();
    EXPECT_FALSE(watched.expired());
    EXPECT_EQ(context.GetBoundDepth(), depth);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 40);
    EXPECT_EQ(viewport[3], 30);
    // A viewport given from the top-left lands at the matching GL rows.
    context.SetViewport({0.0f, 10.0f, 20.0f, 5.0f, 0.0f, 1.0f});
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[1], 15);

    context.ClearState();
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(context.GetBoundDepth(), nullptr);
    EXPECT_EQ(context.GetViewport().width, 0.0f);
}

TEST_F(ContextTest, AnUnmapSendsTheBytesWrittenAndNoneOfTheRest)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    BufferDesc desc;
    desc.byteWidth = 16;
    desc.usage = Usage::Dynamic;
    desc.bindFlags = BIND_VERTEX_BUFFER;
    desc.cpuAccessFlags = CPU_ACCESS_WRITE;
    const BufferPtr buffer = myGfx.GetDevice().CreateBuffer(desc);
    const auto sent = [&]
    {
        std::array<std::uint32_t, 4> words{};
        glGetNamedBufferSubData(buffer->Realise(), 0, sizeof(words), words.data());
        return words;
    };
    const auto write = [&](std::uint32_t aValue, std::uint32_t aBytes)
    {
        auto* words = static_cast<std::uint32_t*>(context.Map(buffer));
        ASSERT_NE(words, nullptr);
        std::fill(words, words + 4, aValue);
        context.Unmap(buffer, aBytes);
    };
    write(1, UINT32_MAX);
    EXPECT_EQ(sent(), (std::array<std::uint32_t, 4>{1, 1, 1, 1}));
    write(2, 8);
    const std::array<std::uint32_t, 4> partly = sent();
    EXPECT_EQ(partly[0], 2u);
    EXPECT_EQ(partly[1], 2u);
    EXPECT_NE(partly[2], 2u) << "staged beyond the written bytes, so never sent";
    write(3, 0);
    EXPECT_FALSE(buffer->IsMapped()) << "an unmap that sends nothing still ends the map";
    EXPECT_EQ(sent()[0], 2u);
}

TEST_F(ContextTest, CallsFromAnotherThreadTouchNothing)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    const RenderTargetViewPtr target = BackBufferView(Format::Unknown);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    context.ClearRenderTargetView(target, black);
    std::async(std::launch::async,
               [&]
               {
                   context.ClearRenderTargetView(target, white);
                   context.SetRenderTargets(target, nullptr);
               })
        .get();
    EXPECT_EQ(context.ReadColorPixels(myGfx.GetSwapChain().GetBuffer(0))[0], 0);
    EXPECT_EQ(context.GetBoundTarget(), nullptr);
}

TEST_F(ContextTest, ResizeFollowsTheWindowAndRefusesAZeroSize)
{
    ASSERT_TRUE(myGfx.IsReady());
    SwapChain& chain = myGfx.GetSwapChain();
    EXPECT_TRUE(chain.ResizeBuffers(24, 12, Format::Unknown));
    EXPECT_EQ(chain.GetBuffer(0)->GetDesc().width, 24u);
    EXPECT_EQ(chain.GetBuffer(0)->GetDesc().format, Format::B8G8R8A8_UNORM);

    myGfx.GetWindow().SetSize(50, 20);
    const Platform::WindowSize drawable = myGfx.GetWindow().GetDrawableSize();
    EXPECT_TRUE(chain.ResizeBuffers(0, 0, Format::Unknown));
    EXPECT_EQ(chain.GetBuffer(0)->GetDesc().width, static_cast<std::uint32_t>(drawable.width));
    EXPECT_EQ(chain.GetBuffer(0)->GetDesc().height, static_cast<std::uint32_t>(drawable.height));

    EXPECT_FALSE(chain.ResizeBuffers(0, 7, Format::Unknown));
    EXPECT_EQ(chain.GetBuffer(0), nullptr);
    const std::uint32_t before = chain.GetPresentCount();
    chain.Present(0);
    EXPECT_EQ(chain.GetPresentCount(), before) << "nothing to present without a buffer";
}

TEST_F(ContextTest, TheFullScreenStateSwitchesBothWays)
{
    ASSERT_TRUE(myGfx.IsReady());
    SwapChain& chain = myGfx.GetSwapChain();
    EXPECT_FALSE(chain.IsFullscreen());
    chain.SetFullscreenState(true);
    EXPECT_TRUE(chain.IsFullscreen());
    EXPECT_NE(SDL_GetWindowFlags(myGfx.GetWindow().GetSdlWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    chain.SetFullscreenState(false);
    EXPECT_FALSE(chain.IsFullscreen());
    EXPECT_EQ(SDL_GetWindowFlags(myGfx.GetWindow().GetSdlWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(ContextTest, PresentSetsTheSwapIntervalItWasAskedFor)
{
    ASSERT_TRUE(myGfx.IsReady());
    SwapChain& chain = myGfx.GetSwapChain();
    chain.Present(1);
    EXPECT_EQ(chain.GetSwapInterval(), 1);
    chain.Present(0);
    EXPECT_EQ(chain.GetSwapInterval(), 0);
    EXPECT_EQ(chain.GetPresentCount(), 2u);
    // The image stays readable after the present, for tests of what was shown.
    const float green[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    myGfx.GetContext().ClearRenderTargetView(BackBufferView(Format::Unknown), green);
    chain.Present(0);
    EXPECT_EQ(myGfx.GetContext().ReadColorPixels(chain.GetBuffer(0))[1], 255);
}
} // namespace
