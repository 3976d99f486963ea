#include "Animator/ClipIndices.h"
#include "Sound/SoundBank.h"
#include "Support/TempDir.h"
#include "Support/ToneWave.h"
#include "vek/audio/AudioOut.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
const std::vector<std::string> BANK_FILES = {
    "Button_Hover_SFX.wav",
    "Button_Select_SFX.wav",
    "Audio_Volume_Test.wav",
    "Prototype_Menu_Music.wav",
    "Steps01.wav",
    "Player_Run.wav",
    "Player_Backflip.wav",
    "Jump01.wav",
    "Wallslide01.wav",
    "Player_Land_Surface.wav",
    "GroundPound01.wav",
    "Hit01.wav",
    "PlaceHolder.wav",
    "Damage_Taken_V1.wav",
    "Damage_Taken_V2.wav",
    "Damage_Taken_V3.wav",
    "Schnoz_II_Footsteps_In_Sand.wav",
    "Schnoz_III_Footsteps_In_Sand.wav",
    "Boss_Roar_SFX.wav",
    "Boss_Move_SFX.wav",
    "Boss_Hurt_SFX.wav",
    "Boss_Death_SFX.wav",
    "Wisp_Pickup_Bell_V1.wav",
    "Wisp_Pickup_Bell_V2.wav",
    "Wisp_Pickup_Bell_V3.wav",
    "Wisp_Pickup_Bell_V4.wav",
    "Wisp_Pickup_Spirit_F_V1.wav",
    "Wisp_Pickup_Spirit_F_V2.wav",
    "Wisp_Pickup_Spirit_M_V1.wav",
    "Wisp_Pickup_Spirit_M_V2.wav",
    "World1_mainTheme.mp3",
    "World2_mainTheme.mp3",
    "World3_mainTheme.mp3",
    "BossFight_theme.mp3",
    "Bonus_Level_Music.wav",
    "The_End_Music.wav",
    "Vadevu_Tutorial_SFX_V1.wav",
    "Vadevu_Tutorial_SFX_V2.wav",
    "Vadevu_Tutorial_SFX_V3.wav",
    "The_End_SFX.wav",
    "High_Five.wav",
};

// The bank is one per process and loads everything when first reached, so its files are laid out
// once, before that, in a folder that lives as long as the test program.
class SoundBankTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (theFolder)
        {
            return;
        }
        theFolder = std::make_unique<QelTest::TempDir>();
        QelTest::ToneSpec spec;
        spec.mySampleRate = 8000;
        spec.mySeconds = 3.0;
        const std::string tone = QelTest::MakeToneWav(spec);
        for (const std::string& file : BANK_FILES)
        {
            // The mixer tells formats by their content, so the themes may be WAV data under .mp3 names.
            theFolder->WriteFile("data/Audio/" + file, tone);
        }
        PointAtTheFolder();
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        SoundBank::GetInstance();
        theConstructionReport = testing::internal::GetCapturedStdout();
        theConstructionMessages = testing::internal::GetCapturedStderr();
    }

    static void PointAtTheFolder() { Qel::SetExecutableFolder(theFolder->GetPath()); }

    void SetUp() override
    {
        PointAtTheFolder();
        Bank().SetRandomSource({});
        if (Bank().IsMuted())
        {
            Bank().ToggleMute();
        }
        Bank().SetMasterVolume(1.0f);
        Bank().StopAll();
        Bank().Update(1000.0f);
    }

    void TearDown() override { Bank().SetRandomSource({}); }

    static SoundBank& Bank() { return SoundBank::GetInstance(); }
    static Qel::AudioOut& Out() { return *Qel::GetAudioOut(); }

    static std::vector<std::uint32_t> ChannelsOf(const std::string& aFile)
    {
        const std::uint32_t sample = Out().FindSample(Qel::ResolveAssetPath("Audio/" + aFile));
        EXPECT_NE(sample, 0u) << aFile;
        return Out().GetSampleChannels(sample);
    }

    static std::size_t Voices(const std::string& aFile) { return ChannelsOf(aFile).size(); }

    static float VolumeOf(std::uint32_t aChannel)
    {
        float volume = -1.0f;
        Out().GetMixer().GetChannelVolume(aChannel, volume);
        return volume;
    }

    // Hands out the given draws in order and counts how many were taken.
    void UseDraws(std::vector<std::uint32_t> aVariants)
    {
        myDraws = std::move(aVariants);
        myDrawsTaken = 0;
        Bank().SetRandomSource(
            [this]
            {
                const std::uint32_t variant = myDraws.at(myDrawsTaken % myDraws.size());
                ++myDrawsTaken;
                return variant << 30;
            });
    }

    static std::unique_ptr<QelTest::TempDir> theFolder;
    static std::string theConstructionMessages;
    static std::string theConstructionReport;
    std::vector<std::uint32_t> myDraws;
    std::size_t myDrawsTaken = 0;
};

