// The catalogue of every game sound, addressed by a sound id from 0 to 44. It owns 57 records, all
// loaded from "Audio/" on the first GetInstance, in a fixed order (so of the three records naming
// "Audio/PlaceHolder.wav" only id 12 sounds). Ids 11, 23 and 33 stand for groups of random variants
// and id 38 for the same record as 31. The bank applies master volume and mute to every playback,
// picks the music of a level path and turns the player's and boss's current clip into movement
// sounds. A process-wide object; main thread only.
#pragma once

#include "Sound/Sound.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class SoundBank
{
public:
    static constexpr std::uint32_t MAX_SOUND_ID = 44;
    static constexpr int RECORD_COUNT = 57;

    static SoundBank& GetInstance();
    // Starts decoding every file of the catalogue on tasks, for the bank's construction to take. The
    // construction does this itself; a start-up calls it earlier to have the decode done by then.
    static void PrefetchSounds();

    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // An id above 44 stops every sound instead.
    void Play(std::uint32_t aId);
    // An id outside 0..44 stops every sound.
    void Stop(std::int32_t aId);
    void StopAll();
    // Ids above 44 do nothing.
    void SetPan(std::uint32_t aId, const Qel::AudioPan& aPan);
    // The id's most recent playback(s) to aValue x master x category volume; ids outside 0..44 do nothing.
    void SetVolume(std::int32_t aId, float aValue);
    void ApplyVolumes();

    // While muted: the volume that unmuting restores.
    float GetMasterVolume() const;
    void SetMasterVolume(float aValue);
    void ToggleMute();
    bool IsMuted() const { return myIsMuted; }

    void Update(float aDeltaSeconds);
    // "None" (or any unknown name) stops the current music and starts none.
    void PlayMusicForLevel(std::string aLevelName);
    void UpdatePlayerSounds(std::int32_t aClipIndex);
    void UpdateBossSounds(std::int32_t aClipIndex);

    // 0..3, the two top bits of one draw of the random source.
    int PickVariant();
    // A source of 32-bit draws for the variant picks; empty restores the nondeterministic default.
    void SetRandomSource(std::function<std::uint32_t()> aSource);

    // The record a single id names (a group id gives its lead record or first variant; ids above 44
    // give id 44's record). For inspection: what is loaded and which busy windows are open.
    const Sound& GetSound(std::uint32_t aId) const;

private:
    enum class Category
    {
        MUSIC,
        EFFECTS,
    };

    SoundBank();
    ~SoundBank() = default;

    Sound* FindSingle(std::uint32_t aId);
    float GetCategoryVolume(int aRecord) const;
    template <typename Action>
    void ForEachRecordOf(std::uint32_t aId, Action aAction);
    // Plays one free variant of [aFirst, aFirst + aCount); all busy: nothing.
    void PlayFreeVariant(int aFirst, int aCount, std::int32_t& aOutPick);
    void StopMovementSounds();

    std::array<Sound, RECORD_COUNT> myRecords;
    std::int32_t myCurrentMusicId = 0;
    float mySavedMasterVolume = 1.0f;
    float myMasterVolume = 1.0f;
    float myMusicVolume = 1.0f;
    float myEffectsVolume = 1.0f;
    std::int32_t myLastBellPick = 0;
    std::int32_t myLastSpiritPick = 0;
    bool myIsMuted = false;
    bool myBossDeathPlayed = false;
    std::function<std::uint32_t()> myRandomSource;
};
