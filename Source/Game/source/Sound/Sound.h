// One game sound: an engine sample handle plus a busy window, the time after an accepted Play during
// which a further Play is ignored, so that callers asking every frame start a sound at most once per
// window. A looping sound asked again while its loop still sounds keeps that one loop (the window
// starts over) instead of layering another. A plain value owned by the sound bank; main thread only.
#pragma once

#include "vek/audio/Audio.h"

class Sound
{
public:
    Sound() = default;

    void Load(const char* aPath, bool aLoop, float aDurationSeconds);
    void Play();
    // Silences every playback of the sample and ends the window, busy or not.
    void Stop();
    void Update(float aDeltaSeconds);

    bool IsPlaying() const { return myIsPlaying; }
    float GetBaseVolume() const { return myBaseVolume; }
    // The most recent playback only: what per-frame distance fading and panning act on.
    void SetVolume(float aVolume);
    void SetPan(const Qel::AudioPan& aPan);
    // Every live playback: what master volume and mute act on.
    void ApplyVolume(float aVolume);

    const Qel::Audio& GetAudio() const { return myAudio; }

private:
    Qel::Audio myAudio;
    float myBaseVolume = 1.0f;
    float myDuration = 0.0f;
    float myElapsed = 0.0f;
    bool myIsPlaying = false;
};
