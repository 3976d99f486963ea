// The engine's one sample player: the table of loaded samples by path over the platform mixer.
//
// One instance per process, made by the first Qel::Audio::Init and kept until the process ends
// (samples are never freed while it runs); GetAudioOut reaches it. A path is loaded once: a second
// load of the same resolved path prints "Audio error: <path> already loaded" on standard error and
// gives handle 0. Each sample plays on at most 3 overlapping channels. Main thread only.
#pragma once

#include "Platform/Sound/SampleMixer.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Qel
{
using AudioPan = std::pair<float, float>;

class AudioOut
{
public:
    static constexpr int MAX_PLAYBACKS_PER_SAMPLE = 3;
    static constexpr std::uint32_t FAILED_SAMPLE = 0xFFFFFFFFu;

    // Opens the output device; when it cannot be opened every sound stays silent, without a message.
    AudioOut();
    virtual ~AudioOut();
    AudioOut(const AudioOut&) = delete;
    AudioOut& operator=(const AudioOut&) = delete;

    bool IsInitialized() const { return myInitialized; }

    // The handle of the sample loaded from exactly this path, else 0.
    std::uint32_t FindSample(const std::string& aPath) const;
    // A new handle; 0 for a path already loaded; FAILED_SAMPLE when the file cannot be loaded. A file
    // prefetched (PrefetchSamples) is taken from its prefetch, waited for if it is still decoding; when
    // its decode or its load fails, a "[Audio] " line on standard output names it and says why.
    std::uint32_t LoadSample(const std::string& aPath, bool aLoop);

    // Starts a playback at aVolume and stores its channel in aOutChannel. A fourth play of a one-shot
    // takes over its playback that has played longest; a looping sample's fourth play is refused.
    bool PlaySample(std::uint32_t aSample, std::uint32_t* aOutChannel, float aVolume);
    // These act on the one playback the channel names; a stale channel is ignored.
    void SetChannelVolume(std::uint32_t aChannel, float aVolume);
    void SetChannelPan(std::uint32_t aChannel, const AudioPan& aPan);
    // Every live playback of the sample at once, so master volume and mute reach all of them.
    void SetSampleVolume(std::uint32_t aSample, float aVolume);

    // Immediately: ends every playback of the sample. Otherwise lets one loop run out (EndLoop).
    bool StopSample(std::uint32_t aSample, bool aImmediately);
    bool EndLoop(std::uint32_t aSample);
    // The sample's live playbacks, oldest first.
    std::vector<std::uint32_t> GetSampleChannels(std::uint32_t aSample);
    bool IsSampleLooping(std::uint32_t aSample);

    SampleMixer& GetMixer() { return myMixer; }

private:
    struct SampleRecord
    {
        std::string myPath;
        std::uint32_t myHandle = 0;
    };

    // True when the mixer's last call went well; reports nothing.
    bool LastCallSucceeded() const;
    // A line on standard output when a prefetched file failed to decode or to load.
    void ReportPrefetchFailure(const std::string& aPath, const std::string& aDecodeFailure,
                               bool aLoaded) const;

    SampleMixer myMixer;
    bool myInitialized = false;
    std::vector<SampleRecord> mySamples;
};

// The process-wide output; null until the first Qel::Audio::Init.
AudioOut* GetAudioOut();

namespace impl
{
// Creates the process-wide output on first use.
AudioOut& GetOrCreateAudioOut();
} // namespace impl
} // namespace Qel
