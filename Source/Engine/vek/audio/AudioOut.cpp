#include "vek/audio/AudioOut.h"

#include "vek/audio/SamplePrefetch.h"

#include <iostream>

namespace Qel
{
namespace
{
// Deliberately never deleted: samples live as long as the process.
AudioOut* theAudioOut = nullptr;
} // namespace

AudioOut* GetAudioOut()
{
    return theAudioOut;
}

AudioOut& impl::GetOrCreateAudioOut()
{
    if (theAudioOut == nullptr)
    {
        theAudioOut = new AudioOut();
    }
    return *theAudioOut;
}

AudioOut::AudioOut() : myInitialized(myMixer.IsOpen())
{
}

AudioOut::~AudioOut() = default;

void AudioOut::ReportPrefetchFailure(const std::string& aPath, const std::string& aDecodeFailure,
                                     bool aLoaded) const
{
    if (aLoaded && aDecodeFailure.empty())
    {
        return;
    }
    std::cout << "[Audio] " << aPath;
    if (aLoaded)
    {
        std::cout << " was not decoded ahead (" << aDecodeFailure << "); the mixer's loader read it";
    }
    else
    {
        std::cout << " could not be loaded: ";
        if (!aDecodeFailure.empty())
        {
            std::cout << aDecodeFailure << "; ";
        }
        std::cout << "the mixer's loader: " << myMixer.GetLoadFailure();
    }
    std::cout << std::endl;
}

bool AudioOut::LastCallSucceeded() const
{
    return myMixer.GetLastError() == SampleMixerError::NONE;
}

std::uint32_t AudioOut::FindSample(const std::string& aPath) const
{
    for (const SampleRecord& record : mySamples)
    {
        if (record.myPath == aPath)
        {
            return record.myHandle;
        }
    }
    return 0;
}

std::uint32_t AudioOut::LoadSample(const std::string& aPath, bool aLoop)
{
    if (FindSample(aPath) != 0)
    {
        std::cerr << "Audio error: " << aPath << " already loaded" << std::endl;
        return 0;
    }
    const std::uint32_t flags = aLoop ? SAMPLE_LOOP : SAMPLE_OVER_POSITION;
    impl::PrefetchedSample prefetched = impl::TakePrefetchedSample(aPath);
    const std::uint32_t handle =
        prefetched.mySample
            ? myMixer.LoadDecodedSample(std::move(*prefetched.mySample), MAX_PLAYBACKS_PER_SAMPLE, flags)
            : myMixer.LoadSample(aPath, MAX_PLAYBACKS_PER_SAMPLE, flags);
    // Without a device every sound is silent by design, so only a working output reports.
    if (prefetched.myWasPrefetched && myInitialized)
    {
        ReportPrefetchFailure(aPath, prefetched.myFailure, handle != 0);
    }
    if (handle == 0)
    {
        return FAILED_SAMPLE;
    }
    mySamples.push_back({aPath, handle});
    return handle;
}

bool AudioOut::PlaySample(std::uint32_t aSample, std::uint32_t* aOutChannel, float aVolume)
{
    if (aSample == 0)
    {
        return false;
    }
    const std::uint32_t channel = myMixer.PlaySample(aSample, aVolume);
    if (channel == 0)
    {
        return LastCallSucceeded();
    }
    if (aOutChannel != nullptr)
    {
        *aOutChannel = channel;
    }
    return true;
}

void AudioOut::SetChannelVolume(std::uint32_t aChannel, float aVolume)
{
    myMixer.SetChannelVolume(aChannel, aVolume);
}

void AudioOut::SetChannelPan(std::uint32_t aChannel, const AudioPan& aPan)
{
    myMixer.SetChannelPan(aChannel, aPan.first);
}

void AudioOut::SetSampleVolume(std::uint32_t aSample, float aVolume)
{
    for (std::uint32_t channel : GetSampleChannels(aSample))
    {
        myMixer.SetChannelVolume(channel, aVolume);
    }
}

bool AudioOut::StopSample(std::uint32_t aSample, bool aImmediately)
{
    if (aSample == 0)
    {
        return false;
    }
    if (!aImmediately)
    {
        return EndLoop(aSample);
    }
    return myMixer.StopSample(aSample);
}

bool AudioOut::IsSampleLooping(std::uint32_t aSample)
{
    SampleInfo info;
    return aSample != 0 && myMixer.GetSampleInfo(aSample, info) && (info.myFlags & SAMPLE_LOOP) != 0;
}

bool AudioOut::EndLoop(std::uint32_t aSample)
{
    if (!IsSampleLooping(aSample))
    {
        return false;
    }
    for (std::uint32_t channel : GetSampleChannels(aSample))
    {
        if (myMixer.IsChannelLooping(channel))
        {
            return myMixer.EndChannelLoop(channel);
        }
    }
    return false;
}

std::vector<std::uint32_t> AudioOut::GetSampleChannels(std::uint32_t aSample)
{
    if (aSample == 0)
    {
        return {};
    }
    return myMixer.GetSampleChannels(aSample);
}
} // namespace Qel
