#include "Sound/SoundBank.h"

#include "Animator/ClipIndices.h"
#include "vek/audio/SamplePrefetch.h"
#include "vek/settings/AssetPaths.h"

#include <algorithm>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace
{
struct CatalogueEntry
{
    const char* myPath;
    bool myIsLooping;
    float myBusySeconds;
    bool myIsMusic;
};

// Load order. Variant groups sit at their place in the order: damage after id 12, bells and spirits
// after id 22, tutorial after id 32; one record between ids 37 and 39 has no id.
constexpr std::array<CatalogueEntry, SoundBank::RECORD_COUNT> CATALOGUE = {{
    {"Audio/Button_Hover_SFX.wav", true, 9.85f, false},
    {"Audio/Button_Select_SFX.wav", false, 0.83f, false},
    {"Audio/Audio_Volume_Test.wav", false, 1.23f, false},
    {"Audio/Prototype_Menu_Music.wav", true, 57.66f, true},
    {"Audio/Steps01.wav", false, 9.0f, false},
    {"Audio/Player_Run.wav", false, 8.835f, false},
    {"Audio/Player_Backflip.wav", false, 0.9f, false},
    {"Audio/Jump01.wav", false, 1.0f, false},
    {"Audio/Wallslide01.wav", false, 2.0f, false},
    {"Audio/Player_Land_Surface.wav", false, 1.0f, false},
    {"Audio/GroundPound01.wav", false, 1.0f, false},
    {"Audio/Hit01.wav", false, 0.39f, false},
    {"Audio/PlaceHolder.wav", false, 1.0f, false},
    {"Audio/Damage_Taken_V1.wav", false, 0.45f, false},
    {"Audio/Damage_Taken_V2.wav", false, 0.45f, false},
    {"Audio/Damage_Taken_V3.wav", false, 0.45f, false},
    {"Audio/Schnoz_II_Death_Audio.wav", false, 0.855f, false},
    {"Audio/Schnoz_II_Footsteps_In_Sand.wav", false, 4.245f, false},
    {"Audio/Schnoz_III_Death_Audio.wav", false, 0.925f, false},
    {"Audio/Schnoz_III_Footsteps_In_Sand.wav", true, 1.0f, false},
    {"Audio/Schnoz_Armor_Break.wav", false, 1.075f, false},
    {"Audio/Boss_Roar_SFX.wav", false, 7.0f, false},
    {"Audio/Boss_Move_SFX.wav", false, 3.63f, false},
    {"Audio/Boss_Hurt_SFX.wav", false, 2.0f, false},
    {"Audio/Boss_Death_SFX.wav", false, 1.0f, false},
    {"Audio/Eye_SFX.wav", false, 1.0f, false},
    {"Audio/Wisp_Pickup_Bell_V1.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Bell_V2.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Bell_V3.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Bell_V4.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Spirit_F_V1.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Spirit_F_V2.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Spirit_M_V1.wav", false, 2.0f, false},
    {"Audio/Wisp_Pickup_Spirit_M_V2.wav", false, 2.0f, false},
    {"Audio/Powerup_Pickup.wav", false, 3.0f, false},
    {"Audio/Key_Pickup.wav", false, 0.865f, false},
    {"Audio/Exit_Door.wav", false, 3.525f, false},
    {"Audio/World1_mainTheme.mp3", true, 1.0f, true},
    {"Audio/World2_mainTheme.mp3", true, 1.0f, true},
    {"Audio/World3_mainTheme.mp3", true, 1.0f, true},
    {"Audio/BossFight_theme.mp3", true, 1.0f, true},
    {"Audio/Bonus_Level_Music.wav", true, 1.0f, true},
    {"Audio/The_End_Music.wav", true, 1.0f, true},
    {"Audio/Vadevu_Tutorial_SFX_V1.wav", false, 6.0f, false},
    {"Audio/Vadevu_Tutorial_SFX_V2.wav", false, 6.0f, false},
    {"Audio/Vadevu_Tutorial_SFX_V3.wav", false, 6.0f, false},
    {"Audio/Level_Cleared_Music.wav", false, 6.4f, true},
    {"Audio/The_End_SFX.wav", false, 21.0f, false},
    {"Audio/Worldmap_Movement.mp3", true, 1.071f, false},
    {"Audio/Worldmap_Choose_Level.wav", false, 5.0f, false},
    {"Audio/PlaceHolder.wav", false, 1.0f, false},
    {"Audio/Completing_Region.wav", false, 11.3f, false},
    {"Audio/PlaceHolder.wav", false, 1.0f, false},
    {"Audio/Blood_Bubbling_SFX.wav", true, 30.0f, false},
    {"Audio/Breakable_Tile_SFX.wav", false, 0.98f, false},
    {"Audio/Checkpoint_SFX.wav", false, 1.71f, false},
    {"Audio/High_Five.wav", false, 10.0f, false},
}};

struct Group
{
    int myFirst;
    int myCount;
};

constexpr int HIT_RECORD = 11;
constexpr Group DAMAGE_VARIANTS{13, 3};
constexpr Group BELL_VARIANTS{26, 4};
constexpr Group SPIRIT_VARIANTS{30, 4};
constexpr Group TUTORIAL_VARIANTS{43, 3};

constexpr std::uint32_t DAMAGE_ID = 11;
constexpr std::uint32_t WISP_ID = 23;
constexpr std::uint32_t TUTORIAL_ID = 33;

// Record of each single id; the group ids give their lead record (Hit01) or first variant.
constexpr std::array<int, SoundBank::MAX_SOUND_ID + 1> ID_RECORD = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
    26, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 46, 47, 48, 49, 41, 51, 52, 53, 54, 55, 56,
};

