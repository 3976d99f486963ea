// The shipped sounds, as the game's sound bank loads them from the run layout beside this program:
// every file is there and decodes, one-shots end within the time the game keeps them busy, loops are
// long enough and meet their start without a gap, nothing clips, and the menu music reaches the
// audio device (SDL's disk driver, so the output can be read back).
#include "Sound/SoundBank.h"
#include "Support/TempDir.h"
#include "Support/WaitUntil.h"
#include "vek/audio/AudioOut.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <SDL2/SDL_log.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
struct BankFile
{
    const char* myName;
    bool myIsLooping;
    double myBusySeconds;
};

// Every distinct file the bank names, with its loop flag and busy time.
const std::vector<BankFile> BANK_FILES = {
    {"Button_Hover_SFX.wav", true, 9.85},
    {"Button_Select_SFX.wav", false, 0.83},
    {"Audio_Volume_Test.wav", false, 1.23},
    {"Prototype_Menu_Music.wav", true, 57.66},
    {"Steps01.wav", false, 9.0},
    {"Player_Run.wav", false, 8.835},
    {"Player_Backflip.wav", false, 0.9},
    {"Jump01.wav", false, 1.0},
    {"Wallslide01.wav", false, 2.0},
    {"Player_Land_Surface.wav", false, 1.0},
    {"GroundPound01.wav", false, 1.0},
    {"Hit01.wav", false, 0.39},
    {"PlaceHolder.wav", false, 1.0},
    {"Damage_Taken_V1.wav", false, 0.45},
    {"Damage_Taken_V2.wav", false, 0.45},
    {"Damage_Taken_V3.wav", false, 0.45},
    {"Schnoz_II_Death_Audio.wav", false, 0.855},
    {"Schnoz_II_Footsteps_In_Sand.wav", false, 4.245},
    {"Schnoz_III_Death_Audio.wav", false, 0.925},
    {"Schnoz_III_Footsteps_In_Sand.wav", true, 1.0},
    {"Schnoz_Armor_Break.wav", false, 1.075},
    {"Boss_Roar_SFX.wav", false, 7.0},
    {"Boss_Move_SFX.wav", false, 3.63},
    {"Boss_Hurt_SFX.wav", false, 2.0},
    {"Boss_Death_SFX.wav", false, 1.0},
    {"Eye_SFX.wav", false, 1.0},
    {"Wisp_Pickup_Bell_V1.wav", false, 2.0},
    {"Wisp_Pickup_Bell_V2.wav", false, 2.0},
    {"Wisp_Pickup_Bell_V3.wav", false, 2.0},
    {"Wisp_Pickup_Bell_V4.wav", false, 2.0},
    {"Wisp_Pickup_Spirit_F_V1.wav", false, 2.0},
    {"Wisp_Pickup_Spirit_F_V2.wav", false, 2.0},
    {"Wisp_Pickup_Spirit_M_V1.wav", false, 2.0},
    {"Wisp_Pickup_Spirit_M_V2.wav", false, 2.0},
    {"Powerup_Pickup.wav", false, 3.0},
    {"Key_Pickup.wav", false, 0.865},
    {"Exit_Door.wav", false, 3.525},
    {"World1_mainTheme.mp3", true, 1.0},
    {"World2_mainTheme.mp3", true, 1.0},
    {"World3_mainTheme.mp3", true, 1.0},
    {"BossFight_theme.mp3", true, 1.0},
    {"Bonus_Level_Music.wav", true, 1.0},
    {"The_End_Music.wav", true, 1.0},
    {"Vadevu_Tutorial_SFX_V1.wav", false, 6.0},
    {"Vadevu_Tutorial_SFX_V2.wav", false, 6.0},
    {"Vadevu_Tutorial_SFX_V3.wav", false, 6.0},
    {"Level_Cleared_Music.wav", false, 6.4},
    {"The_End_SFX.wav", false, 21.0},
    {"Worldmap_Movement.mp3", true, 1.071},
    {"Worldmap_Choose_Level.wav", false, 5.0},
    {"Completing_Region.wav", false, 11.3},
    {"Blood_Bubbling_SFX.wav", true, 30.0},
    {"Breakable_Tile_SFX.wav", false, 0.98},
    {"Checkpoint_SFX.wav", false, 1.71},
    {"High_Five.wav", false, 10.0},
};

constexpr int CHANNELS = 2;
constexpr double FRAMES_PER_SECOND = 44100.0;
// -0.5 dBFS: a made sound stays clearly below full scale, so nothing clips on its own.
constexpr int PEAK_LIMIT = 30934;
constexpr std::uint32_t MENU_MUSIC = 3;

