// Rewriting a texture's pixels after creation: rows top first at the caller's pitch, and refusals.
#include "Support/GfxWindow.h"

#include <epoxy/gl.h>
#include <future>
#include <gtest/gtest.h>

namespace
{
using namespace Platform::Gfx;

class UpdateSubresourceTest : public ::testing::Test
{
protected:
    Texture2DPtr MakeTexture(Format aFormat, std::uint32_t aBindFlags)
    {
        Texture2DDesc desc;
        desc.width = 2;
        desc.height = 2;
        desc.format = aFormat;
        desc.bindFlags = aBindFlags;
        return myGfx.GetDevice().CreateTexture2D(desc);
    }

    QelTest::GfxWindow myGfx{16, 16};
};

TEST_F(UpdateSubresourceTest, ReplacesThePixelsRowByRowAtTheGivenPitch)
{
    ASSERT_TRUE(myGfx.IsReady());
    const Texture2DPtr texture = MakeTexture(Format::R8G8B8A8_UNORM_SRGB, BIND_SHADER_RESOURCE);
    ASSERT_NE(texture, nullptr);
    const std::uint8_t source[] = {1, 2,  3,  4,  5,  6,  7,  8,  0xEE, 0xEE, 0xEE, 0xEE,
                                   9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_TRUE(myGfx.GetContext().UpdateSubresource(texture, source, 12));
    std::vector<std::uint8_t> stored(16);
    glGetTextureImage(texture->Realise(), 0, GL_RGBA, GL_UNSIGNED_BYTE, 16, stored.data());
    EXPECT_EQ(stored, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));

    // A target cleared before the update shows the update, not the clear done after it.
    const Texture2DPtr target =
        MakeTexture(Format::R8G8B8A8_UNORM, BIND_SHADER_RESOURCE | BIND_RENDER_TARGET);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    myGfx.GetContext().ClearRenderTargetView(myGfx.GetDevice().CreateRenderTargetView(target), white);
    ASSERT_TRUE(myGfx.GetContext().UpdateSubresource(target, source, 12));
    EXPECT_EQ(myGfx.GetContext().ReadColorPixels(target),
              (std::vector<std::uint8_t>{9, 10, 11, 12, 13, 14, 15, 16, 1, 2, 3, 4, 5, 6, 7, 8}));

    // A later texture upload is not affected by the row length used here.
    const std::uint8_t packed[16] = {};
    const SubresourceData data{packed, 0};
    Texture2DDesc desc = texture->GetDesc();
    const Texture2DPtr next = myGfx.GetDevice().CreateTexture2D(desc, std::span(&data, 1));
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next->Realise(), 0u);
    GLint rowLength = -1;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(rowLength, 0);
}

TEST_F(UpdateSubresourceTest, RefusesWhatItCannotWrite)
{
    ASSERT_TRUE(myGfx.IsReady());
    Context& context = myGfx.GetContext();
    const Texture2DPtr texture = MakeTexture(Format::R8G8B8A8_UNORM, BIND_SHADER_RESOURCE);
    const std::uint8_t source[32] = {};
    EXPECT_FALSE(context.UpdateSubresource(nullptr, source, 8));
    EXPECT_FALSE(context.UpdateSubresource(texture, nullptr, 8));
    EXPECT_FALSE(context.UpdateSubresource(texture, source, 7)) << "shorter than a row";
    EXPECT_FALSE(context.UpdateSubresource(texture, source, 10)) << "not whole pixels";
    const Texture2DPtr depth = MakeTexture(Format::R32_TYPELESS, BIND_DEPTH_STENCIL | BIND_SHADER_RESOURCE);
    ASSERT_NE(depth, nullptr);
    EXPECT_FALSE(context.UpdateSubresource(depth, source, 8));
    EXPECT_FALSE(
        std::async(std::launch::async, [&] { return context.UpdateSubresource(texture, source, 8); }).get());
    EXPECT_TRUE(context.UpdateSubresource(texture, source, 8));
}
} // namespace
