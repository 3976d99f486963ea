// Opening files, choosing the frame rate, and converting a decoded picture into a texture.
#include "VideoTestSupport.h"

#include "vek/video/VideoPlayer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

namespace
{
using namespace QelVideoTest;

TEST(VideoPlayerOpen, ReportsUnreadableFailedAndOpenedFiles)
{
    QelTest::TempDir folder;
    Qel::VideoPlayer player;
    EXPECT_EQ(player.Open((folder.GetPath() / "missing.mp4").string().c_str(), false),
              Qel::VIDEO_OPEN_UNREADABLE);
    EXPECT_EQ(player.Open(folder.GetPath().string().c_str(), false), Qel::VIDEO_OPEN_UNREADABLE);
    EXPECT_EQ(player.Open(nullptr, false), Qel::VIDEO_OPEN_UNREADABLE);

    const std::string text = folder.WriteFile("notes.mp4", "this is no video at all").string();
    EXPECT_EQ(player.Open(text.c_str(), false), Qel::VIDEO_OPEN_FAILED);
    EXPECT_EQ(player.GetFrameRate(), 0.0);

    EXPECT_EQ(player.Open(ExactClip().c_str(), false), Qel::VIDEO_OPEN_OK);
    EXPECT_EQ(player.GetPath(), ExactClip());
}

TEST(VideoPlayerOpen, AFileWithoutAVideoStreamFails)
{
    QelTest::ClipSpec spec;
    spec.myWithSound = true;
    const std::string withSound = Clip("sound.nut", spec);
    QelTest::TempDir folder;
    const std::filesystem::path soundOnly = folder.GetPath() / "sound-only.wav";
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -i \"" + withSound +
                                "\" -vn -c:a pcm_s16le \"" + soundOnly.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    Qel::VideoPlayer player;
    EXPECT_EQ(player.Open(soundOnly.string().c_str(), true), Qel::VIDEO_OPEN_FAILED);
    EXPECT_LT(player.DecodeFrame(), 0);
    EXPECT_FALSE(player.HasPicture());
}

TEST(VideoPlayerOpen, SoundIsOnlyDecodedWhenAskedFor)
{
    QelTest::ClipSpec spec;
    spec.myWithSound = true;
    const std::string clip = Clip("sound.nut", spec);
    auto log = std::make_shared<SoundLog>();
    Qel::VideoPlayer silent(RecordSoundInto(log));
    ASSERT_EQ(silent.Open(clip.c_str(), false), Qel::VIDEO_OPEN_OK);
    while (silent.DecodeFrame() >= 0)
    {
    }
    EXPECT_EQ(silent.GetWaveOut(), nullptr);
    EXPECT_EQ(log->myOpens, 0);

    // A file with no sound track opens with sound asked for, and makes no ring.
    Qel::VideoPlayer noTrack(RecordSoundInto(log));
    ASSERT_EQ(noTrack.Open(ExactClip().c_str(), true), Qel::VIDEO_OPEN_OK);
    noTrack.DecodeFrame();
    EXPECT_EQ(noTrack.GetWaveOut(), nullptr);
}

TEST(VideoPlayerFrameRate, ComesFromTheStream)
{
    QelTest::ClipSpec spec;
    spec.myRate = "25";
    spec.myFrameCount = 5;
    Qel::VideoPlayer player;
    EXPECT_EQ(player.GetFrameRate(), 0.0) << "no open input has no rate";
    ASSERT_EQ(player.Open(Clip("rate25.nut", spec).c_str(), false), Qel::VIDEO_OPEN_OK);
    EXPECT_DOUBLE_EQ(player.GetFrameRate(), 25.0);

    spec.myRate = "30000/1001";
    spec.myCodec = QelTest::ClipCodec::MPEG4;
    ASSERT_EQ(player.Open(Clip("ntsc.mp4", spec).c_str(), false), Qel::VIDEO_OPEN_OK);
    EXPECT_NEAR(player.GetFrameRate(), 30000.0 / 1001.0, 1e-6);

    player.Close();
    EXPECT_EQ(player.GetFrameRate(), 0.0);
}

TEST(VideoPlayerFrameRate, OnlyPositiveFiniteRatesGiveAStep)
{
    EXPECT_FALSE(Qel::impl::FrameStep(0.0));
    EXPECT_FALSE(Qel::impl::FrameStep(-25.0));
    EXPECT_FALSE(Qel::impl::FrameStep(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Qel::impl::FrameStep(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(Qel::impl::FrameStep(std::numeric_limits<double>::max()));
    ASSERT_TRUE(Qel::impl::FrameStep(25.0));
    EXPECT_DOUBLE_EQ(*Qel::impl::FrameStep(25.0), 0.04);
}

TEST(VideoPlayerCopy, NothingIsCopiedBeforeAPicture)
{
    Qel::VideoPlayer player;
    std::vector<std::uint32_t> texels(64 * 64, 7u);
    EXPECT_FALSE(player.CopyFrameToTexture(texels.data(), 64, 64));
    ASSERT_EQ(player.Open(ExactClip().c_str(), false), Qel::VIDEO_OPEN_OK);
    EXPECT_FALSE(player.CopyFrameToTexture(texels.data(), 64, 64));
    EXPECT_EQ(texels.front(), 7u);
    EXPECT_TRUE(player.DecodeFirstFrame());
    EXPECT_FALSE(player.CopyFrameToTexture(nullptr, 64, 64));
    EXPECT_TRUE(player.CopyFrameToTexture(texels.data(), 64, 64));
}

// Picture 0 of a 40x20 clip in a 64x32 texture: exact pixels at a 64-texel pitch, all padding cleared.
TEST(VideoPlayerCopy, WritesThePictureTopLeftAndClearsAllPadding)
{
    QelTest::ClipSpec spec;
    spec.myWidth = 40;
    spec.myHeight = 20;
    spec.myFrameCount = 3;
    Qel::VideoPlayer player;
    ASSERT_EQ(player.Open(Clip("40x20.nut", spec).c_str(), false), Qel::VIDEO_OPEN_OK);
    player.DecodeFirstFrame();
    ASSERT_EQ(player.GetPictureWidth(), 40u);
    ASSERT_EQ(player.GetPictureHeight(), 20u);
    std::vector<std::uint32_t> texels(64 * 32, 0xFFFFFFFFu);
    ASSERT_TRUE(player.CopyFrameToTexture(texels.data(), 64, 32));
    int wrongPicture = 0;
    int wrongPadding = 0;
    for (std::uint32_t y = 0; y < 32; ++y)
    {
        for (std::uint32_t x = 0; x < 64; ++x)
        {
            const std::uint32_t texel = texels[y * 64 + x];
            if (x < 40 && y < 20)
            {
                wrongPicture +=
                    Red(texel) != 0 || Green(texel) != x * 3 || Blue(texel) != y * 5 || Alpha(texel) != 255;
            }
            else
            {
                wrongPadding += texel != 0;
            }
        }
    }
    EXPECT_EQ(wrongPicture, 0);
    EXPECT_EQ(wrongPadding, 0);

    player.DecodeFrame();
    ASSERT_TRUE(player.CopyFrameToTexture(texels.data(), 64, 32));
    EXPECT_EQ(Red(texels[0]), QelTest::ClipPictureRed(1));
}

TEST(VideoPlayerCopy, APictureLargerThanTheTextureIsClipped)
{
    Qel::VideoPlayer player;
    ASSERT_EQ(player.Open(ExactClip().c_str(), false), Qel::VIDEO_OPEN_OK);
    player.DecodeFirstFrame();
    // One spare row behind the texture shows any write past its end.
    std::vector<std::uint32_t> texels(16 * 8 + 16, 0xABABABABu);
    ASSERT_TRUE(player.CopyFrameToTexture(texels.data(), 16, 8));
    EXPECT_EQ(Green(texels[15]), 45);
    EXPECT_EQ(Blue(texels[7 * 16]), 35);
    for (std::size_t index = 16 * 8; index < texels.size(); ++index)
    {
        EXPECT_EQ(texels[index], 0xABABABABu);
    }
}

TEST(VideoTextureSize, IsThePowerOfTwoNotBelowThePicture)
{
    EXPECT_EQ(Qel::impl::TextureSideFor(0), 0u);
    EXPECT_EQ(Qel::impl::TextureSideFor(1), 1u);
    EXPECT_EQ(Qel::impl::TextureSideFor(64), 64u);
    EXPECT_EQ(Qel::impl::TextureSideFor(65), 128u);
    EXPECT_EQ(Qel::impl::TextureSideFor(1080), 2048u);
    EXPECT_EQ(Qel::impl::TextureSideFor(1920), 2048u);
    EXPECT_EQ(Qel::impl::TextureSideFor(0x80000001u), 0u);
}

TEST(VideoTextureSize, AFullHdVideoGetsA2048SquareTexture)
{
    QelTest::ClipSpec spec;
    spec.myWidth = 1920;
    spec.myHeight = 1080;
    spec.myFrameCount = 2;
    spec.myCodec = QelTest::ClipCodec::MPEG4;
    auto log = std::make_shared<TextureLog>();
    Qel::Video video(RecordInto(log));
    ASSERT_TRUE(video.Init(Clip("fullhd.mp4", spec).c_str(), false));
    EXPECT_EQ(video.GetFrameWidth(), 1920u);
    EXPECT_EQ(video.GetFrameHeight(), 1080u);
    EXPECT_EQ(video.GetTextureWidth(), 2048u);
    EXPECT_EQ(video.GetTextureHeight(), 2048u);
    EXPECT_EQ(log->myWidth, 2048u);
    EXPECT_EQ(log->myHeight, 2048u);
}
} // namespace
