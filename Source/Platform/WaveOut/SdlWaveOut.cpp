#include "Platform/WaveOut/SdlWaveOut.h"

#include <SDL.h>

#include <iostream>
#include <limits>

namespace Platform::WaveOut
{
namespace
{
// The SDL sample format for a PCM layout, or 0 when SDL cannot take it as it stands.
SDL_AudioFormat ToSdlFormat(const PcmFormat& aFormat)
{
    if (aFormat.formatTag != FORMAT_PCM || aFormat.channels == 0 || aFormat.samplesPerSecond == 0)
    {
        return 0;
    }
    if (aFormat.blockAlign != aFormat.channels * aFormat.bitsPerSample / 8)
    {
        return 0;
    }
    switch (aFormat.bitsPerSample)
    {
    case 8:
        return AUDIO_U8;
    case 16:
        return AUDIO_S16LSB;
    default:
        return 0;
    }
}

void Log(const char* aText, const char* aDetail)
{
    std::cout << "[WaveOut] " << aText << aDetail << std::endl;
}
} // namespace

DevicePtr OpenDevice(const PcmFormat& aFormat)
{
    return std::make_unique<SdlWaveOut>(aFormat);
}

SdlWaveOut::SdlWaveOut(const PcmFormat& aFormat)
{
    const SDL_AudioFormat format = ToSdlFormat(aFormat);
    if (format == 0 ||
        aFormat.samplesPerSecond > static_cast<std::uint32_t>(std::numeric_limits<int>::max()) ||
        aFormat.channels > 255)
    {
        Log("Unsupported PCM format; sound is dropped", "");
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        Log("No audio: ", SDL_GetError());
        return;
    }
    myHasSubsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(aFormat.samplesPerSecond);
    wanted.format = format;
    wanted.channels = static_cast<Uint8>(aFormat.channels);
    wanted.samples = 1024;
    // No changes allowed: SDL converts to the hardware, so queued bytes are always in the caller's format.
    SDL_AudioSpec obtained{};
    myDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (myDevice == 0)
    {
        Log("Cannot open the audio device: ", SDL_GetError());
        return;
    }
    SDL_PauseAudioDevice(myDevice, 0);
}

SdlWaveOut::~SdlWaveOut()
{
    if (myDevice != 0)
    {
        SDL_ClearQueuedAudio(myDevice);
        SDL_CloseAudioDevice(myDevice);
    }
    if (myHasSubsystem)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlWaveOut::Write(const std::uint8_t* someBytes, std::size_t aSize)
{
    if (myDevice == 0 || someBytes == nullptr || aSize == 0 || aSize > std::numeric_limits<Uint32>::max())
    {
        return;
    }
    if (SDL_QueueAudio(myDevice, someBytes, static_cast<Uint32>(aSize)) != 0)
    {
        Log("Cannot queue sound: ", SDL_GetError());
    }
}

void SdlWaveOut::Reset()
{
    if (myDevice != 0)
    {
        SDL_ClearQueuedAudio(myDevice);
    }
}

std::uint32_t SdlWaveOut::GetQueuedBytes() const
{
    return myDevice != 0 ? SDL_GetQueuedAudioSize(myDevice) : 0;
}
} // namespace Platform::WaveOut
