#include "Platform/Sound/SampleMixer.h"
#include "Support/TempDir.h"
#include "Support/ToneWave.h"
#include "Support/WaitUntil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
class SampleMixerTest : public testing::Test
{
protected:
    std::string Tone(const std::string& aName, double aSeconds)
    {
        QelTest::ToneSpec spec;
        spec.mySeconds = aSeconds;
        return myFolder.WriteFile(aName, QelTest::MakeToneWav(spec)).string();
    }

    // Waits until the sample has no live playback; false when it still plays at the deadline.
    bool WaitUntilSilent(std::uint32_t aSample)
    {
        return QelTest::WaitUntil([&] { return myMixer.GetSampleChannels(aSample).empty(); });
    }

    QelTest::TempDir myFolder;
    Qel::SampleMixer myMixer;
};

TEST_F(SampleMixerTest, LoadsSamplesAndRefusesMissingOrUndecodableFiles)
{
    ASSERT_TRUE(myMixer.IsOpen());
    const std::uint32_t first = myMixer.LoadSample(Tone("a.wav", 0.2), 3, 0);
    const std::uint32_t second = myMixer.LoadSample(Tone("b.wav", 0.2), 3, Qel::SAMPLE_LOOP);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);

    Qel::SampleInfo info;
    ASSERT_TRUE(myMixer.GetSampleInfo(second, info));
    EXPECT_EQ(info.myFlags, Qel::SAMPLE_LOOP);
    EXPECT_EQ(info.myMaxPlaybacks, 3);
    EXPECT_NEAR(info.myLengthSeconds, 0.2, 0.001);

    EXPECT_EQ(myMixer.LoadSample((myFolder.GetPath() / "missing.wav").string(), 3, 0), 0u);
    EXPECT_EQ(myMixer.GetLastError(), Qel::SampleMixerError::FILE);
    EXPECT_EQ(myMixer.LoadSample(myFolder.WriteFile("junk.wav", "not a sound").string(), 3, 0), 0u);
    EXPECT_EQ(myMixer.LoadSample("", 3, 0), 0u);
    EXPECT_FALSE(myMixer.GetSampleInfo(0, info));
    EXPECT_EQ(myMixer.PlaySample(99, 1.0f), 0u);
    EXPECT_EQ(myMixer.GetLastError(), Qel::SampleMixerError::HANDLE);
}

TEST_F(SampleMixerTest, AFourthOneShotTakesOverThePlaybackThatHasPlayedLongest)
{
    const std::uint32_t sample = myMixer.LoadSample(Tone("shot.wav", 5.0), 3, Qel::SAMPLE_OVER_POSITION);
    const std::uint32_t first = myMixer.PlaySample(sample, 1.0f);
    const std::uint32_t second = myMixer.PlaySample(sample, 1.0f);
    const std::uint32_t third = myMixer.PlaySample(sample, 1.0f);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(myMixer.GetSampleChannels(sample), (std::vector<std::uint32_t>{first, second, third}));

    const std::uint32_t fourth = myMixer.PlaySample(sample, 0.25f);
    ASSERT_NE(fourth, 0u);
    EXPECT_EQ(myMixer.GetSampleChannels(sample), (std::vector<std::uint32_t>{second, third, fourth}));
    // The taken-over playback's handle no longer reaches the new one on its mixer channel.
    EXPECT_FALSE(myMixer.SetChannelVolume(first, 0.0f));
    float volume = 0.0f;
    ASSERT_TRUE(myMixer.GetChannelVolume(fourth, volume));
    EXPECT_FLOAT_EQ(volume, 0.25f);

    const std::uint32_t fifth = myMixer.PlaySample(sample, 1.0f);
    EXPECT_EQ(myMixer.GetSampleChannels(sample), (std::vector<std::uint32_t>{third, fourth, fifth}));
}

TEST_F(SampleMixerTest, ALoopingSamplesFourthPlayGetsNoChannel)
{
    const std::uint32_t sample = myMixer.LoadSample(Tone("loop.wav", 0.1), 3, Qel::SAMPLE_LOOP);
    // Three times the loop's length, started after the loops: once it has ended, so would they have.
    const std::uint32_t longer = myMixer.LoadSample(Tone("longer.wav", 0.3), 1, 0);
    const std::vector<std::uint32_t> playing = {
        myMixer.PlaySample(sample, 1.0f), myMixer.PlaySample(sample, 1.0f), myMixer.PlaySample(sample, 1.0f)};
    EXPECT_EQ(myMixer.PlaySample(sample, 1.0f), 0u);
    EXPECT_EQ(myMixer.GetLastError(), Qel::SampleMixerError::NO_CHANNEL);
    ASSERT_NE(myMixer.PlaySample(longer, 1.0f), 0u);
    // Loops outlive their length and none was cut by the refusal.
    ASSERT_TRUE(WaitUntilSilent(longer));
    EXPECT_EQ(myMixer.GetSampleChannels(sample), playing);
    EXPECT_TRUE(myMixer.IsChannelLooping(playing[0]));
}

