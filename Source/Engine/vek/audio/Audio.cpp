#include "vek/audio/Audio.h"

#include "vek/settings/AssetPaths.h"

#include <string>

namespace Qel
{
namespace
{
std::uint32_t AsHandle(std::int32_t aSample)
{
    return static_cast<std::uint32_t>(aSample);
}
} // namespace

void Audio::Init(const char* aPath, bool aLoop)
{
    AudioOut& out = impl::GetOrCreateAudioOut();
    const std::string resolved = ResolveAssetPath(aPath != nullptr ? aPath : "");
    mySample = static_cast<std::int32_t>(out.LoadSample(resolved, aLoop));
}

void Audio::Play()
{
    if (mySample != NOT_LOADED)
    {
        impl::GetOrCreateAudioOut().PlaySample(AsHandle(mySample), &myChannel, myVolume);
    }
}

void Audio::SetPan(const AudioPan& aPan)
{
    myPan = aPan;
    if (AudioOut* out = GetAudioOut())
    {
        out->SetChannelPan(myChannel, myPan);
    }
}

void Audio::SetVolume(float aVolume)
{
    myVolume = aVolume;
    if (mySample != NOT_LOADED)
    {
        impl::GetOrCreateAudioOut().SetChannelVolume(myChannel, myVolume);
    }
}

void Audio::SetVolumeOfAllPlaybacks(float aVolume)
{
    myVolume = aVolume;
    if (mySample != NOT_LOADED)
    {
        impl::GetOrCreateAudioOut().SetSampleVolume(AsHandle(mySample), myVolume);
    }
}

void Audio::Stop(bool aImmediately)
{
    if (mySample != NOT_LOADED)
    {
        impl::GetOrCreateAudioOut().StopSample(AsHandle(mySample), aImmediately);
    }
}

bool Audio::IsLoopSounding() const
{
    AudioOut* out = GetAudioOut();
    if (out == nullptr || mySample == NOT_LOADED || mySample == 0)
    {
        return false;
    }
    return out->IsSampleLooping(AsHandle(mySample)) && !out->GetSampleChannels(AsHandle(mySample)).empty();
}
} // namespace Qel
