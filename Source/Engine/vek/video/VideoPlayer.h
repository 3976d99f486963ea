// The demuxing and decoding state of one video file: opens the file, picks its streams, decodes one
// picture per call and converts it to RGBA for a power-of-two texture, and feeds the optional sound
// track to a wave-out ring.
//
// Stream choice: the last video stream of the file, and with sound the first audio stream. At the end
// of the input the decoder gives up the pictures it still holds before the end is reported.
//
// Owns every FFmpeg object it makes. Main thread only.
#pragma once

#include "vek/video/VideoSound.h"

#include <cstdint>
#include <memory>
#include <string>

struct AVCodec;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace Qel::impl
{
struct FfmpegApi;
}

namespace Qel
{
enum VideoOpenResult : int
{
    VIDEO_OPEN_OK = 0,
    VIDEO_OPEN_FAILED = 1,     // no input, no decodable video stream, or the sound could not be set up
    VIDEO_OPEN_UNREADABLE = 2, // the file cannot be read
};

class VideoPlayer
{
public:
    // Packets one DecodeFrame reads at most before it gives up looking for a picture.
    static constexpr int MAX_PACKETS_PER_DECODE = 10000;

    explicit VideoPlayer(impl::WaveOutDeviceFactory aDeviceFactory = {});
    ~VideoPlayer();
    VideoPlayer(const VideoPlayer&) = delete;
    VideoPlayer& operator=(const VideoPlayer&) = delete;

    int Open(const char* aPath, bool aWithAudio);
    bool DecodeFirstFrame();
    // Reads packets until one picture is decoded. Returns the last read result: negative once the input
    // has ended and no picture is left in the decoder.
    int DecodeFrame();
    // Writes the last decoded picture at the top-left of a texture with rows aTexWidth texels apart;
    // every texel outside the picture is cleared. False when no picture has been decoded yet.
    bool CopyFrameToTexture(std::uint32_t* someTexels, std::uint32_t aTexWidth, std::uint32_t aTexHeight);
    // Frames per second; 0 when no rate is known.
    double GetFrameRate() const;
    void Rewind();
    void Close();

    bool HasPicture() const { return myGotPicture != 0; }
    // The size of the last decoded picture; 0 x 0 before the first.
    std::uint32_t GetPictureWidth() const;
    std::uint32_t GetPictureHeight() const;
    const std::string& GetPath() const { return myPath; }
    const WaveOutRing* GetWaveOut() const { return mySound ? mySound->GetRing() : nullptr; }

private:
    int OpenVideoDecoder();
    // Takes a picture the decoder has ready; false when it needs more input or has none left.
    bool ReceivePicture();
    bool ScalePicture();

    // Set by the first Open that finds the libraries.
    const impl::FfmpegApi* myAv = nullptr;
    const AVCodec* myVideoCodec = nullptr;
    AVCodecContext* myVideoContext = nullptr;
    SwsContext* myScaler = nullptr;
    AVFormatContext* myFormatContext = nullptr;
    // The picture shown stays in myFrame until a new one has been received into myReceived.
    AVFrame* myFrame = nullptr;
    AVFrame* myReceived = nullptr;
    AVFrame* myRgbaFrame = nullptr;
    AVPacket* myPacket = nullptr;
    std::string myPath;
    std::uint8_t* myRgbaBuffer = nullptr;
    int myRgbaWidth = 0;
    int myRgbaHeight = 0;
    int myGotPicture = 0;
    int myVideoStreamIndex = -1;
    int myAudioStreamIndex = -1;
    bool myVideoDrained = false;
    impl::WaveOutDeviceFactory myDeviceFactory;
    std::unique_ptr<impl::VideoSound> mySound;
};
} // namespace Qel