std::unique_ptr<QelTest::TempDir> SoundBankTest::theFolder;
std::string SoundBankTest::theConstructionMessages;
std::string SoundBankTest::theConstructionReport;

TEST_F(SoundBankTest, LoadsThePlaceHolderOnceAndReportsTheTwoLaterLoads)
{
    const std::string line =
        "Audio error: " + Qel::ResolveAssetPath("Audio/PlaceHolder.wav") + " already loaded\n";
    EXPECT_EQ(theConstructionMessages, line + line);
    // Every file that is there loaded, and none of them failed its decode on the way.
    EXPECT_EQ(theConstructionReport, "");
    for (const std::string& file : BANK_FILES)
    {
        EXPECT_NE(Out().FindSample(Qel::ResolveAssetPath("Audio/" + file)), 0u) << file;
    }
    EXPECT_GT(Bank().GetSound(12).GetAudio().GetSample(), 0);
    EXPECT_EQ(Bank().GetSound(40).GetAudio().GetSample(), 0);
    // Files that are not there leave silent records, and are not reported.
    EXPECT_EQ(Bank().GetSound(13).GetAudio().GetSample(), Qel::Audio::NOT_LOADED);
    EXPECT_EQ(&Bank().GetSound(38), &Bank().GetSound(31));
}

TEST_F(SoundBankTest, BusyWindowsLetAnEveryFrameCallerStartASoundOncePerWindow)
{
    for (int frame = 0; frame < 49; ++frame) // 0.8 s of frames, inside the 0.83 s window
    {
        Bank().Play(1);
        Bank().Update(1.0f / 60.0f);
    }
    EXPECT_EQ(Voices("Button_Select_SFX.wav"), 1u);
    Bank().Update(0.1f);
    Bank().Play(1);
    EXPECT_EQ(Voices("Button_Select_SFX.wav"), 2u);
    EXPECT_TRUE(Bank().GetSound(1).IsPlaying());
}

TEST_F(SoundBankTest, DamagePlaysTheHitAndOneFreeVariantChosenByTheDraw)
{
    UseDraws({3});
    Bank().Play(11);
    EXPECT_EQ(Voices("Hit01.wav"), 1u);
    EXPECT_EQ(Voices("Damage_Taken_V1.wav"), 0u);
    EXPECT_EQ(Voices("Damage_Taken_V2.wav"), 0u);
    EXPECT_EQ(Voices("Damage_Taken_V3.wav"), 1u) << "draws 2 and 3 both give the third variant";

    // The hit's window (0.39 s) ends before the variants' (0.45 s): the hit sounds again, alone.
    Bank().Update(0.4f);
    Bank().Play(11);
    EXPECT_EQ(Voices("Hit01.wav"), 2u);
    EXPECT_EQ(myDrawsTaken, 1u) << "no draw while a variant is busy";

    Bank().Update(0.1f);
    UseDraws({1});
    Bank().Play(11);
    EXPECT_EQ(Voices("Damage_Taken_V2.wav"), 1u);

    UseDraws({0});
    Bank().Play(33);
    EXPECT_EQ(Voices("Vadevu_Tutorial_SFX_V1.wav"), 1u);
    Bank().Play(33);
    EXPECT_EQ(myDrawsTaken, 1u);
    EXPECT_EQ(Voices("Hit01.wav"), 2u) << "the tutorial group has no lead sound";
}