// Sound ids the hooks start and stop.
constexpr std::uint32_t STEPS = 4;
constexpr std::uint32_t RUN = 5;
constexpr std::uint32_t BACKFLIP = 6;
constexpr std::uint32_t JUMP = 7;
constexpr std::uint32_t WALL_SLIDE = 8;
constexpr std::uint32_t LAND = 9;
constexpr std::uint32_t GROUND_POUND = 10;
constexpr std::uint32_t BOSS_ROAR = 18;
constexpr std::uint32_t BOSS_MOVE = 19;
constexpr std::uint32_t BOSS_HURT = 20;
constexpr std::uint32_t BOSS_DEATH = 21;
constexpr std::uint32_t THE_END_SFX = 35;
constexpr std::uint32_t HIGH_FIVE = 44;
constexpr std::array<std::uint32_t, 6> MOVEMENT_SOUNDS = {STEPS, RUN, JUMP, WALL_SLIDE, LAND, GROUND_POUND};

struct LevelMusic
{
    std::string_view myLevel;
    std::int32_t myMusicId;
};

constexpr std::array<LevelMusic, 8> LEVEL_MUSIC = {{
    {"levels/L_World1_Level1", 27},
    {"levels/L_World1_Level2", 27},
    {"levels/L_World2_Level1", 28},
    {"levels/L_World2_Level2", 28},
    {"levels/L_World3_Level1", 29},
    {"levels/L_World3_Level2", 29},
    {"levels/L_World3_Level3", 30},
    {"levels/L_World3_BonusLevel", 31},
}};
constexpr std::string_view END_MUSIC_NAME = "The_End";
constexpr std::int32_t END_MUSIC_ID = 32;
constexpr std::string_view LEVEL_EXTENSION = ".vks";

// A deterministic source that always lands on a busy variant must not hang the game.
constexpr int MAX_VARIANT_DRAWS = 1000;

std::uint32_t DrawFromFreshGenerator()
{
    std::random_device device;
    std::mt19937 generator(device());
    return static_cast<std::uint32_t>(generator());
}

