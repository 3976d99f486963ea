// A small handle on one sample of the process-wide AudioOut: the sample handle (-1 until loaded or
// after a failed load, 0 when the path was already loaded by another handle), the channel of its most
// recent playback, the last pan and the volume for the next playback. A plain value owned by one game
// sound; the sample itself stays loaded for the life of the process. Main thread only.
#pragma once

#include "vek/audio/AudioOut.h"

#include <cstdint>

namespace Qel
{
class Audio
{
public:
    static constexpr std::int32_t NOT_LOADED = -1;

    Audio() = default;

    // Creates the shared output on first use, resolves the asset path and loads it.
    void Init(const char* aPath, bool aLoop);
    void Play();
    // Pan and volume act on the most recent playback only; the volume is also kept for the next one.
    void SetPan(const AudioPan& aPan);
    void SetVolume(float aVolume);
    // Keeps the volume for the next playback and sets it on every live playback of the sample.
    void SetVolumeOfAllPlaybacks(float aVolume);
    void Stop(bool aImmediately);

    // True while the sample loops and at least one of its playbacks still sounds.
    bool IsLoopSounding() const;

    std::int32_t GetSample() const { return mySample; }
    std::uint32_t GetChannel() const { return myChannel; }
    const AudioPan& GetPan() const { return myPan; }
    float GetVolume() const { return myVolume; }

private:
    std::int32_t mySample = NOT_LOADED;
    std::uint32_t myChannel = 0;
    AudioPan myPan{0.0f, 0.0f};
    float myVolume = 1.0f;
};
} // namespace Qel