TEST_F(SoundBankTest, AWispPicksAFreeBellAndAFreeSpiritRedrawingOverBusyOnes)
{
    UseDraws({0, 1});
    Bank().Play(23);
    EXPECT_EQ(Voices("Wisp_Pickup_Bell_V1.wav"), 1u);
    EXPECT_EQ(Voices("Wisp_Pickup_Spirit_F_V2.wav"), 1u);

    UseDraws({0, 0, 2, 1, 3});
    Bank().Play(23);
    EXPECT_EQ(myDrawsTaken, 5u);
    EXPECT_EQ(Voices("Wisp_Pickup_Bell_V3.wav"), 1u);
    EXPECT_EQ(Voices("Wisp_Pickup_Spirit_M_V2.wav"), 1u);

    UseDraws({1, 3, 2, 3, 0});
    Bank().Play(23);
    Bank().Play(23);
    EXPECT_EQ(Voices("Wisp_Pickup_Bell_V2.wav"), 1u);
    EXPECT_EQ(Voices("Wisp_Pickup_Bell_V4.wav"), 1u);
    EXPECT_EQ(Voices("Wisp_Pickup_Spirit_M_V1.wav"), 1u);
    EXPECT_EQ(Voices("Wisp_Pickup_Spirit_F_V1.wav"), 1u);

    // Every variant busy: nothing more plays and nothing is drawn.
    UseDraws({0});
    Bank().Play(23);
    EXPECT_EQ(myDrawsTaken, 0u);
    EXPECT_EQ(Voices("Wisp_Pickup_Bell_V1.wav"), 1u);

    Bank().Stop(23);
    for (const char* file :
         {"Wisp_Pickup_Bell_V1.wav", "Wisp_Pickup_Bell_V4.wav", "Wisp_Pickup_Spirit_M_V2.wav"})
    {
        EXPECT_EQ(Voices(file), 0u) << file;
    }
}

TEST_F(SoundBankTest, TheDefaultRandomSourceGivesEveryVariantIndex)
{
    std::vector<int> seen(4, 0);
    for (int draw = 0; draw < 400; ++draw)
    {
        const int variant = Bank().PickVariant();
        ASSERT_GE(variant, 0);
        ASSERT_LE(variant, 3);
        ++seen[static_cast<std::size_t>(variant)];
    }
    for (int count : seen)
    {
        EXPECT_GT(count, 0);
    }
}

TEST_F(SoundBankTest, EachLevelPathStartsItsThemeAndStopsTheLastOne)
{
    const std::vector<std::pair<std::string, std::string>> themes = {
        {"levels/L_World1_Level1", "World1_mainTheme.mp3"},
        {"levels/L_World1_Level2.vks", "World1_mainTheme.mp3"},
        {"levels/L_World2_Level1.vks", "World2_mainTheme.mp3"},
        {"levels/L_World2_Level2", "World2_mainTheme.mp3"},
        {"levels/L_World3_Level1", "World3_mainTheme.mp3"},
        {"levels/L_World3_Level2.vks", "World3_mainTheme.mp3"},
        {"levels/L_World3_Level3", "BossFight_theme.mp3"},
        {"levels/L_World3_BonusLevel", "Bonus_Level_Music.wav"},
        {"The_End", "The_End_Music.wav"},
    };
    std::string previous;
    for (const auto& [level, theme] : themes)
    {
        Bank().PlayMusicForLevel(level);
        EXPECT_EQ(Voices(theme), 1u) << level;
        if (!previous.empty() && previous != theme)
        {
            EXPECT_EQ(Voices(previous), 0u) << level;
        }
        previous = theme;
    }

    // Unknown names, a different case and an extension on "The_End" stop the music and start none.
    for (const char* name : {"None", "levels/l_world1_level1", "The_End.vks", "levels/L_World1_Level1.VKS"})
    {
        Bank().PlayMusicForLevel("levels/L_World2_Level1");
        Bank().PlayMusicForLevel(name);
        EXPECT_EQ(Voices("World2_mainTheme.mp3"), 0u) << name;
        EXPECT_EQ(Voices("World1_mainTheme.mp3"), 0u) << name;
    }
}

TEST_F(SoundBankTest, Id38IsTheBonusMusicInEveryOperation)
{
    Bank().Play(38);
    const std::vector<std::uint32_t> voices = ChannelsOf("Bonus_Level_Music.wav");
    ASSERT_EQ(voices.size(), 1u);
    Bank().SetVolume(38, 0.25f);
    EXPECT_FLOAT_EQ(VolumeOf(voices[0]), 0.25f);
    Bank().Stop(38);
    EXPECT_EQ(Voices("Bonus_Level_Music.wav"), 0u);
}