std::int32_t FindLevelMusic(std::string_view aLevelName)
{
    if (aLevelName == END_MUSIC_NAME)
    {
        return END_MUSIC_ID;
    }
    if (aLevelName.ends_with(LEVEL_EXTENSION))
    {
        aLevelName.remove_suffix(LEVEL_EXTENSION.size());
    }
    for (const LevelMusic& entry : LEVEL_MUSIC)
    {
        if (entry.myLevel == aLevelName)
        {
            return entry.myMusicId;
        }
    }
    return -1;
}
} // namespace

SoundBank& SoundBank::GetInstance()
{
    static SoundBank theBank;
    return theBank;
}

void SoundBank::PrefetchSounds()
{
    std::vector<std::string> paths;
    for (const CatalogueEntry& entry : CATALOGUE)
    {
        paths.push_back(Qel::ResolveAssetPath(entry.myPath));
    }
    Qel::PrefetchSamples(paths);
}

SoundBank::SoundBank()
{
    PrefetchSounds();
    for (int record = 0; record < RECORD_COUNT; ++record)
    {
        const CatalogueEntry& entry = CATALOGUE[static_cast<std::size_t>(record)];
        myRecords[static_cast<std::size_t>(record)].Load(entry.myPath, entry.myIsLooping,
                                                         entry.myBusySeconds);
    }
}

Sound* SoundBank::FindSingle(std::uint32_t aId)
{
    if (aId > MAX_SOUND_ID)
    {
        return nullptr;
    }
    return &myRecords[static_cast<std::size_t>(ID_RECORD[aId])];
}

const Sound& SoundBank::GetSound(std::uint32_t aId) const
{
    return myRecords[static_cast<std::size_t>(ID_RECORD[std::min(aId, MAX_SOUND_ID)])];
}

float SoundBank::GetCategoryVolume(int aRecord) const
{
    return CATALOGUE[static_cast<std::size_t>(aRecord)].myIsMusic ? myMusicVolume : myEffectsVolume;
}

template <typename Action>
void SoundBank::ForEachRecordOf(std::uint32_t aId, Action aAction)
{
    const auto forGroup = [&](Group aGroup)
    {
        for (int record = aGroup.myFirst; record < aGroup.myFirst + aGroup.myCount; ++record)
        {
            aAction(record);
        }
    };
    switch (aId)
    {
    case DAMAGE_ID:
        aAction(HIT_RECORD);
        forGroup(DAMAGE_VARIANTS);
        break;
    case WISP_ID:
        forGroup(BELL_VARIANTS);
        forGroup(SPIRIT_VARIANTS);
        break;
    case TUTORIAL_ID:
        forGroup(TUTORIAL_VARIANTS);
        break;
    default:
        aAction(ID_RECORD[aId]);
        break;
    }
}

void SoundBank::PlayFreeVariant(int aFirst, int aCount, std::int32_t& aOutPick)
{
    const auto isBusy = [&](int aVariant)
    {
        return myRecords[static_cast<std::size_t>(aFirst + aVariant)].IsPlaying();
    };
    int firstFree = -1;
    for (int variant = aCount - 1; variant >= 0; --variant)
    {
        if (!isBusy(variant))
        {
            firstFree = variant;
        }
    }
    if (firstFree < 0)
    {
        return;
    }
    int pick = firstFree;
    for (int draw = 0; draw < MAX_VARIANT_DRAWS; ++draw)
    {
        const int drawn = PickVariant();
        if (drawn < aCount && !isBusy(drawn))
        {
            pick = drawn;
            break;
        }
    }
    aOutPick = pick;
    myRecords[static_cast<std::size_t>(aFirst + pick)].Play();
}

