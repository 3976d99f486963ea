#include "Platform/Sound/SampleDecode.h"
#include "Support/AudioFixture.h"
#include "Support/WaitUntil.h"
#include "vek/audio/SamplePrefetch.h"
#include "vek/settings/AssetPaths.h"

#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

namespace
{
using QelTest::AudioFixture;

TEST_F(AudioFixture, ASecondLoadOfAPathGivesZeroAndNamesTheResolvedPath)
{
    const std::string path = Tone("PlaceHolder.wav");
    Qel::Audio first;
    Qel::Audio second;
    Qel::Audio third;
    testing::internal::CaptureStderr();
    first.Init(path.c_str(), false);
    second.Init(path.c_str(), false);
    third.Init(path.c_str(), false);
    const std::string messages = testing::internal::GetCapturedStderr();

    EXPECT_GT(first.GetSample(), 0);
    EXPECT_EQ(second.GetSample(), 0);
    EXPECT_EQ(third.GetSample(), 0);
    const std::string line = "Audio error: " + Qel::ResolveAssetPath(path) + " already loaded\n";
    EXPECT_EQ(messages, line + line);

    // The refused handles stay silent and cannot stop the working one.
    second.Play();
    EXPECT_TRUE(Channels(first).empty());
    first.Play();
    second.Stop(true);
    third.SetVolume(0.0f);
    EXPECT_EQ(Channels(first).size(), 1u);
    EXPECT_FLOAT_EQ(VolumeOf(first.GetChannel()), 1.0f);
}

TEST_F(AudioFixture, AMissingFileLeavesASilentHandleAndIsNeverADuplicate)
{
    Qel::Audio missing;
    Qel::Audio again;
    testing::internal::CaptureStderr();
    missing.Init("Audio/Nowhere.wav", false);
    again.Init("Audio/Nowhere.wav", false);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(missing.GetSample(), Qel::Audio::NOT_LOADED);
    EXPECT_EQ(again.GetSample(), Qel::Audio::NOT_LOADED);

    missing.Play();
    missing.SetVolume(0.5f);
    missing.SetPan({-1.0f, 0.0f});
    missing.Stop(true);
    EXPECT_EQ(missing.GetChannel(), 0u);
    EXPECT_FLOAT_EQ(missing.GetVolume(), 0.5f);
    EXPECT_FLOAT_EQ(missing.GetPan().first, -1.0f);
    EXPECT_FALSE(missing.IsLoopSounding());
}

TEST_F(AudioFixture, AFourthOneShotTakesOverTheOldestPlayback)
{
    Qel::Audio shot;
    shot.Init(Tone("Shot.wav").c_str(), false);
    std::vector<std::uint32_t> started;
    for (int play = 0; play < 4; ++play)
    {
        shot.Play();
        started.push_back(shot.GetChannel());
    }
    EXPECT_EQ(Channels(shot), (std::vector<std::uint32_t>{started[1], started[2], started[3]}));
}

TEST_F(AudioFixture, ALoopingSamplesFourthPlayIsRefused)
{
    Qel::Audio loop;
    loop.Init(Tone("Loop.wav", 0.2).c_str(), true);
    const auto sample = static_cast<std::uint32_t>(loop.GetSample());
    std::uint32_t channel = 0;
    for (int play = 0; play < 3; ++play)
    {
        EXPECT_TRUE(Out().PlaySample(sample, &channel, 1.0f));
    }
    const std::uint32_t third = channel;
    EXPECT_FALSE(Out().PlaySample(sample, &channel, 1.0f));
    EXPECT_EQ(channel, third) << "a refused play keeps the last channel";
    EXPECT_EQ(Channels(loop).size(), 3u);
    EXPECT_TRUE(loop.IsLoopSounding());
    EXPECT_FALSE(Out().PlaySample(0, &channel, 1.0f));
}

TEST_F(AudioFixture, VolumeAndPanReachTheLatestPlaybackOnlyUnlessAppliedToAll)
{
    Qel::Audio sound;
    sound.Init(Tone("Volume.wav").c_str(), false);
    sound.Play();
    const std::uint32_t older = sound.GetChannel();
    sound.SetVolume(0.4f);
    sound.Play();
    const std::uint32_t newer = sound.GetChannel();
    EXPECT_FLOAT_EQ(VolumeOf(newer), 0.4f) << "the stored volume applies before the playback is heard";

    sound.SetVolume(0.2f);
    sound.SetPan({0.75f, 0.0f});
    EXPECT_FLOAT_EQ(VolumeOf(older), 0.4f);
    EXPECT_FLOAT_EQ(VolumeOf(newer), 0.2f);
    EXPECT_FLOAT_EQ(PanOf(older), 0.0f);
    EXPECT_FLOAT_EQ(PanOf(newer), 0.75f);

    sound.SetVolumeOfAllPlaybacks(0.0f);
    EXPECT_FLOAT_EQ(VolumeOf(older), 0.0f);
    EXPECT_FLOAT_EQ(VolumeOf(newer), 0.0f);
    sound.Play();
    EXPECT_FLOAT_EQ(VolumeOf(sound.GetChannel()), 0.0f);
}

TEST_F(AudioFixture, StopEndsEveryPlaybackAndANonImmediateStopLetsALoopRunOut)
{
    Qel::Audio shot;
    shot.Init(Tone("StopShot.wav").c_str(), false);
    shot.Play();
    shot.Play();
    shot.Stop(true);
    EXPECT_TRUE(Channels(shot).empty());
    shot.Play();
    EXPECT_FALSE(Out().StopSample(static_cast<std::uint32_t>(shot.GetSample()), false)) << "not a loop";
    EXPECT_EQ(Channels(shot).size(), 1u);

    Qel::Audio loop;
    loop.Init(Tone("StopLoop.wav", 0.1).c_str(), true);
    loop.Play();
    loop.Stop(false);
    EXPECT_FALSE(Out().EndLoop(static_cast<std::uint32_t>(loop.GetSample()))) << "its only loop is ending";
    EXPECT_TRUE(QelTest::WaitUntil([&] { return Channels(loop).empty(); }));
    EXPECT_FALSE(Out().StopSample(0, true));
}

TEST_F(AudioFixture, PlaysAnMp3)
{
#ifdef QEL_TEST_MP3
    Qel::Audio music;
    music.Init(QEL_TEST_MP3, true);
    ASSERT_GT(music.GetSample(), 0);
    music.Play();
    EXPECT_EQ(Channels(music).size(), 1u);
    Qel::SampleInfo info;
    ASSERT_TRUE(Out().GetMixer().GetSampleInfo(static_cast<std::uint32_t>(music.GetSample()), info));
    EXPECT_NEAR(info.myLengthSeconds, 1.0, 0.06);
#else
    GTEST_SKIP() << "sox and lame were not found at configure time";
#endif
}

TEST_F(AudioFixture, PrefetchedFilesLoadAsTheMixerLoadsThemAndFailuresStayFailures)
{
    const auto lengthOf = [](const Qel::Audio& anAudio)
    {
        Qel::SampleInfo info;
        EXPECT_TRUE(Out().GetMixer().GetSampleInfo(static_cast<std::uint32_t>(anAudio.GetSample()), info));
        return info.myLengthSeconds;
    };
    std::vector<std::string> names = {Tone("PrefetchedTone.wav", 1.5), Tone("DirectTone.wav", 1.5)};
    myFolder.WriteFile("data/Audio/PrefetchedBroken.wav", "RIFFjunkWAVEjunkjunk");
    myFolder.WriteFile("data/Audio/DirectBroken.wav", "RIFFjunkWAVEjunkjunk");
    names.push_back("Audio/PrefetchedBroken.wav");
    names.push_back("Audio/DirectBroken.wav");
#ifdef QEL_TEST_MP3
    for (const char* copy : {"PrefetchedTone.mp3", "DirectTone.mp3"})
    {
        std::filesystem::copy_file(QEL_TEST_MP3, myFolder.GetPath() / "data/Audio" / copy);
        names.push_back(std::string("Audio/") + copy);
    }
#endif
    std::vector<std::string> prefetched;
    for (std::size_t index = 0; index < names.size(); index += 2)
    {
        prefetched.push_back(Qel::ResolveAssetPath(names[index]));
    }
    prefetched.push_back(Qel::ResolveAssetPath("Audio/NeverThere.wav"));
    Qel::PrefetchSamples(prefetched);

    testing::internal::CaptureStdout();
    for (std::size_t index = 0; index < names.size(); index += 2)
    {
        Qel::Audio ahead;
        Qel::Audio direct;
        ahead.Init(names[index].c_str(), true);
        direct.Init(names[index + 1].c_str(), true);
        if (names[index].find("Broken") != std::string::npos)
        {
            EXPECT_EQ(ahead.GetSample(), Qel::Audio::NOT_LOADED);
            EXPECT_EQ(direct.GetSample(), Qel::Audio::NOT_LOADED);
            continue;
        }
        ASSERT_GT(ahead.GetSample(), 0) << names[index];
        EXPECT_NEAR(lengthOf(ahead), lengthOf(direct), 0.03) << names[index];
        EXPECT_GT(lengthOf(ahead), 0.9) << names[index];
        ahead.Play();
        EXPECT_EQ(Channels(ahead).size(), 1u);
        EXPECT_TRUE(ahead.IsLoopSounding()) << "loaded with its flags";
        ahead.Stop(true);
    }
    Qel::Audio never;
    never.Init("Audio/NeverThere.wav", false);
    EXPECT_EQ(never.GetSample(), Qel::Audio::NOT_LOADED);
    // Only the prefetched broken file is reported, with the decoder's and the mixer's reasons.
    const std::string report = testing::internal::GetCapturedStdout();
    const std::string start = "[Audio] " + Qel::ResolveAssetPath("Audio/PrefetchedBroken.wav") +
                              " could not be loaded: SDL's WAV reader: ";
    EXPECT_EQ(report.rfind(start, 0), 0u) << report;
    EXPECT_NE(report.find("; the mixer's loader: ", start.size()), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
}

TEST_F(AudioFixture, TheDecoderGivesThePcmTheMixersOwnLoaderGives)
{
    Out();
    std::vector<std::string> files = {Qel::ResolveAssetPath(Tone("DecodedTone.wav", 0.75))};
#ifdef QEL_TEST_MP3
    files.push_back(QEL_TEST_MP3);
#endif
    for (const std::string& file : files)
    {
        Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
        ASSERT_NE(chunk, nullptr) << file;
        const std::optional<Qel::DecodedSample> decoded = Qel::DecodeSampleFile(file);
        ASSERT_TRUE(decoded.has_value()) << file;
        ASSERT_EQ(decoded->size, chunk->alen) << file;
        // The WAV path is SDL's reader and converter in both; the MP3 decoder's rounding may differ.
        const auto* ours = reinterpret_cast<const std::int16_t*>(decoded->bytes.get());
        const auto* theirs = reinterpret_cast<const std::int16_t*>(chunk->abuf);
        int largest = 0;
        for (std::size_t index = 0; index < decoded->size / 2; ++index)
        {
            largest = std::max(largest, std::abs(ours[index] - theirs[index]));
        }
        EXPECT_LE(largest, file.ends_with(".wav") ? 0 : 2) << file;
        Mix_FreeChunk(chunk);
    }
    // A file the decoder does not take is left to the mixer without a reason; one it takes says why.
    const std::vector<std::pair<std::string, std::string>> failures = {
        {"NoSuch.wav", ""},
        {"Text.wav", ""},
        {"Broken.wav", "SDL's WAV reader: "},
        {"Broken.mp3", "libmpg123: "},
    };
    myFolder.WriteFile("data/Audio/Text.wav", "plain text");
    myFolder.WriteFile("data/Audio/Broken.wav", "RIFFjunkWAVEjunkjunk");
    myFolder.WriteFile("data/Audio/Broken.mp3", "ID3junk");
    for (const auto& [name, reason] : failures)
    {
        std::string failure = "stale";
        EXPECT_FALSE(
            Qel::DecodeSampleFile((myFolder.GetPath() / "data/Audio" / name).string(), &failure).has_value());
        EXPECT_EQ(failure.substr(0, reason.size()), reason) << name;
        EXPECT_EQ(failure.empty(), reason.empty()) << name << ": " << failure;
    }
    std::string failure = "stale";
    EXPECT_TRUE(Qel::DecodeSampleFile(files.front(), &failure).has_value());
    EXPECT_EQ(failure, "");
}
} // namespace
