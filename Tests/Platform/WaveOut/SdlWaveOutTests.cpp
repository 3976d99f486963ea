// The wave-out device over SDL's audio queue: formats it takes and refuses, queueing and reset on the
// dummy driver, and, through the disk driver, that queued blocks reach the output whole and in order.
#include "Platform/WaveOut/SdlWaveOut.h"
#include "Support/TempDir.h"
#include "Support/ToneWave.h"
#include "Support/WaitUntil.h"
#include "vek/video/WaveOutRing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace
{
using Platform::WaveOut::PcmFormat;

PcmFormat StereoS16()
{
    PcmFormat format;
    format.channels = 2;
    format.samplesPerSecond = 44100;
    format.averageBytesPerSecond = 176400;
    format.blockAlign = 4;
    format.bitsPerSample = 16;
    return format;
}

TEST(SdlWaveOut, RefusesFormatsItCannotPlayAsTheyStand)
{
    PcmFormat floats = StereoS16();
    floats.formatTag = 3;
    PcmFormat wide = StereoS16();
    wide.bitsPerSample = 24;
    wide.blockAlign = 6;
    PcmFormat misaligned = StereoS16();
    misaligned.blockAlign = 2;
    PcmFormat silentRate = StereoS16();
    silentRate.samplesPerSecond = 0;
    for (const PcmFormat& format : {floats, wide, misaligned, silentRate})
    {
        Platform::WaveOut::SdlWaveOut device(format);
        EXPECT_FALSE(device.IsOpen());
        const std::vector<std::uint8_t> bytes(4096, 1);
        device.Write(bytes.data(), bytes.size());
        device.Reset();
        EXPECT_EQ(device.GetQueuedBytes(), 0u);
    }
}

TEST(SdlWaveOut, QueuesWrittenBlocksAndResetDropsThem)
{
    PcmFormat monoU8;
    monoU8.channels = 1;
    monoU8.samplesPerSecond = 22050;
    monoU8.averageBytesPerSecond = 22050;
    monoU8.blockAlign = 1;
    monoU8.bitsPerSample = 8;
    for (const PcmFormat& format : {StereoS16(), monoU8})
    {
        Platform::WaveOut::SdlWaveOut device(format);
        ASSERT_TRUE(device.IsOpen());
        // Two seconds of sound: far more than the driver takes in the moment before the check.
        const std::vector<std::uint8_t> bytes(2 * format.averageBytesPerSecond, 1);
        device.Write(bytes.data(), bytes.size());
        EXPECT_GT(device.GetQueuedBytes(), format.averageBytesPerSecond);
        device.Reset();
        EXPECT_EQ(device.GetQueuedBytes(), 0u);
    }
}

TEST(SdlWaveOut, FullBlocksReachTheOutputInOrderAndThePartialOneNever)
{
    QelTest::TempDir folder;
    const std::filesystem::path output = folder.GetPath() / "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.string().c_str(), 1);
    constexpr int BLOCK_SAMPLES = 4096 / 2;
    {
        const PcmFormat format = StereoS16();
        Qel::WaveOutRing ring(&format, 16, 4096);
        ASSERT_TRUE(ring.IsOpen());
        // Three full blocks whose samples name their block, then part of a fourth.
        std::vector<std::int16_t> samples;
        for (int block = 1; block <= 3; ++block)
        {
            samples.insert(samples.end(), BLOCK_SAMPLES, static_cast<std::int16_t>(1000 * block));
        }
        samples.insert(samples.end(), BLOCK_SAMPLES / 2, static_cast<std::int16_t>(4000));
        ring.Write(reinterpret_cast<const std::uint8_t*>(samples.data()),
                   static_cast<int>(samples.size() * 2));
        EXPECT_EQ(ring.GetFill(), 2048);
        // The driver writes in real time: wait until the three blocks are in the file.
        EXPECT_TRUE(
            QelTest::WaitUntil([&] { return QelTest::CountHeardSamples(output) >= 3u * BLOCK_SAMPLES; }));
    }
    std::ifstream in(output, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> written(bytes.size() / 2);
    std::memcpy(written.data(), bytes.data(), written.size() * 2);
    // Silence, then exactly the three blocks in order, then silence.
    std::vector<std::int16_t> sound;
    for (std::int16_t sample : written)
    {
        if (sample != 0)
        {
            sound.push_back(sample);
        }
    }
    ASSERT_EQ(sound.size(), 3u * BLOCK_SAMPLES);
    for (int block = 0; block < 3; ++block)
    {
        EXPECT_EQ(sound[static_cast<std::size_t>(block * BLOCK_SAMPLES)], 1000 * (block + 1));
        EXPECT_EQ(sound[static_cast<std::size_t>((block + 1) * BLOCK_SAMPLES - 1)], 1000 * (block + 1));
    }
    const auto first = std::find(written.begin(), written.end(), 1000);
    ASSERT_NE(first, written.end());
    EXPECT_TRUE(
        std::all_of(first, first + 3 * BLOCK_SAMPLES, [](std::int16_t aSample) { return aSample != 0; }))
        << "the blocks follow each other without a gap";
}
} // namespace
