#include "Platform/Sound/SampleMixer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cmath>

namespace Qel
{
namespace
{
constexpr int FIRST_CHANNEL_COUNT = 32;
constexpr int OUTPUT_CHANNELS = 2;
constexpr int BYTES_PER_FRAME = OUTPUT_CHANNELS * 2;
constexpr int DEVICE_BUFFER_FRAMES = 1024;
constexpr int MAX_PLAYBACKS_LIMIT = 65535;
constexpr std::uint32_t INDEX_BITS = 8;
constexpr std::uint32_t INDEX_MASK = (1u << INDEX_BITS) - 1;
constexpr std::uint32_t GENERATION_MASK = 0xFFFFFFu;

// The mixer owns one process-wide device, so only one instance may hold it.
bool theDeviceIsTaken = false;

float Clamp(float aValue, float aLow, float aHigh)
{
    if (std::isnan(aValue))
    {
        return 0.0f;
    }
    return std::clamp(aValue, aLow, aHigh);
}

int ToMixVolume(float aVolume)
{
    return static_cast<int>(std::lround(aVolume * static_cast<float>(MIX_MAX_VOLUME)));
}

// A linear balance: the far side fades out while the near side stays at full level.
Uint8 PanGain(float aSideLevel)
{
    return static_cast<Uint8>(std::lround(255.0f * std::min(1.0f, aSideLevel)));
}
} // namespace

SampleMixer::SampleMixer()
{
    if (theDeviceIsTaken)
    {
        Fail(SampleMixerError::ALREADY);
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        Fail(SampleMixerError::INIT);
        return;
    }
    // No format changes allowed: SDL converts to the device, so the mix is always 44100 Hz stereo S16.
    if (Mix_OpenAudioDevice(FREQUENCY, AUDIO_S16SYS, OUTPUT_CHANNELS, DEVICE_BUFFER_FRAMES, nullptr, 0) != 0)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        Fail(SampleMixerError::INIT);
        return;
    }
    theDeviceIsTaken = true;
    myOwnsDevice = true;
    myIsOpen = true;
    Mix_AllocateChannels(FIRST_CHANNEL_COUNT);
    myChannels.resize(FIRST_CHANNEL_COUNT);
}