// The looping music: the menu's, and the themes that the game keeps busy for only a second.
bool IsTheme(const BankFile& aFile)
{
    const std::string name = aFile.myName;
    return aFile.myIsLooping &&
           (name.find("Music") != std::string::npos || name.find("heme") != std::string::npos);
}

SDL_LogOutputFunction theSdlLog = nullptr;
void* theSdlLogData = nullptr;

// The disk driver announces itself when it opens; that notice comes from the test's choice of
// device, not from the game, so it is kept out of what the bank is seen to print.
void DropDiskDriverNotice(void*, int aCategory, SDL_LogPriority aPriority, const char* aMessage)
{
    if (aCategory == SDL_LOG_CATEGORY_AUDIO && aPriority == SDL_LOG_PRIORITY_CRITICAL)
    {
        return;
    }
    theSdlLog(theSdlLogData, aCategory, aPriority, aMessage);
}

std::string AudioPath(const std::string& aName)
{
    return Qel::ResolveAssetPath("Audio/" + aName);
}

// The file as the mixer holds it: 44100 Hz stereo signed 16-bit, interleaved.
std::vector<std::int16_t> Decode(const std::string& aName)
{
    Mix_Chunk* chunk = Mix_LoadWAV(AudioPath(aName).c_str());
    if (chunk == nullptr)
    {
        return {};
    }
    const auto* first = reinterpret_cast<const std::int16_t*>(chunk->abuf);
    std::vector<std::int16_t> pcm(first, first + chunk->alen / sizeof(std::int16_t));
    Mix_FreeChunk(chunk);
    return pcm;
}

double Rms(const std::vector<std::int16_t>& aPcm, std::size_t aFirst, std::size_t aCount)
{
    double sum = 0.0;
    for (std::size_t i = aFirst; i < aFirst + aCount; ++i)
    {
        sum += static_cast<double>(aPcm[i]) * aPcm[i];
    }
    return std::sqrt(sum / static_cast<double>(aCount));
}

class SoundContentTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (theOutputFolder)
        {
            return;
        }
        // The device must be chosen before the bank opens it, on its first use.
        theOutputFolder = std::make_unique<QelTest::TempDir>();
        theOutputFile = (theOutputFolder->GetPath() / "output.raw").string();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", theOutputFile.c_str(), 1);
        SDL_LogGetOutputFunction(&theSdlLog, &theSdlLogData);
        SDL_LogSetOutputFunction(&DropDiskDriverNotice, nullptr);
        ASSERT_TRUE(Qel::LoadSettings("Game"));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        SoundBank::GetInstance();
        theStandardOutput = testing::internal::GetCapturedStdout();
        theStandardError = testing::internal::GetCapturedStderr();
    }

    static Qel::AudioOut& Out() { return *Qel::GetAudioOut(); }

    static double LengthSeconds(const std::string& aName)
    {
        Qel::SampleInfo info;
        const std::uint32_t sample = Out().FindSample(AudioPath(aName));
        return sample != 0 && Out().GetMixer().GetSampleInfo(sample, info) ? info.myLengthSeconds : -1.0;
    }

    // What the device has been given since aFromByte.
    static std::vector<std::int16_t> ReadOutput(std::size_t aFromByte)
    {
        std::ifstream file(theOutputFile, std::ios::binary);
        const std::size_t size = std::filesystem::file_size(theOutputFile);
        std::vector<std::int16_t> pcm((size - std::min(size, aFromByte)) / sizeof(std::int16_t));
        file.seekg(static_cast<std::streamoff>(aFromByte));
        file.read(reinterpret_cast<char*>(pcm.data()),
                  static_cast<std::streamsize>(pcm.size() * sizeof(std::int16_t)));
        pcm.resize(static_cast<std::size_t>(file.gcount()) / sizeof(std::int16_t));
        return pcm;
    }

    static std::unique_ptr<QelTest::TempDir> theOutputFolder;
    static std::string theOutputFile;
    static std::string theStandardOutput;
    static std::string theStandardError;
};

std::unique_ptr<QelTest::TempDir> SoundContentTest::theOutputFolder;
std::string SoundContentTest::theOutputFile;
std::string SoundContentTest::theStandardOutput;
std::string SoundContentTest::theStandardError;

TEST_F(SoundContentTest, TheBankLoadsEveryFileAndReportsOnlyTheRepeatedPlaceHolder)
{
    ASSERT_EQ(BANK_FILES.size(), 55u);
    ASSERT_TRUE(Out().IsInitialized()) << "the disk audio driver did not open";
    for (const BankFile& file : BANK_FILES)
    {
        SCOPED_TRACE(file.myName);
        EXPECT_NE(AudioPath(file.myName).find("/data/game/Audio/"), std::string::npos);
        EXPECT_GT(LengthSeconds(file.myName), 0.2);
        EXPECT_EQ(Out().IsSampleLooping(Out().FindSample(AudioPath(file.myName))), file.myIsLooping);
    }
    const std::string line = "Audio error: " + AudioPath("PlaceHolder.wav") + " already loaded\n";
    EXPECT_EQ(theStandardError, line + line);
    EXPECT_EQ(theStandardOutput, "");
    EXPECT_GT(SoundBank::GetInstance().GetSound(38).GetAudio().GetSample(), 0);
}

