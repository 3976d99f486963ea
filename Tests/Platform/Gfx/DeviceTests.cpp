#include "Support/GfxWindow.h"

#include <epoxy/gl.h>
#include <future>
#include <gtest/gtest.h>

namespace
{
using namespace Platform::Gfx;

Texture2DDesc ColourDesc(std::uint32_t aWidth, std::uint32_t aHeight)
{
    Texture2DDesc desc;
    desc.width = aWidth;
    desc.height = aHeight;
    desc.format = Format::R8G8B8A8_UNORM;
    desc.bindFlags = BIND_SHADER_RESOURCE | BIND_RENDER_TARGET;
    return desc;
}

// The stored rows of a texture in GL order (row 0 first), bypassing the layer's read-back.
std::vector<std::uint8_t> RawRows(Texture2D& aTexture)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(aTexture.GetDesc().width) *
                                     aTexture.GetDesc().height * 4);
    glGetTextureImage(aTexture.Realise(), 0, GL_RGBA, GL_UNSIGNED_BYTE, static_cast<GLsizei>(pixels.size()),
                      pixels.data());
    return pixels;
}

class DeviceTest : public ::testing::Test
{
protected:
    QelTest::GfxWindow myGfx{32, 16};
};

TEST_F(DeviceTest, DescriptionsTheLayerCannotMakeGiveNoTexture)
{
    ASSERT_TRUE(myGfx.IsReady());
    Device& device = myGfx.GetDevice();
    EXPECT_EQ(device.CreateTexture2D(ColourDesc(0, 4)), nullptr);
    Texture2DDesc unknown = ColourDesc(4, 4);
    unknown.format = Format::Unknown;
    EXPECT_EQ(device.CreateTexture2D(unknown), nullptr);
    Texture2DDesc array = ColourDesc(4, 4);
    array.arraySize = 2;
    EXPECT_EQ(device.CreateTexture2D(array), nullptr);

    Texture2DDesc fullChain = ColourDesc(16, 4);
    fullChain.mipLevels = 0;
    const Texture2DPtr texture = device.CreateTexture2D(fullChain);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetDesc().mipLevels, 5u);

    // Views need the matching bind flag.
    Texture2DDesc sampledOnly = ColourDesc(4, 4);
    sampledOnly.bindFlags = BIND_SHADER_RESOURCE;
    const Texture2DPtr sampled = device.CreateTexture2D(sampledOnly);
    EXPECT_EQ(device.CreateRenderTargetView(sampled), nullptr);
    EXPECT_EQ(device.CreateDepthStencilView(sampled), nullptr);
    EXPECT_NE(device.CreateShaderResourceView(sampled), nullptr);
}