TEST_F(SoundBankTest, MuteSilencesEveryLivePlaybackAndUnmuteRestoresTheSavedVolume)
{
    for (int layer = 0; layer < 3; ++layer) // overlapping footsteps, one per busy window
    {
        Bank().Play(14);
        Bank().Update(5.0f);
    }
    Bank().Play(0);
    Bank().SetMasterVolume(0.8f);
    ASSERT_EQ(Voices("Schnoz_II_Footsteps_In_Sand.wav"), 3u);

    Bank().ToggleMute();
    EXPECT_TRUE(Bank().IsMuted());
    EXPECT_FLOAT_EQ(Bank().GetMasterVolume(), 0.8f);
    for (const char* file : {"Schnoz_II_Footsteps_In_Sand.wav", "Button_Hover_SFX.wav"})
    {
        for (std::uint32_t channel : ChannelsOf(file))
        {
            EXPECT_FLOAT_EQ(VolumeOf(channel), 0.0f) << file;
        }
    }
    Bank().Play(1);
    Bank().SetVolume(14, 1.0f);
    EXPECT_FLOAT_EQ(VolumeOf(ChannelsOf("Button_Select_SFX.wav").at(0)), 0.0f);
    EXPECT_FLOAT_EQ(VolumeOf(ChannelsOf("Schnoz_II_Footsteps_In_Sand.wav").back()), 0.0f);

    Bank().SetMasterVolume(0.5f);
    EXPECT_FLOAT_EQ(Bank().GetMasterVolume(), 0.5f);
    EXPECT_FLOAT_EQ(VolumeOf(ChannelsOf("Button_Hover_SFX.wav").at(0)), 0.0f) << "still muted";

    Bank().ToggleMute();
    EXPECT_FALSE(Bank().IsMuted());
    for (std::uint32_t channel : ChannelsOf("Schnoz_II_Footsteps_In_Sand.wav"))
    {
        EXPECT_FLOAT_EQ(VolumeOf(channel), 0.5f);
    }
}

TEST_F(SoundBankTest, VolumeAndPanByIdReachTheLatestPlaybackOfEveryRecordOfTheId)
{
    Bank().SetMasterVolume(0.8f);
    Bank().Play(14);
    Bank().Update(5.0f);
    Bank().Play(14);
    const std::vector<std::uint32_t> steps = ChannelsOf("Schnoz_II_Footsteps_In_Sand.wav");
    ASSERT_EQ(steps.size(), 2u);
    Bank().SetVolume(14, 0.5f);
    EXPECT_FLOAT_EQ(VolumeOf(steps[0]), 0.8f);
    EXPECT_FLOAT_EQ(VolumeOf(steps[1]), 0.4f);

    UseDraws({0});
    Bank().Play(11);
    Bank().SetVolume(11, 0.25f);
    Bank().SetPan(11, {-0.5f, 0.0f});
    for (const char* file : {"Hit01.wav", "Damage_Taken_V1.wav"})
    {
        const std::uint32_t channel = ChannelsOf(file).at(0);
        EXPECT_FLOAT_EQ(VolumeOf(channel), 0.2f) << file;
        float pan = 0.0f;
        Out().GetMixer().GetChannelPan(channel, pan);
        EXPECT_FLOAT_EQ(pan, -0.5f) << file;
    }

    // Ids past the catalogue change nothing.
    Bank().SetVolume(45, 1.0f);
    Bank().SetVolume(-1, 1.0f);
    Bank().SetPan(45, {1.0f, 0.0f});
    EXPECT_FLOAT_EQ(VolumeOf(ChannelsOf("Hit01.wav").at(0)), 0.2f);
}

TEST_F(SoundBankTest, IdsOutsideTheCatalogueStopEverything)
{
    using StopCall = void (*)();
    for (const StopCall stop : {StopCall{[]
                                         {
                                             Bank().Play(45);
                                         }},
                                StopCall{[]
                                         {
                                             Bank().Stop(-1);
                                         }},
                                StopCall{[]
                                         {
                                             Bank().Stop(45);
                                         }}})
    {
        Bank().Update(1000.0f);
        Bank().Play(3);
        Bank().Play(4);
        Bank().PlayMusicForLevel("levels/L_World1_Level1");
        stop();
        EXPECT_EQ(Voices("Prototype_Menu_Music.wav"), 0u);
        EXPECT_EQ(Voices("Steps01.wav"), 0u);
        EXPECT_EQ(Voices("World1_mainTheme.mp3"), 0u);
    }
}