TEST_F(SampleMixerTest, VolumeAndPanActOnOnePlaybackAndAreClamped)
{
    const std::uint32_t sample = myMixer.LoadSample(Tone("vol.wav", 5.0), 3, Qel::SAMPLE_OVER_POSITION);
    const std::uint32_t older = myMixer.PlaySample(sample, 0.8f);
    const std::uint32_t newer = myMixer.PlaySample(sample, 0.8f);
    EXPECT_TRUE(myMixer.SetChannelVolume(newer, 0.3f));
    EXPECT_TRUE(myMixer.SetChannelPan(newer, -0.5f));

    float volume = 0.0f;
    float pan = 1.0f;
    ASSERT_TRUE(myMixer.GetChannelVolume(older, volume));
    EXPECT_FLOAT_EQ(volume, 0.8f);
    ASSERT_TRUE(myMixer.GetChannelPan(older, pan));
    EXPECT_FLOAT_EQ(pan, 0.0f);
    ASSERT_TRUE(myMixer.GetChannelVolume(newer, volume));
    EXPECT_FLOAT_EQ(volume, 0.3f);
    ASSERT_TRUE(myMixer.GetChannelPan(newer, pan));
    EXPECT_FLOAT_EQ(pan, -0.5f);

    myMixer.SetChannelVolume(newer, 7.0f);
    myMixer.GetChannelVolume(newer, volume);
    EXPECT_FLOAT_EQ(volume, 1.0f);
    myMixer.SetChannelVolume(newer, std::numeric_limits<float>::quiet_NaN());
    myMixer.GetChannelVolume(newer, volume);
    EXPECT_FLOAT_EQ(volume, 0.0f);
    myMixer.SetChannelPan(newer, -3.0f);
    myMixer.GetChannelPan(newer, pan);
    EXPECT_FLOAT_EQ(pan, -1.0f);

    EXPECT_FALSE(myMixer.SetChannelVolume(0, 1.0f));
    EXPECT_FALSE(myMixer.SetChannelPan(0, 0.0f));
}

TEST_F(SampleMixerTest, StopSampleEndsEveryPlaybackOfThatSampleOnly)
{
    const std::uint32_t stopped = myMixer.LoadSample(Tone("stop.wav", 5.0), 3, Qel::SAMPLE_OVER_POSITION);
    const std::uint32_t other = myMixer.LoadSample(Tone("keep.wav", 5.0), 3, Qel::SAMPLE_LOOP);
    const std::uint32_t first = myMixer.PlaySample(stopped, 1.0f);
    myMixer.PlaySample(stopped, 1.0f);
    const std::uint32_t kept = myMixer.PlaySample(other, 1.0f);

    EXPECT_TRUE(myMixer.StopSample(stopped));
    EXPECT_TRUE(myMixer.GetSampleChannels(stopped).empty());
    EXPECT_FALSE(myMixer.SetChannelVolume(first, 0.5f));
    EXPECT_EQ(myMixer.GetSampleChannels(other), std::vector<std::uint32_t>{kept});
    EXPECT_FALSE(myMixer.StopSample(0));
    // A stopped sample plays again from the start on a fresh handle.
    const std::uint32_t again = myMixer.PlaySample(stopped, 1.0f);
    EXPECT_NE(again, 0u);
    EXPECT_NE(again, first);
}

TEST_F(SampleMixerTest, FinishedPlaybacksFreeTheirPlaceAndEndedLoopsRunOut)
{
    const std::uint32_t shortSample = myMixer.LoadSample(Tone("short.wav", 0.05), 1, 0);
    const std::uint32_t first = myMixer.PlaySample(shortSample, 1.0f);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(myMixer.PlaySample(shortSample, 1.0f), 0u) << "one playback allowed, no take-over";
    ASSERT_TRUE(WaitUntilSilent(shortSample));
    EXPECT_FALSE(myMixer.SetChannelVolume(first, 1.0f));
    EXPECT_NE(myMixer.PlaySample(shortSample, 1.0f), 0u);

    const std::uint32_t loop = myMixer.LoadSample(Tone("ending.wav", 0.1), 3, Qel::SAMPLE_LOOP);
    const std::uint32_t channel = myMixer.PlaySample(loop, 1.0f);
    EXPECT_TRUE(myMixer.EndChannelLoop(channel));
    EXPECT_FALSE(myMixer.IsChannelLooping(channel));
    EXPECT_FALSE(myMixer.EndChannelLoop(channel)) << "already ending";
    EXPECT_TRUE(WaitUntilSilent(loop));
}

TEST_F(SampleMixerTest, ManySimultaneousPlaybacksGetChannelsOfTheirOwn)
{
    // Loops never end on their own, so however slowly the files load no playback runs out before the
    // check; every load comes before the first play.
    std::vector<std::uint32_t> samples;
    for (int index = 0; index < 16; ++index)
    {
        samples.push_back(
            myMixer.LoadSample(Tone("many" + std::to_string(index) + ".wav", 0.5), 3, Qel::SAMPLE_LOOP));
        ASSERT_NE(samples.back(), 0u);
    }
    std::vector<std::uint32_t> channels;
    for (const std::uint32_t sample : samples)
    {
        for (int copy = 0; copy < 3; ++copy)
        {
            channels.push_back(myMixer.PlaySample(sample, 1.0f));
            ASSERT_NE(channels.back(), 0u);
        }
    }
    for (std::size_t index = 0; index < samples.size(); ++index)
    {
        EXPECT_EQ(myMixer.GetSampleChannels(samples[index]),
                  (std::vector<std::uint32_t>{channels[3 * index], channels[3 * index + 1],
                                              channels[3 * index + 2]}));
    }
}

TEST(SampleMixer, OnlyOneMixerOwnsTheDeviceAtATime)
{
    Qel::SampleMixer first;
    ASSERT_TRUE(first.IsOpen());
    {
        Qel::SampleMixer second;
        EXPECT_FALSE(second.IsOpen());
        EXPECT_EQ(second.GetLastError(), Qel::SampleMixerError::ALREADY);
        EXPECT_EQ(second.LoadSample("whatever.wav", 3, 0), 0u);
        EXPECT_EQ(second.GetLastError(), Qel::SampleMixerError::INIT);
    }
    EXPECT_TRUE(first.IsOpen());
}
} // namespace