void SoundBank::Play(std::uint32_t aId)
{
    if (aId > MAX_SOUND_ID)
    {
        StopAll();
        return;
    }
    if (aId == DAMAGE_ID || aId == TUTORIAL_ID)
    {
        const Group variants = aId == DAMAGE_ID ? DAMAGE_VARIANTS : TUTORIAL_VARIANTS;
        if (aId == DAMAGE_ID)
        {
            myRecords[HIT_RECORD].Play();
        }
        for (int record = variants.myFirst; record < variants.myFirst + variants.myCount; ++record)
        {
            if (myRecords[static_cast<std::size_t>(record)].IsPlaying())
            {
                return;
            }
        }
        // Draws 2 and 3 both give the last variant.
        const int variant = std::min(PickVariant(), variants.myCount - 1);
        myRecords[static_cast<std::size_t>(variants.myFirst + variant)].Play();
        return;
    }
    if (aId == WISP_ID)
    {
        PlayFreeVariant(BELL_VARIANTS.myFirst, BELL_VARIANTS.myCount, myLastBellPick);
        PlayFreeVariant(SPIRIT_VARIANTS.myFirst, SPIRIT_VARIANTS.myCount, myLastSpiritPick);
        return;
    }
    FindSingle(aId)->Play();
}

void SoundBank::Stop(std::int32_t aId)
{
    if (aId < 0 || aId > static_cast<std::int32_t>(MAX_SOUND_ID))
    {
        StopAll();
        return;
    }
    ForEachRecordOf(static_cast<std::uint32_t>(aId),
                    [this](int aRecord) { myRecords[static_cast<std::size_t>(aRecord)].Stop(); });
}

void SoundBank::StopAll()
{
    for (Sound& record : myRecords)
    {
        record.Stop();
    }
}

void SoundBank::SetPan(std::uint32_t aId, const Qel::AudioPan& aPan)
{
    if (aId > MAX_SOUND_ID)
    {
        return;
    }
    ForEachRecordOf(aId, [&](int aRecord) { myRecords[static_cast<std::size_t>(aRecord)].SetPan(aPan); });
}

void SoundBank::SetVolume(std::int32_t aId, float aValue)
{
    if (aId < 0 || aId > static_cast<std::int32_t>(MAX_SOUND_ID))
    {
        return;
    }
    ForEachRecordOf(static_cast<std::uint32_t>(aId),
                    [&](int aRecord)
                    {
                        myRecords[static_cast<std::size_t>(aRecord)].SetVolume(aValue * myMasterVolume *
                                                                               GetCategoryVolume(aRecord));
                    });
}

void SoundBank::ApplyVolumes()
{
    for (int record = 0; record < RECORD_COUNT; ++record)
    {
        Sound& sound = myRecords[static_cast<std::size_t>(record)];
        sound.ApplyVolume(sound.GetBaseVolume() * myMasterVolume * GetCategoryVolume(record));
    }
}

float SoundBank::GetMasterVolume() const
{
    return myIsMuted ? mySavedMasterVolume : myMasterVolume;
}

void SoundBank::SetMasterVolume(float aValue)
{
    if (myIsMuted)
    {
        mySavedMasterVolume = aValue;
        myMasterVolume = 0.0f;
    }
    else
    {
        myMasterVolume = aValue;
    }
    ApplyVolumes();
}

void SoundBank::ToggleMute()
{
    if (myIsMuted)
    {
        myMasterVolume = mySavedMasterVolume;
        myIsMuted = false;
    }
    else
    {
        mySavedMasterVolume = myMasterVolume;
        myMasterVolume = 0.0f;
        myIsMuted = true;
    }
    ApplyVolumes();
}

void SoundBank::Update(float aDeltaSeconds)
{
    for (Sound& record : myRecords)
    {
        record.Update(aDeltaSeconds);
    }
}

void SoundBank::PlayMusicForLevel(std::string aLevelName)
{
    Stop(myCurrentMusicId);
    const std::int32_t musicId = FindLevelMusic(aLevelName);
    if (musicId < 0)
    {
        return;
    }
    FindSingle(static_cast<std::uint32_t>(musicId))->Play();
    myCurrentMusicId = musicId;
}