TEST_F(DeviceTest, InitialPixelsAreUploadedFirstRowFirstAndPitchIsHonoured)
{
    ASSERT_TRUE(myGfx.IsReady());
    // Two rows of two pixels with four bytes of padding after each row.
    const std::uint8_t source[] = {1, 2,  3,  4,  5,  6,  7,  8,  0xEE, 0xEE, 0xEE, 0xEE,
                                   9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE};
    const SubresourceData data{source, 12};
    const Texture2DPtr texture = myGfx.GetDevice().CreateTexture2D(ColourDesc(2, 2), std::span(&data, 1));
    ASSERT_NE(texture, nullptr);
    const std::vector<std::uint8_t> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(RawRows(*texture), expected);
    EXPECT_FALSE(texture->HasPendingData());

    // Packed rows, by a pitch of zero and by the row's own length, upload the same.
    const std::uint8_t packed[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (const std::uint32_t pitch : {0u, 8u})
    {
        const SubresourceData rows{packed, pitch};
        const Texture2DPtr tight = myGfx.GetDevice().CreateTexture2D(ColourDesc(2, 2), std::span(&rows, 1));
        ASSERT_NE(tight, nullptr);
        EXPECT_EQ(RawRows(*tight), expected) << pitch;
    }
}

TEST_F(DeviceTest, ResourcesMadeOnAWorkerWaitOnTheCpuUntilTheMainThreadUsesThem)
{
    ASSERT_TRUE(myGfx.IsReady());
    Device& device = myGfx.GetDevice();
    const std::vector<std::uint8_t> pixels = {10, 20, 30, 40, 50, 60, 70, 80};
    const std::vector<std::uint8_t> spirv =
        QelTest::ReadBytes(QelTest::GetTestShaderFolder() / "TestFill_PS.cso");
    struct Made
    {
        Texture2DPtr texture;
        ShaderResourceViewPtr view;
        ShaderPtr shader;
        bool onMainThread = true;
    };
    Made made = std::async(std::launch::async,
                           [&]
                           {
                               const SubresourceData data{pixels.data(), 0};
                               Made result;
                               result.texture = device.CreateTexture2D(ColourDesc(2, 1), std::span(&data, 1));
                               result.view = device.CreateShaderResourceView(result.texture,
                                                                             Format::R8G8B8A8_UNORM_SRGB);
                               result.shader = device.CreatePixelShader(spirv);
                               result.onMainThread = device.IsMainThread();
                               return result;
                           })
                    .get();
    EXPECT_FALSE(made.onMainThread);
    ASSERT_NE(made.texture, nullptr);
    ASSERT_NE(made.view, nullptr);
    ASSERT_NE(made.shader, nullptr);
    EXPECT_FALSE(made.texture->IsRealised());
    EXPECT_TRUE(made.texture->HasPendingData());
    const DeviceCorePtr& core = device.GetCore();
    ASSERT_EQ(core->GetDeferredCount(), 3u);

    // The main thread makes them oldest first, as many as it asks for; one dropped meanwhile is skipped.
    std::async(std::launch::async, [&] { static_cast<void>(device.CreateTexture2D(ColourDesc(2, 1))); })
        .get();
    EXPECT_EQ(core->RealiseDeferred(1), 1u);
    EXPECT_TRUE(made.texture->IsRealised());
    EXPECT_EQ(core->GetDeferredCount(), 3u);
    EXPECT_EQ(std::async(std::launch::async, [&] { return core->RealiseDeferred(8); }).get(), 0u)
        << "made off the main thread";

    // First use on the main thread makes the GL objects; the sRGB view is a view of its own.
    const unsigned int viewName = made.view->Realise();
    EXPECT_NE(viewName, 0u);
    EXPECT_NE(viewName, made.texture->Realise());
    EXPECT_EQ(RawRows(*made.texture), pixels);
    EXPECT_NE(made.shader->Realise(), 0u);
    EXPECT_EQ(core->RealiseDeferred(8), 3u);
    EXPECT_EQ(core->GetDeferredCount(), 0u);
}

TEST_F(DeviceTest, ShadersAreCheckedBeforeTheyAreKept)
{
    ASSERT_TRUE(myGfx.IsReady());
    Device& device = myGfx.GetDevice();
    const std::vector<std::uint8_t> vertex =
        QelTest::ReadBytes(QelTest::GetTestShaderFolder() / "TestFill_VS.cso");
    ASSERT_FALSE(vertex.empty());
    EXPECT_NE(device.CreateVertexShader(vertex), nullptr);
    EXPECT_EQ(device.CreateVertexShader(std::vector<std::uint8_t>(64, 7)), nullptr);
    EXPECT_EQ(device.CreatePixelShader({}), nullptr);
    // A truncated module passes the header check, but the driver refuses it on the main thread.
    std::vector<std::uint8_t> truncated(vertex.begin(), vertex.begin() + 40);
    EXPECT_EQ(device.CreateVertexShader(truncated), nullptr);
}

TEST_F(DeviceTest, ATextureDroppedOnAWorkerIsDeletedAtTheNextFlush)
{
    ASSERT_TRUE(myGfx.IsReady());
    Texture2DPtr texture = myGfx.GetDevice().CreateTexture2D(ColourDesc(4, 4));
    ASSERT_NE(texture, nullptr);
    const GLuint name = texture->Realise();
    ASSERT_TRUE(glIsTexture(name));
    std::async(std::launch::async, [moved = std::move(texture)]() mutable { moved.reset(); }).get();
    EXPECT_TRUE(glIsTexture(name)) << "deleted off the main thread";
    myGfx.GetContext().Flush();
    EXPECT_FALSE(glIsTexture(name));
}
} // namespace