TEST_F(SoundBankTest, LoopsAskedForEveryFrameKeepOneVoice)
{
    for (int frame = 0; frame < 300; ++frame) // 5 s: five windows of the enemy's 1 s footstep loop
    {
        Bank().Play(16);
        Bank().Play(0);
        Bank().Update(1.0f / 60.0f);
    }
    EXPECT_EQ(Voices("Schnoz_III_Footsteps_In_Sand.wav"), 1u);
    EXPECT_EQ(Voices("Button_Hover_SFX.wav"), 1u);
}

TEST_F(SoundBankTest, PlayerClipsStartAndStopTheMovementSounds)
{
    SoundBank& bank = Bank();
    for (int frame = 0; frame < 30; ++frame)
    {
        bank.UpdatePlayerSounds(PlayerClip::WALK);
    }
    EXPECT_EQ(Voices("Steps01.wav"), 1u);
    for (std::int32_t ignored : {PlayerClip::INTRO_START, PlayerClip::COUNT, -1, PlayerClip::STOP})
    {
        bank.UpdatePlayerSounds(ignored);
    }
    EXPECT_EQ(Voices("Steps01.wav"), 1u);

    bank.UpdatePlayerSounds(PlayerClip::RUN);
    EXPECT_EQ(Voices("Steps01.wav"), 0u);
    EXPECT_EQ(Voices("Player_Run.wav"), 1u);
    bank.UpdatePlayerSounds(PlayerClip::WALL_SLIDE);
    EXPECT_EQ(Voices("Wallslide01.wav"), 1u);
    bank.UpdatePlayerSounds(PlayerClip::JUMP);
    EXPECT_EQ(Voices("Player_Run.wav"), 0u);
    EXPECT_EQ(Voices("Wallslide01.wav"), 0u);
    EXPECT_EQ(Voices("Jump01.wav"), 1u);
    bank.UpdatePlayerSounds(PlayerClip::JUMP_LEAVE);
    EXPECT_EQ(Voices("Player_Land_Surface.wav"), 1u);
    bank.UpdatePlayerSounds(PlayerClip::GROUND_POUND_START);
    EXPECT_EQ(Voices("Player_Backflip.wav"), 1u);
    bank.UpdatePlayerSounds(PlayerClip::GROUND_POUND_END);
    EXPECT_EQ(Voices("Player_Backflip.wav"), 0u);
    EXPECT_EQ(Voices("GroundPound01.wav"), 1u);

    bank.UpdatePlayerSounds(PlayerClip::IDLE);
    for (const char* file : {"Jump01.wav", "Player_Land_Surface.wav", "GroundPound01.wav"})
    {
        EXPECT_EQ(Voices(file), 0u) << file;
    }
    bank.UpdatePlayerSounds(PlayerClip::WIN);
    EXPECT_EQ(Voices("High_Five.wav"), 1u);
    bank.UpdatePlayerSounds(PlayerClip::END_CUTSCENE);
    EXPECT_EQ(Voices("The_End_SFX.wav"), 1u);
}

TEST_F(SoundBankTest, BossClipsDriveItsSoundsAndItsDeathEndsTheMusicOncePerRun)
{
    SoundBank& bank = Bank();
    bank.UpdateBossSounds(BossClip::INTRO);
    bank.UpdateBossSounds(BossClip::HURT);
    bank.UpdateBossSounds(BossClip::MOVE);
    bank.UpdateBossSounds(BossClip::DANCE);
    EXPECT_EQ(Voices("Boss_Roar_SFX.wav"), 1u);
    EXPECT_EQ(Voices("Boss_Hurt_SFX.wav"), 1u);
    EXPECT_EQ(Voices("Boss_Move_SFX.wav"), 1u);
    bank.UpdateBossSounds(BossClip::IDLE);
    EXPECT_EQ(Voices("Boss_Roar_SFX.wav") + Voices("Boss_Hurt_SFX.wav") + Voices("Boss_Move_SFX.wav"), 0u);

    bank.PlayMusicForLevel("levels/L_World3_Level3");
    bank.UpdateBossSounds(BossClip::DEATH);
    EXPECT_EQ(Voices("Boss_Death_SFX.wav"), 1u);
    EXPECT_EQ(Voices("BossFight_theme.mp3"), 0u);
    EXPECT_EQ(Voices("The_End_Music.wav"), 1u);

    bank.StopAll();
    bank.Update(1000.0f);
    bank.UpdateBossSounds(BossClip::DEATH);
    EXPECT_EQ(Voices("Boss_Death_SFX.wav"), 0u);
    EXPECT_EQ(Voices("The_End_Music.wav"), 0u);
}
} // namespace
