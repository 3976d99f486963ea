// Streams raw PCM to a wave-out device through a fixed ring of equal blocks. Bytes are gathered into
// the current block; each block that becomes full is queued on the device at once, strictly in order,
// and the ring moves on to the next block. A partly filled block waits for later writes and is never
// sent on its own, so the tail of a stream shorter than a block is not played. Destruction stops the
// device and drops whatever is still queued.
//
// No thread of its own and no lock: one thread (the main thread) writes.
#pragma once

#include "Platform/WaveOut/WaveOutDevice.h"

#include <cstdint>
#include <vector>

namespace Qel
{
class WaveOutRing
{
public:
    // Opens the default output for the format.
    WaveOutRing(const Platform::WaveOut::PcmFormat* aFormat, int aBlockCount, int aBlockSize);
    // Plays through the given device. A count or size below 1 makes a ring that drops every write.
    WaveOutRing(Platform::WaveOut::DevicePtr aDevice, int aBlockCount, int aBlockSize);
    ~WaveOutRing();
    WaveOutRing(const WaveOutRing&) = delete;
    WaveOutRing& operator=(const WaveOutRing&) = delete;

    void Write(const std::uint8_t* someBytes, int aSize);

    int GetBlockCount() const { return myBlockCount; }
    // The block being filled and the bytes it holds so far.
    int GetCurrent() const { return myCurrent; }
    int GetFill() const;
    bool IsOpen() const { return myDevice && myDevice->IsOpen(); }

private:
    struct Block
    {
        std::vector<std::uint8_t> myData;
        int myFill = 0;
    };

    int myBlockCount = 0;
    int myCurrent = 0;
    std::vector<Block> myBlocks;
    Platform::WaveOut::DevicePtr myDevice;
};
} // namespace Qel
