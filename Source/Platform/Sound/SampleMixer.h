// The sample player the engine's audio output sits on: decoded samples (WAV, MP3) in memory, each
// played on up to a fixed number of overlapping channels, with volume, pan and looping per channel.
//
// Handles: a sample handle is never 0; a channel handle names one playback and carries a generation,
// so a handle whose playback has ended, was stopped or was taken over by a newer one is refused.
// A one-shot sample with SAMPLE_OVER_POSITION hands a further play its playback that has played
// longest; otherwise a play beyond the limit gets no channel.
//
// One instance at a time owns the process's audio device (SDL's audio subsystem through SDL_mixer);
// a second one stays closed. Every call comes from one thread; SDL_mixer locks the device itself
// around each channel change, so the mixing thread never sees a half-made change.
#pragma once

#include "Platform/Sound/SampleDecode.h"

#include <cstdint>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace Qel
{
constexpr std::uint32_t SAMPLE_LOOP = 4;
constexpr std::uint32_t SAMPLE_OVER_POSITION = 0x20000;

enum class SampleMixerError
{
    NONE,
    INIT,       // the device is not open
    ALREADY,    // another mixer owns the device
    FILE,       // the file is missing or cannot be decoded
    HANDLE,     // no such sample or live channel
    NO_CHANNEL, // every playback of the sample is in use
};

struct SampleInfo
{
    std::uint32_t myFlags = 0;
    int myMaxPlaybacks = 0;
    double myLengthSeconds = 0.0;
};

class SampleMixer
{
public:
    static constexpr int FREQUENCY = 44100;
    static constexpr int MAX_CHANNELS = 256;

    // Opens the default output device at 44100 Hz, stereo, signed 16-bit.
    SampleMixer();
    ~SampleMixer();
    SampleMixer(const SampleMixer&) = delete;
    SampleMixer& operator=(const SampleMixer&) = delete;

    bool IsOpen() const { return myIsOpen; }
    SampleMixerError GetLastError() const { return myLastError; }
    // Why the last failed load failed, in the loader's words.
    const std::string& GetLoadFailure() const { return myLoadFailure; }

    // Decodes the whole file; 0 on failure. aMaxPlaybacks is clamped to 1..65535.
    std::uint32_t LoadSample(const std::string& aPath, int aMaxPlaybacks, std::uint32_t aFlags);
    // As LoadSample, with the file already decoded into the mixer's format (DecodeSampleFile).
    std::uint32_t LoadDecodedSample(DecodedSample&& aSample, int aMaxPlaybacks, std::uint32_t aFlags);
    bool GetSampleInfo(std::uint32_t aSample, SampleInfo& aOutInfo);

    // Starts a new playback from the beginning at aVolume, centred; 0 when none can be had.
    std::uint32_t PlaySample(std::uint32_t aSample, float aVolume);
    // Ends every playback of the sample at once.
    bool StopSample(std::uint32_t aSample);
    // The sample's live playbacks, oldest first.
    std::vector<std::uint32_t> GetSampleChannels(std::uint32_t aSample);

    // Volume 0..1, linear; pan -1 (left) .. 1 (right). Out-of-range values are clamped, NaN is 0.
    bool SetChannelVolume(std::uint32_t aChannel, float aVolume);
    bool SetChannelPan(std::uint32_t aChannel, float aPan);
    bool GetChannelVolume(std::uint32_t aChannel, float& aOutVolume);
    bool GetChannelPan(std::uint32_t aChannel, float& aOutPan);
    bool IsChannelLooping(std::uint32_t aChannel);
    // Lets a looping playback finish its current pass and then end.
    bool EndChannelLoop(std::uint32_t aChannel);

private:
    struct Sample
    {
        Mix_Chunk* myChunk = nullptr;
        std::uint32_t myFlags = 0;
        int myMaxPlaybacks = 0;
    };
    struct Channel
    {
        std::uint32_t mySample = 0;
        std::uint32_t myGeneration = 0;
        std::uint64_t myStartSerial = 0;
        std::uint64_t myStartTicks = 0;
        float myVolume = 1.0f;
        float myPan = 0.0f;
        bool myIsLooping = false;
    };

    bool Fail(SampleMixerError aError);
    Sample* FindSample(std::uint32_t aSample);
    bool IsLive(int aIndex) const;
    int ResolveChannel(std::uint32_t aChannel);
    int FindFreeChannel();
    std::vector<int> LiveChannelsOf(std::uint32_t aSample) const;
    std::uint32_t MakeHandle(int aIndex) const;

    bool myIsOpen = false;
    bool myOwnsDevice = false;
    SampleMixerError myLastError = SampleMixerError::NONE;
    std::string myLoadFailure;
    std::vector<Sample> mySamples;
    std::vector<Channel> myChannels;
    std::uint32_t myNextGeneration = 1;
    std::uint64_t myNextSerial = 1;
};
} // namespace Qel
