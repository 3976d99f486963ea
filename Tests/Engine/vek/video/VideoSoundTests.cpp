// The sound track of a video: 44100 Hz stereo signed 16-bit in whole blocks, in order, through the
// wave-out ring, and the codecs whose decoders hold pictures back.
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
using namespace QelVideoTest;

constexpr double BYTES_PER_SECOND = 44100.0 * 4.0;

std::vector<std::int16_t> Samples(const SoundLog& aLog)
{
    std::vector<std::int16_t> samples(aLog.myBytes.size() / 2);
    std::memcpy(samples.data(), aLog.myBytes.data(), samples.size() * 2);
    return samples;
}

// Upward zero crossings of the left channel per second.
double LeftFrequency(const std::vector<std::int16_t>& someSamples)
{
    int crossings = 0;
    for (std::size_t index = 2; index + 1 < someSamples.size(); index += 2)
    {
        crossings += someSamples[index - 2] < 0 && someSamples[index] >= 0;
    }
    return crossings / (static_cast<double>(someSamples.size() / 2) / 44100.0);
}

void DecodeAll(Qel::VideoPlayer& aPlayer)
{
    int pictures = 0;
    while (aPlayer.DecodeFrame() >= 0 && pictures < 1000)
    {
        ++pictures;
    }
}

TEST(VideoSound, TheWholeTrackReachesTheRingResampledInBlocks)
{
    QelTest::ClipSpec spec;
    spec.myWithSound = true;
    auto log = std::make_shared<SoundLog>();
    Qel::VideoPlayer player(RecordSoundInto(log));
    ASSERT_EQ(player.Open(Clip("sound.nut", spec).c_str(), true), Qel::VIDEO_OPEN_OK);
    DecodeAll(player);

    ASSERT_NE(player.GetWaveOut(), nullptr);
    EXPECT_EQ(player.GetWaveOut()->GetBlockCount(), 16);
    EXPECT_EQ(log->myOpens, 1);
    EXPECT_EQ(log->myFormat.formatTag, 1);
    EXPECT_EQ(log->myFormat.channels, 2);
    EXPECT_EQ(log->myFormat.samplesPerSecond, 44100u);
    EXPECT_EQ(log->myFormat.averageBytesPerSecond, 176400u);
    EXPECT_EQ(log->myFormat.blockAlign, 4);
    EXPECT_EQ(log->myFormat.bitsPerSample, 16);
    for (std::size_t size : log->myBlockSizes)
    {
        ASSERT_EQ(size, 4096u);
    }
    // The whole track, less the part block the ring keeps back.
    const double expected = QelTest::ClipSeconds(spec) * BYTES_PER_SECOND;
    EXPECT_DOUBLE_EQ(QelTest::ClipSeconds(spec), 2.0);
    EXPECT_LE(static_cast<double>(log->myBytes.size()), expected);
    EXPECT_GT(static_cast<double>(log->myBytes.size()), expected - 4096.0 - 4.0 * 64);

    const std::vector<std::int16_t> samples = Samples(*log);
    int sidesDiffer = 0;
    for (std::size_t index = 0; index + 1 < samples.size(); index += 2)
    {
        sidesDiffer += samples[index] != samples[index + 1];
    }
    EXPECT_EQ(sidesDiffer, 0) << "a mono track plays the same on both sides";
    EXPECT_NEAR(LeftFrequency(samples), 440.0, 5.0);
}

TEST(VideoSound, ALoopedVideoPlaysItsSoundAgain)
{
    QelTest::ClipSpec spec;
    spec.myWithSound = true;
    spec.myCodec = QelTest::ClipCodec::MPEG4;
    auto log = std::make_shared<SoundLog>();
    Qel::VideoPlayer player(RecordSoundInto(log));
    ASSERT_EQ(player.Open(Clip("sound.mp4", spec).c_str(), true), Qel::VIDEO_OPEN_OK);
    DecodeAll(player);
    const std::size_t firstPass = log->myBytes.size();
    EXPECT_GT(static_cast<double>(firstPass), 1.5 * BYTES_PER_SECOND);
    player.Rewind();
    DecodeAll(player);
    EXPECT_NEAR(static_cast<double>(log->myBytes.size()), 2.0 * static_cast<double>(firstPass), 8192.0);
    EXPECT_NEAR(LeftFrequency(Samples(*log)), 440.0, 5.0);
    EXPECT_EQ(log->myResets, 0);
    player.Close();
    EXPECT_EQ(log->myResets, 1) << "closing stops the output";
}

TEST(VideoSound, TheSystemOutputTakesTheTrack)
{
    QelTest::ClipSpec spec;
    spec.myWithSound = true;
    auto log = std::make_shared<TextureLog>();
    Qel::Video video(RecordInto(log));
    ASSERT_TRUE(video.Init(Clip("sound.nut", spec).c_str(), true));
    video.Play(false);
    for (int step = 0; step < 25 && video.GetState() != Qel::VIDEO_STATE_ENDED; ++step)
    {
        video.Update(0.1f);
    }
    EXPECT_EQ(video.GetState(), Qel::VIDEO_STATE_ENDED);
    const Qel::VideoPlayer* player = video.GetPlayer();
    ASSERT_NE(player, nullptr);
    const Qel::WaveOutRing* ring = player->GetWaveOut();
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->IsOpen());
}

// Lossy codecs: every picture appears once in order (the red mark within the coding error), including
// those an H.264 decoder holds back until the end of the input.
class VideoCodecs : public testing::TestWithParam<QelTest::ClipCodec>
{
};

TEST_P(VideoCodecs, EveryPictureIsShownInOrderThenTheVideoLoops)
{
    QelTest::ClipSpec spec;
    spec.myRate = "25";
    spec.myFrameCount = 30;
    spec.myCodec = GetParam();
    const std::string name = GetParam() == QelTest::ClipCodec::H264 ? "order.h264.mp4" : "order.mpeg4.mp4";
    auto log = std::make_shared<TextureLog>();
    Qel::Video video(RecordInto(log));
    ASSERT_TRUE(video.Init(Clip(name, spec).c_str(), false));
    video.Play(true);
    int ended = -1;
    for (int step = 1; step <= 32; ++step)
    {
        video.Update(0.0401f);
        if (ended < 0 && video.GetState() == Qel::VIDEO_STATE_ENDED)
        {
            ended = step;
        }
    }
    EXPECT_EQ(ended, 30);
    ASSERT_EQ(log->myUploadedReds.size(), 32u);
    for (int step = 1; step <= 29; ++step)
    {
        EXPECT_NEAR(log->myUploadedReds[step - 1], QelTest::ClipPictureRed(step), 4) << "step " << step;
    }
    EXPECT_NEAR(log->myUploadedReds[29], QelTest::ClipPictureRed(29), 4);
    EXPECT_NEAR(log->myUploadedReds[30], QelTest::ClipPictureRed(0), 4);
    EXPECT_NEAR(log->myUploadedReds[31], QelTest::ClipPictureRed(1), 4);
}

INSTANTIATE_TEST_SUITE_P(Lossy, VideoCodecs,
                         testing::Values(QelTest::ClipCodec::MPEG4, QelTest::ClipCodec::H264),
                         [](const testing::TestParamInfo<QelTest::ClipCodec>& aInfo) {
                             return aInfo.param == QelTest::ClipCodec::H264 ? std::string("H264")
                                                                            : std::string("Mpeg4");
                         });
} // namespace
