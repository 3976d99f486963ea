#include "vek/video/WaveOutRing.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <utility>

namespace Qel
{
namespace
{
Platform::WaveOut::DevicePtr OpenFor(const Platform::WaveOut::PcmFormat* aFormat)
{
    if (aFormat == nullptr)
    {
        std::cout << "[WaveOut] No PCM format given; sound is dropped" << std::endl;
        return nullptr;
    }
    return Platform::WaveOut::OpenDevice(*aFormat);
}
} // namespace

WaveOutRing::WaveOutRing(const Platform::WaveOut::PcmFormat* aFormat, int aBlockCount, int aBlockSize)
    : WaveOutRing(OpenFor(aFormat), aBlockCount, aBlockSize)
{
}

WaveOutRing::WaveOutRing(Platform::WaveOut::DevicePtr aDevice, int aBlockCount, int aBlockSize)
    : myDevice(std::move(aDevice))
{
    if (aBlockCount < 1 || aBlockSize < 1)
    {
        std::cout << "[WaveOut] A ring of " << aBlockCount << " blocks of " << aBlockSize
                  << " bytes cannot hold sound; sound is dropped" << std::endl;
        return;
    }
    myBlockCount = aBlockCount;
    myBlocks.resize(static_cast<std::size_t>(aBlockCount));
    for (Block& block : myBlocks)
    {
        block.myData.resize(static_cast<std::size_t>(aBlockSize));
    }
}

WaveOutRing::~WaveOutRing()
{
    if (myDevice)
    {
        myDevice->Reset();
    }
}

int WaveOutRing::GetFill() const
{
    return myBlocks.empty() ? 0 : myBlocks[static_cast<std::size_t>(myCurrent)].myFill;
}

void WaveOutRing::Write(const std::uint8_t* someBytes, int aSize)
{
    if (someBytes == nullptr || aSize <= 0 || myBlocks.empty())
    {
        return;
    }
    int remaining = aSize;
    while (remaining > 0)
    {
        Block& block = myBlocks[static_cast<std::size_t>(myCurrent)];
        const int blockSize = static_cast<int>(block.myData.size());
        const int count = std::min(remaining, blockSize - block.myFill);
        std::memcpy(block.myData.data() + block.myFill, someBytes, static_cast<std::size_t>(count));
        block.myFill += count;
        someBytes += count;
        remaining -= count;
        if (block.myFill < blockSize)
        {
            return;
        }
        block.myFill = 0;
        if (myDevice)
        {
            myDevice->Write(block.myData.data(), block.myData.size());
        }
        myCurrent = (myCurrent + 1) % myBlockCount;
    }
}
} // namespace Qel
