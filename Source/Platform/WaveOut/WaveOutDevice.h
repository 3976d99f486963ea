// The sound output a wave-out ring plays through: a PCM format in the shape the ring's callers give
// (format tag, channels, rate, byte rate, block align, bits), and a device that plays whole blocks in
// the order they are written. A written block is copied, so its buffer is free again at once.
//
// Main thread only; the device plays on its own behind the calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Platform::WaveOut
{
constexpr std::uint16_t FORMAT_PCM = 1;

struct PcmFormat
{
    std::uint16_t formatTag = FORMAT_PCM;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

class Device
{
public:
    virtual ~Device() = default;

    // False for a device that could not be opened; it then takes writes and plays nothing.
    virtual bool IsOpen() const = 0;
    // Queues one block behind those written before.
    virtual void Write(const std::uint8_t* someBytes, std::size_t aSize) = 0;
    // Stops at once and drops everything still queued.
    virtual void Reset() = 0;
};

using DevicePtr = std::unique_ptr<Device>;

// Opens the default output for the format: signed 16-bit or unsigned 8-bit PCM, any channel count and
// rate SDL accepts. Anything else, or no audio device, gives a closed device and one log line.
DevicePtr OpenDevice(const PcmFormat& aFormat);
} // namespace Platform::WaveOut
