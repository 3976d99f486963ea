#include "Sound/Sound.h"
#include "Support/AudioFixture.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using QelTest::AudioFixture;

TEST_F(AudioFixture, APlayWithinTheBusyWindowIsIgnoredAndOneAfterItStartsAnotherPlayback)
{
    Sound sound;
    sound.Load(Tone("Busy.wav").c_str(), false, 1.0f);
    EXPECT_FALSE(sound.IsPlaying());
    sound.Play();
    sound.Play();
    EXPECT_TRUE(sound.IsPlaying());
    EXPECT_EQ(Channels(sound.GetAudio()).size(), 1u);

    sound.Update(0.6f);
    sound.Play();
    EXPECT_EQ(Channels(sound.GetAudio()).size(), 1u);
    sound.Update(0.4f);
    EXPECT_FALSE(sound.IsPlaying()) << "the window ends once the whole duration has passed";
    sound.Play();
    EXPECT_EQ(Channels(sound.GetAudio()).size(), 2u);
}

TEST_F(AudioFixture, AZeroWindowEndsOnTheNextUpdateAndBadDeltasAreIgnored)
{
    Sound instant;
    instant.Load(Tone("Instant.wav").c_str(), false, 0.0f);
    instant.Play();
    instant.Update(0.0f);
    EXPECT_FALSE(instant.IsPlaying());

    Sound sound;
    sound.Load(Tone("Deltas.wav").c_str(), false, 1.0f);
    sound.Play();
    sound.Update(std::numeric_limits<float>::quiet_NaN());
    sound.Update(-5.0f);
    EXPECT_TRUE(sound.IsPlaying());
    sound.Update(1.0f);
    EXPECT_FALSE(sound.IsPlaying());
}

TEST_F(AudioFixture, StopSilencesEveryPlaybackEvenOfAnIdleRecord)
{
    Sound sound;
    sound.Load(Tone("Stop.wav").c_str(), false, 0.5f);
    sound.Play();
    sound.Update(1.0f);
    sound.Play();
    ASSERT_EQ(Channels(sound.GetAudio()).size(), 2u);
    sound.Update(1.0f);
    ASSERT_FALSE(sound.IsPlaying());
    sound.Stop();
    EXPECT_TRUE(Channels(sound.GetAudio()).empty());
    EXPECT_FALSE(sound.IsPlaying());

    sound.Play();
    sound.Stop();
    EXPECT_FALSE(sound.IsPlaying()) << "a stopped record can start again at once";
    sound.Play();
    EXPECT_EQ(Channels(sound.GetAudio()).size(), 1u);
}

TEST_F(AudioFixture, ALoopAskedForAgainKeepsItsOneVoice)
{
    Sound loop;
    loop.Load(Tone("Loop.wav", 0.2).c_str(), true, 1.0f);
    // As a walking enemy asks for its footsteps: every frame, for several busy windows.
    for (int frame = 0; frame < 240; ++frame)
    {
        loop.Play();
        loop.Update(1.0f / 60.0f);
    }
    const std::vector<std::uint32_t> voices = Channels(loop.GetAudio());
    ASSERT_EQ(voices.size(), 1u);
    EXPECT_EQ(loop.GetAudio().GetChannel(), voices.front()) << "volume and pan follow the one voice";

    loop.Stop();
    EXPECT_TRUE(Channels(loop.GetAudio()).empty());
    loop.Play();
    EXPECT_EQ(Channels(loop.GetAudio()).size(), 1u) << "after a stop the loop starts afresh";
}

TEST_F(AudioFixture, VolumeReachesTheLatestPlaybackAndAppliedVolumeReachesAll)
{
    Sound sound;
    sound.Load(Tone("Volumes.wav").c_str(), false, 0.0f);
    sound.Play();
    sound.Update(0.0f);
    sound.Play();
    const std::vector<std::uint32_t> voices = Channels(sound.GetAudio());
    ASSERT_EQ(voices.size(), 2u);

    sound.SetVolume(0.3f);
    sound.SetPan({0.5f, 0.0f});
    EXPECT_FLOAT_EQ(VolumeOf(voices[0]), 1.0f);
    EXPECT_FLOAT_EQ(VolumeOf(voices[1]), 0.3f);
    EXPECT_FLOAT_EQ(PanOf(voices[1]), 0.5f);

    sound.ApplyVolume(0.6f);
    EXPECT_FLOAT_EQ(VolumeOf(voices[0]), 0.6f);
    EXPECT_FLOAT_EQ(VolumeOf(voices[1]), 0.6f);
    EXPECT_FLOAT_EQ(sound.GetBaseVolume(), 1.0f);
}
} // namespace
