// The sound track of a playing video: decodes the chosen audio stream, resamples every decoded frame
// to 44100 Hz stereo signed 16-bit and writes it, in order and whole, to a wave-out ring made on the
// first audio packet. At the end of the input the decoder's and the resampler's last samples follow.
//
// Owned by the video player; main thread only.
#pragma once

#include "Platform/WaveOut/WaveOutDevice.h"
#include "vek/video/WaveOutRing.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;

namespace Qel::impl
{
struct FfmpegApi;

// Makes the device a video's sound ring plays through; the default opens the system's output.
using WaveOutDeviceFactory = std::function<Platform::WaveOut::DevicePtr(const Platform::WaveOut::PcmFormat&)>;

class VideoSound
{
public:
    static constexpr int OUT_SAMPLE_RATE = 44100;
    static constexpr int OUT_CHANNELS = 2;
    static constexpr int OUT_BYTES_PER_SAMPLE = 2;
    static constexpr int RING_BLOCK_COUNT = 16;
    static constexpr int RING_BLOCK_SIZE = 4096;

    VideoSound(const FfmpegApi& anAv, WaveOutDeviceFactory aDeviceFactory);
    ~VideoSound();
    VideoSound(const VideoSound&) = delete;
    VideoSound& operator=(const VideoSound&) = delete;

    // Opens the stream's decoder and the resampler; on failure prints why and returns false.
    bool Open(const AVStream& aStream);
    void DecodePacket(const AVPacket& aPacket);
    // The input has ended: what the decoder and the resampler still hold goes to the ring.
    void Drain();
    // Forgets what the decoder holds, before a seek.
    void Flush();

    const WaveOutRing* GetRing() const { return myRing.get(); }

    // The output format the ring is opened with.
    static Platform::WaveOut::PcmFormat GetOutputFormat();

private:
    void ReceiveFrames();
    // Converts aCount input samples (none to drain the resampler) and writes the result.
    void ConvertAndWrite(const std::uint8_t** someInput, int aCount);
    void WriteToRing(int aSamples);

    const FfmpegApi* myAv;
    WaveOutDeviceFactory myDeviceFactory;
    AVCodecContext* myContext = nullptr;
    SwrContext* myResampler = nullptr;
    AVFrame* myFrame = nullptr;
    std::vector<std::uint8_t> myBuffer;
    std::unique_ptr<WaveOutRing> myRing;
    bool myIsDrained = false;
};
} // namespace Qel::impl
