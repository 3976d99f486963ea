// The wave-out device over an SDL2 audio queue: each block goes to SDL_QueueAudio, which copies it and
// plays the queue in order on SDL's audio thread. The queue grows with what is written ahead of
// playback, so the writer never waits and nothing written is dropped before Reset.
//
// Main thread only. Each device holds its own reference on SDL's audio subsystem.
#pragma once

#include "Platform/WaveOut/WaveOutDevice.h"

#include <cstdint>

namespace Platform::WaveOut
{
class SdlWaveOut final : public Device
{
public:
    explicit SdlWaveOut(const PcmFormat& aFormat);
    ~SdlWaveOut() override;
    SdlWaveOut(const SdlWaveOut&) = delete;
    SdlWaveOut& operator=(const SdlWaveOut&) = delete;

    bool IsOpen() const override { return myDevice != 0; }
    void Write(const std::uint8_t* someBytes, std::size_t aSize) override;
    void Reset() override;

    // Bytes queued and not yet taken by the audio thread.
    std::uint32_t GetQueuedBytes() const;

private:
    std::uint32_t myDevice = 0;
    bool myHasSubsystem = false;
};
} // namespace Platform::WaveOut
