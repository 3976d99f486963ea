// The picture texture on the graphics device: made at the power-of-two size and cleared, pictures read
// back from it exactly, and nothing to draw without a device.
#include "Engine/vek/graphics/GraphicsFixture.h"
#include "VideoTestSupport.h"

#include "vek/video/GfxVideoTexture.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{
using namespace QelVideoTest;

class VideoOnDevice : public QelTest::GraphicsFixture
{
protected:
    // The texture's stored texels, row 0 first as uploaded.
    static std::vector<std::uint32_t> ReadBack(const Qel::Texture& aTexture)
    {
        const Platform::Gfx::Texture2DPtr& texture = aTexture.myView->GetTexture();
        const Platform::Gfx::Texture2DDesc& desc = texture->GetDesc();
        std::vector<std::uint32_t> texels(static_cast<std::size_t>(desc.width) * desc.height);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTextureImage(texture->Realise(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                          static_cast<GLsizei>(texels.size() * 4), texels.data());
        return texels;
    }
};

TEST_F(VideoOnDevice, TheTextureIsMadeAtThePowerOfTwoSizeAndStartsCleared)
{
    Qel::Video video;
    ASSERT_TRUE(video.Init(ExactClip().c_str(), false));
    const Qel::Texture* texture = video.GetTextureRef();
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(texture->myView, nullptr);
    const Qel::Vector2<std::uint32_t> size = Qel::GetTextureSize(*texture);
    EXPECT_EQ(size.x, 64u);
    EXPECT_EQ(size.y, 64u);
    EXPECT_EQ(texture->myView->GetTexture()->GetDesc().format, Platform::Gfx::Format::R8G8B8A8_UNORM_SRGB);
    const std::vector<std::uint32_t> texels = ReadBack(*texture);
    EXPECT_EQ(std::count(texels.begin(), texels.end(), 0u), 64 * 64);
}

TEST_F(VideoOnDevice, DecodedPicturesReachTheTexture)
{
    QelTest::ClipSpec spec;
    spec.myWidth = 40;
    spec.myHeight = 20;
    spec.myFrameCount = 3;
    Qel::Video video;
    ASSERT_TRUE(video.Init(Clip("40x20.nut", spec).c_str(), false));
    ASSERT_NE(video.GetTextureRef(), nullptr);
    video.Play(false);
    video.Update(0.2f);
    const std::vector<std::uint32_t> texels = ReadBack(*video.GetTextureRef());
    ASSERT_EQ(texels.size(), 64u * 32u);
    int wrong = 0;
    for (std::uint32_t y = 0; y < 32; ++y)
    {
        for (std::uint32_t x = 0; x < 64; ++x)
        {
            const std::uint32_t texel = texels[y * 64 + x];
            if (x < 40 && y < 20)
            {
                wrong += Red(texel) != QelTest::ClipPictureRed(2) || Green(texel) != x * 3 ||
                         Blue(texel) != y * 5 || Alpha(texel) != 255;
            }
            else
            {
                wrong += texel != 0;
            }
        }
    }
    EXPECT_EQ(wrong, 0);

    // The end of the stream leaves the last picture in place.
    video.Update(0.3f);
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_ENDED);
    EXPECT_EQ(Red(ReadBack(*video.GetTextureRef()).front()), QelTest::ClipPictureRed(2));
}

TEST_F(VideoOnDevice, TheDeviceGoingAwayStopsUploadsButNotTime)
{
    Qel::Video video;
    ASSERT_TRUE(video.Init(ExactClip().c_str(), false));
    video.Play(false);
    myDX11.reset();
    video.Update(0.25f);
    EXPECT_FLOAT_EQ(video.GetElapsed(), 0.25f) << "no upload could be made, so no step was taken";
}

TEST(VideoWithoutDevice, OpensButHasNothingToDraw)
{
    Qel::Video video;
    ASSERT_TRUE(video.Init(ExactClip().c_str(), false));
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_READY);
    EXPECT_EQ(video.GetTextureRef(), nullptr);
    EXPECT_EQ(video.GetPictureTexture(), nullptr);
    video.Play(false);
    video.Update(3.0f);
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_READY);

    const Qel::Texture empty;
    const Qel::Vector2<std::uint32_t> size = Qel::GetTextureSize(empty);
    EXPECT_EQ(size.x, 0u);
    EXPECT_EQ(size.y, 0u);
}
} // namespace
