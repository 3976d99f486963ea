#include "Sound/Sound.h"

#include <cmath>

void Sound::Load(const char* aPath, bool aLoop, float aDurationSeconds)
{
    myAudio.Init(aPath, aLoop);
    myDuration = aDurationSeconds;
    myElapsed = 0.0f;
    myIsPlaying = false;
}

void Sound::Play()
{
    if (myIsPlaying)
    {
        return;
    }
    // Layered copies of one loop would drift apart and only the newest would follow volume and pan.
    if (!myAudio.IsLoopSounding())
    {
        myAudio.Play();
    }
    myElapsed = 0.0f;
    myIsPlaying = true;
}

void Sound::Stop()
{
    myAudio.Stop(true);
    myIsPlaying = false;
}

void Sound::Update(float aDeltaSeconds)
{
    if (!myIsPlaying)
    {
        return;
    }
    if (std::isfinite(aDeltaSeconds) && aDeltaSeconds > 0.0f)
    {
        myElapsed += aDeltaSeconds;
    }
    if (myElapsed >= myDuration)
    {
        myElapsed = 0.0f;
        myIsPlaying = false;
    }
}

void Sound::SetVolume(float aVolume)
{
    myAudio.SetVolume(aVolume);
}

void Sound::SetPan(const Qel::AudioPan& aPan)
{
    myAudio.SetPan(aPan);
}

void Sound::ApplyVolume(float aVolume)
{
    myAudio.SetVolumeOfAllPlaybacks(aVolume);
}