void SoundBank::StopMovementSounds()
{
    for (std::uint32_t id : MOVEMENT_SOUNDS)
    {
        FindSingle(id)->Stop();
    }
}

void SoundBank::UpdatePlayerSounds(std::int32_t aClipIndex)
{
    const auto play = [this](std::uint32_t aId)
    {
        FindSingle(aId)->Play();
    };
    const auto stop = [this](std::uint32_t aId)
    {
        FindSingle(aId)->Stop();
    };
    switch (aClipIndex)
    {
    case PlayerClip::IDLE:
    case PlayerClip::IDLE_PRE_SPIRIT:
    case PlayerClip::DEATH:
        StopMovementSounds();
        break;
    case PlayerClip::IDLE_TO_WALK:
    case PlayerClip::WALK:
    case PlayerClip::WALK_PRE_SPIRIT:
    case PlayerClip::RUN_TO_WALK:
        stop(RUN);
        play(STEPS);
        break;
    case PlayerClip::WALK_TO_IDLE:
        stop(STEPS);
        break;
    case PlayerClip::WALK_TO_RUN:
    case PlayerClip::RUN:
        stop(STEPS);
        play(RUN);
        break;
    case PlayerClip::JUMP:
    case PlayerClip::JUMP_PRE_SPIRIT:
        stop(RUN);
        stop(STEPS);
        stop(WALL_SLIDE);
        play(JUMP);
        break;
    case PlayerClip::EDGE_FALL_START:
    case PlayerClip::FALL:
    case PlayerClip::FALL_PRE_SPIRIT:
    case PlayerClip::EDGE_FALL:
    case PlayerClip::EDGE_FALL_PRE_SPIRIT:
        stop(RUN);
        break;
    case PlayerClip::JUMP_LEAVE:
    case PlayerClip::JUMP_LEAVE_PRE_SPIRIT:
        play(LAND);
        break;
    case PlayerClip::WALL_SLIDE_LEFT:
    case PlayerClip::WALL_SLIDE:
        play(WALL_SLIDE);
        break;
    case PlayerClip::WALL_JUMP:
        stop(WALL_SLIDE);
        break;
    case PlayerClip::GROUND_POUND_START:
        play(BACKFLIP);
        break;
    case PlayerClip::GROUND_POUND_FALL:
        stop(BACKFLIP);
        break;
    case PlayerClip::GROUND_POUND_END:
        stop(BACKFLIP);
        play(GROUND_POUND);
        break;
    case PlayerClip::WIN:
        StopMovementSounds();
        play(HIGH_FIVE);
        break;
    case PlayerClip::END_CUTSCENE:
        StopMovementSounds();
        play(THE_END_SFX);
        break;
    default:
        break;
    }
}

void SoundBank::UpdateBossSounds(std::int32_t aClipIndex)
{
    switch (aClipIndex)
    {
    case BossClip::IDLE:
        FindSingle(BOSS_ROAR)->Stop();
        FindSingle(BOSS_HURT)->Stop();
        FindSingle(BOSS_MOVE)->Stop();
        break;
    case BossClip::HURT:
        FindSingle(BOSS_HURT)->Play();
        break;
    case BossClip::MOVE:
        FindSingle(BOSS_MOVE)->Play();
        break;
    case BossClip::DEATH:
        if (!myBossDeathPlayed)
        {
            FindSingle(BOSS_DEATH)->Play();
            myBossDeathPlayed = true;
            PlayMusicForLevel(std::string(END_MUSIC_NAME));
        }
        break;
    case BossClip::INTRO:
        FindSingle(BOSS_ROAR)->Play();
        break;
    default:
        break;
    }
}

int SoundBank::PickVariant()
{
    const std::uint32_t draw = myRandomSource ? myRandomSource() : DrawFromFreshGenerator();
    return static_cast<int>((draw >> 30) & 3u);
}

void SoundBank::SetRandomSource(std::function<std::uint32_t()> aSource)
{
    myRandomSource = std::move(aSource);
}