SampleMixer::~SampleMixer()
{
    if (!myOwnsDevice)
    {
        return;
    }
    Mix_HaltChannel(-1);
    for (Sample& sample : mySamples)
    {
        Mix_FreeChunk(sample.myChunk);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    theDeviceIsTaken = false;
}

bool SampleMixer::Fail(SampleMixerError aError)
{
    myLastError = aError;
    return false;
}

std::uint32_t SampleMixer::LoadSample(const std::string& aPath, int aMaxPlaybacks, std::uint32_t aFlags)
{
    if (!myIsOpen)
    {
        Fail(SampleMixerError::INIT);
        return 0;
    }
    Mix_Chunk* chunk = aPath.empty() ? nullptr : Mix_LoadWAV(aPath.c_str());
    if (chunk == nullptr)
    {
        myLoadFailure = aPath.empty() ? "no file" : Mix_GetError();
        Fail(SampleMixerError::FILE);
        return 0;
    }
    mySamples.push_back({chunk, aFlags, std::clamp(aMaxPlaybacks, 1, MAX_PLAYBACKS_LIMIT)});
    myLastError = SampleMixerError::NONE;
    return static_cast<std::uint32_t>(mySamples.size());
}

std::uint32_t SampleMixer::LoadDecodedSample(DecodedSample&& aSample, int aMaxPlaybacks, std::uint32_t aFlags)
{
    if (!myIsOpen)
    {
        Fail(SampleMixerError::INIT);
        return 0;
    }
    // Made as the mixer's loader makes its chunks, so freeing it is the same too.
    auto* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (chunk == nullptr || aSample.bytes == nullptr || aSample.size > UINT32_MAX)
    {
        myLoadFailure = chunk == nullptr ? "out of memory" : "no decoded sound";
        SDL_free(chunk);
        Fail(SampleMixerError::FILE);
        return 0;
    }
    chunk->allocated = 1;
    chunk->alen = static_cast<Uint32>(aSample.size);
    chunk->abuf = aSample.bytes.release();
    chunk->volume = MIX_MAX_VOLUME;
    mySamples.push_back({chunk, aFlags, std::clamp(aMaxPlaybacks, 1, MAX_PLAYBACKS_LIMIT)});
    myLastError = SampleMixerError::NONE;
    return static_cast<std::uint32_t>(mySamples.size());
}

SampleMixer::Sample* SampleMixer::FindSample(std::uint32_t aSample)
{
    if (aSample == 0 || aSample > mySamples.size())
    {
        Fail(SampleMixerError::HANDLE);
        return nullptr;
    }
    return &mySamples[aSample - 1];
}

bool SampleMixer::GetSampleInfo(std::uint32_t aSample, SampleInfo& aOutInfo)
{
    const Sample* sample = FindSample(aSample);
    if (sample == nullptr)
    {
        return false;
    }
    aOutInfo.myFlags = sample->myFlags;
    aOutInfo.myMaxPlaybacks = sample->myMaxPlaybacks;
    aOutInfo.myLengthSeconds =
        static_cast<double>(sample->myChunk->alen) / static_cast<double>(BYTES_PER_FRAME * FREQUENCY);
    myLastError = SampleMixerError::NONE;
    return true;
}

bool SampleMixer::IsLive(int aIndex) const
{
    return myChannels[static_cast<std::size_t>(aIndex)].mySample != 0 && Mix_Playing(aIndex) != 0;
}

std::vector<int> SampleMixer::LiveChannelsOf(std::uint32_t aSample) const
{
    std::vector<int> live;
    for (int index = 0; index < static_cast<int>(myChannels.size()); ++index)
    {
        if (myChannels[static_cast<std::size_t>(index)].mySample == aSample && IsLive(index))
        {
            live.push_back(index);
        }
    }
    std::sort(live.begin(), live.end(),
              [this](int aLeft, int aRight)
              {
                  return myChannels[static_cast<std::size_t>(aLeft)].myStartSerial <
                         myChannels[static_cast<std::size_t>(aRight)].myStartSerial;
              });
    return live;
}

std::uint32_t SampleMixer::MakeHandle(int aIndex) const
{
    return (myChannels[static_cast<std::size_t>(aIndex)].myGeneration << INDEX_BITS) |
           static_cast<std::uint32_t>(aIndex);
}

int SampleMixer::ResolveChannel(std::uint32_t aChannel)
{
    const auto index = static_cast<int>(aChannel & INDEX_MASK);
    const std::uint32_t generation = aChannel >> INDEX_BITS;
    if (generation == 0 || index >= static_cast<int>(myChannels.size()) ||
        myChannels[static_cast<std::size_t>(index)].myGeneration != generation || !IsLive(index))
    {
        Fail(SampleMixerError::HANDLE);
        return -1;
    }
    myLastError = SampleMixerError::NONE;
    return index;
}

int SampleMixer::FindFreeChannel()
{
    const int count = static_cast<int>(myChannels.size());
    for (int index = 0; index < count; ++index)
    {
        if (!IsLive(index))
        {
            return index;
        }
    }
    if (count >= MAX_CHANNELS)
    {
        return -1;
    }
    const int grown = std::min(count * 2, MAX_CHANNELS);
    Mix_AllocateChannels(grown);
    myChannels.resize(static_cast<std::size_t>(grown));
    return count;
}

std::uint32_t SampleMixer::PlaySample(std::uint32_t aSample, float aVolume)
{
    const Sample* sample = FindSample(aSample);
    if (sample == nullptr)
    {
        return 0;
    }
    const std::vector<int> live = LiveChannelsOf(aSample);
    int index = -1;
    if (static_cast<int>(live.size()) >= sample->myMaxPlaybacks)
    {
        if ((sample->myFlags & SAMPLE_OVER_POSITION) == 0 || (sample->myFlags & SAMPLE_LOOP) != 0)
        {
            Fail(SampleMixerError::NO_CHANNEL);
            return 0;
        }
        index = live.front(); // the one started first has played longest
        Mix_HaltChannel(index);
    }
    else
    {
        index = FindFreeChannel();
    }
    if (index < 0)
    {
        Fail(SampleMixerError::NO_CHANNEL);
        return 0;
    }

    Channel& channel = myChannels[static_cast<std::size_t>(index)];
    channel.mySample = aSample;
    channel.myGeneration = myNextGeneration;
    myNextGeneration = (myNextGeneration + 1) & GENERATION_MASK;
    if (myNextGeneration == 0)
    {
        myNextGeneration = 1;
    }
    channel.myStartSerial = myNextSerial++;
    channel.myVolume = Clamp(aVolume, 0.0f, 1.0f);
    channel.myPan = 0.0f;
    channel.myIsLooping = (sample->myFlags & SAMPLE_LOOP) != 0;

    // Volume and centre first, so the playback is never heard at a stale level.
    Mix_Volume(index, ToMixVolume(channel.myVolume));
    Mix_SetPanning(index, 255, 255);
    if (Mix_PlayChannel(index, sample->myChunk, channel.myIsLooping ? -1 : 0) < 0)
    {
        channel.mySample = 0;
        Fail(SampleMixerError::INIT);
        return 0;
    }
    channel.myStartTicks = SDL_GetTicks64();
    myLastError = SampleMixerError::NONE;
    return MakeHandle(index);
}

bool SampleMixer::StopSample(std::uint32_t aSample)
{
    if (FindSample(aSample) == nullptr)
    {
        return false;
    }
    for (int index : LiveChannelsOf(aSample))
    {
        Mix_HaltChannel(index);
        myChannels[static_cast<std::size_t>(index)].mySample = 0;
    }
    myLastError = SampleMixerError::NONE;
    return true;
}

std::vector<std::uint32_t> SampleMixer::GetSampleChannels(std::uint32_t aSample)
{
    std::vector<std::uint32_t> handles;
    if (FindSample(aSample) == nullptr)
    {
        return handles;
    }
    for (int index : LiveChannelsOf(aSample))
    {
        handles.push_back(MakeHandle(index));
    }
    myLastError = SampleMixerError::NONE;
    return handles;
}

bool SampleMixer::SetChannelVolume(std::uint32_t aChannel, float aVolume)
{
    const int index = ResolveChannel(aChannel);
    if (index < 0)
    {
        return false;
    }
    Channel& channel = myChannels[static_cast<std::size_t>(index)];
    channel.myVolume = Clamp(aVolume, 0.0f, 1.0f);
    Mix_Volume(index, ToMixVolume(channel.myVolume));
    return true;
}

bool SampleMixer::SetChannelPan(std::uint32_t aChannel, float aPan)
{
    const int index = ResolveChannel(aChannel);
    if (index < 0)
    {
        return false;
    }
    Channel& channel = myChannels[static_cast<std::size_t>(index)];
    channel.myPan = Clamp(aPan, -1.0f, 1.0f);
    Mix_SetPanning(index, PanGain(1.0f - channel.myPan), PanGain(1.0f + channel.myPan));
    return true;
}

bool SampleMixer::GetChannelVolume(std::uint32_t aChannel, float& aOutVolume)
{
    const int index = ResolveChannel(aChannel);
    if (index < 0)
    {
        return false;
    }
    aOutVolume = myChannels[static_cast<std::size_t>(index)].myVolume;
    return true;
}

bool SampleMixer::GetChannelPan(std::uint32_t aChannel, float& aOutPan)
{
    const int index = ResolveChannel(aChannel);
    if (index < 0)
    {
        return false;
    }
    aOutPan = myChannels[static_cast<std::size_t>(index)].myPan;
    return true;
}

bool SampleMixer::IsChannelLooping(std::uint32_t aChannel)
{
    const int index = ResolveChannel(aChannel);
    return index >= 0 && myChannels[static_cast<std::size_t>(index)].myIsLooping;
}

bool SampleMixer::EndChannelLoop(std::uint32_t aChannel)
{
    const int index = ResolveChannel(aChannel);
    if (index < 0)
    {
        return false;
    }
    Channel& channel = myChannels[static_cast<std::size_t>(index)];
    if (!channel.myIsLooping)
    {
        return false;
    }
    // SDL_mixer cannot change a playing channel's loop count, so the playback is timed out at the end
    // of the pass it is in, counted from its start.
    const Mix_Chunk* chunk = mySamples[channel.mySample - 1].myChunk;
    const std::uint64_t lengthMs = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(chunk->alen) *
                                                                  1000u / (BYTES_PER_FRAME * FREQUENCY));
    const std::uint64_t played = SDL_GetTicks64() - channel.myStartTicks;
    Mix_ExpireChannel(index, static_cast<int>(lengthMs - played % lengthMs));
    channel.myIsLooping = false;
    return true;
}
} // namespace Qel