TEST_F(SoundContentTest, OneShotsEndWithinTheirBusyTimeAndThemesLoopLongEnough)
{
    for (const BankFile& file : BANK_FILES)
    {
        SCOPED_TRACE(file.myName);
        const double seconds = LengthSeconds(file.myName);
        if (!file.myIsLooping)
        {
            EXPECT_LE(seconds, file.myBusySeconds);
        }
        else if (IsTheme(file))
        {
            EXPECT_GE(seconds, 30.0);
            EXPECT_LE(seconds, 90.0);
        }
    }
    EXPECT_NEAR(LengthSeconds("Prototype_Menu_Music.wav"), 57.66, 0.05);
}

TEST_F(SoundContentTest, NothingClipsAndLoopsRunOnThroughTheirSeam)
{
    for (const BankFile& file : BANK_FILES)
    {
        SCOPED_TRACE(file.myName);
        const std::vector<std::int16_t> pcm = Decode(file.myName);
        ASSERT_GT(pcm.size(), 1000u);
        int peak = 0;
        for (const std::int16_t value : pcm)
        {
            peak = std::max(peak, std::abs(static_cast<int>(value)));
        }
        EXPECT_LT(peak, PEAK_LIMIT);
        EXPECT_GT(peak, 1000) << "all but silent";
        if (!file.myIsLooping)
        {
            continue;
        }
        // A loop adds no step at its seam larger than any the sound takes inside, and a piece of music
        // plays on to its very end (encoder padding would leave a silent gap before the seam).
        const std::size_t frames = pcm.size() / CHANNELS;
        for (int channel = 0; channel < CHANNELS; ++channel)
        {
            int largestStep = 0;
            for (std::size_t frame = 1; frame < frames; ++frame)
            {
                largestStep = std::max(largestStep, std::abs(pcm[frame * CHANNELS + channel] -
                                                             pcm[(frame - 1) * CHANNELS + channel]));
            }
            const int seam = std::abs(pcm[channel] - pcm[(frames - 1) * CHANNELS + channel]);
            EXPECT_LE(seam, largestStep) << "channel " << channel;
        }
        if (IsTheme(file))
        {
            const auto tail = static_cast<std::size_t>(0.01 * FRAMES_PER_SECOND) * CHANNELS;
            EXPECT_GT(Rms(pcm, pcm.size() - tail, tail), Rms(pcm, 0, pcm.size()) * 0.05);
        }
    }
}

TEST_F(SoundContentTest, TheMenuMusicReachesTheAudioDevice)
{
    const std::vector<std::int16_t> music = Decode("Prototype_Menu_Music.wav");
    const auto firstSound =
        std::find_if(music.begin(), music.end(), [](std::int16_t aValue) { return aValue != 0; });
    ASSERT_NE(firstSound, music.end());
    const auto musicStart =
        static_cast<std::size_t>(std::distance(music.begin(), firstSound)) / CHANNELS * CHANNELS;
    constexpr std::size_t COMPARED = 8192 * CHANNELS;

    SoundBank::GetInstance().StopAll();
    const auto before =
        static_cast<std::size_t>(std::ifstream(theOutputFile, std::ios::binary | std::ios::ate).tellg());
    SoundBank::GetInstance().Play(MENU_MUSIC);

    // The disk driver writes in real time; wait until what follows the start has been written.
    std::vector<std::int16_t> output;
    std::size_t outputStart = 0;
    const bool found = QelTest::WaitUntil(
        [&]
        {
            output = ReadOutput(before);
            const auto heard =
                std::find_if(output.begin(), output.end(), [](std::int16_t aValue) { return aValue != 0; });
            outputStart =
                static_cast<std::size_t>(std::distance(output.begin(), heard)) / CHANNELS * CHANNELS;
            return heard != output.end() && output.size() >= outputStart + COMPARED;
        },
        [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
    ASSERT_TRUE(found) << "the music never reached the output";
    int largestDifference = 0;
    for (std::size_t i = 0; i < COMPARED; ++i)
    {
        largestDifference =
            std::max(largestDifference, std::abs(output[outputStart + i] - music[musicStart + i]));
    }
    EXPECT_LE(largestDifference, 2) << "the output is not the menu music at full volume";
    SoundBank::GetInstance().StopAll();
}
} // namespace
