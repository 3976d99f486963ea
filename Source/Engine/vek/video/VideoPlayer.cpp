#include "vek/video/VideoPlayer.h"

#include "vek/video/FfmpegApi.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace Qel
{
namespace
{
// Frame rates below this are taken as unset.
constexpr double MIN_FRAME_RATE = 2.5e-5;

bool IsUsableRate(AVRational aRate)
{
    return aRate.num != 0 && aRate.den != 0 && av_q2d(aRate) >= MIN_FRAME_RATE;
}

bool IsReadableFile(const char* aPath)
{
    std::error_code error;
    if (std::filesystem::is_directory(aPath, error))
    {
        return false;
    }
    std::ifstream file(aPath, std::ios::binary);
    return file.is_open();
}
} // namespace

VideoPlayer::VideoPlayer(impl::WaveOutDeviceFactory aDeviceFactory)
    : myDeviceFactory(std::move(aDeviceFactory))
{
}

VideoPlayer::~VideoPlayer()
{
    Close();
}

int VideoPlayer::Open(const char* aPath, bool aWithAudio)
{
    Close();
    if (aPath == nullptr || !IsReadableFile(aPath))
    {
        return VIDEO_OPEN_UNREADABLE;
    }
    myAv = impl::GetFfmpeg();
    if (myAv == nullptr)
    {
        return VIDEO_OPEN_FAILED;
    }
    myPath = aPath;
    if (myAv->avformat_open_input(&myFormatContext, aPath, nullptr, nullptr) < 0)
    {
        myFormatContext = nullptr;
        return VIDEO_OPEN_FAILED;
    }
    if (myAv->avformat_find_stream_info(myFormatContext, nullptr) >= 0)
    {
        for (unsigned int index = 0; index < myFormatContext->nb_streams; ++index)
        {
            const AVCodecParameters* parameters = myFormatContext->streams[index]->codecpar;
            if (parameters->codec_type == AVMEDIA_TYPE_VIDEO)
            {
                myVideoStreamIndex = static_cast<int>(index);
                myVideoCodec = myAv->avcodec_find_decoder(parameters->codec_id);
            }
            else if (aWithAudio && parameters->codec_type == AVMEDIA_TYPE_AUDIO && myAudioStreamIndex < 0)
            {
                myAudioStreamIndex = static_cast<int>(index);
            }
        }
    }
    if (myAudioStreamIndex >= 0)
    {
        mySound = std::make_unique<impl::VideoSound>(*myAv, myDeviceFactory);
        if (!mySound->Open(*myFormatContext->streams[myAudioStreamIndex]))
        {
            return VIDEO_OPEN_FAILED;
        }
    }
    return OpenVideoDecoder();
}

int VideoPlayer::OpenVideoDecoder()
{
    if (myVideoCodec == nullptr || myVideoStreamIndex < 0)
    {
        return VIDEO_OPEN_FAILED;
    }
    const AVStream* stream = myFormatContext->streams[myVideoStreamIndex];
    myVideoContext = myAv->avcodec_alloc_context3(myVideoCodec);
    if (myVideoContext == nullptr ||
        myAv->avcodec_parameters_to_context(myVideoContext, stream->codecpar) < 0)
    {
        return VIDEO_OPEN_FAILED;
    }
    myVideoContext->pkt_timebase = stream->time_base;
    if (myAv->avcodec_open2(myVideoContext, myVideoCodec, nullptr) < 0)
    {
        return VIDEO_OPEN_FAILED;
    }
    myFrame = myAv->av_frame_alloc();
    myReceived = myAv->av_frame_alloc();
    myRgbaFrame = myAv->av_frame_alloc();
    myPacket = myAv->av_packet_alloc();
    if (myFrame == nullptr || myReceived == nullptr || myRgbaFrame == nullptr || myPacket == nullptr)
    {
        return VIDEO_OPEN_FAILED;
    }
    myRgbaWidth = myVideoContext->width;
    myRgbaHeight = myVideoContext->height;
    const int size = myAv->av_image_get_buffer_size(AV_PIX_FMT_RGBA, myRgbaWidth, myRgbaHeight, 1);
    if (size <= 0)
    {
        return VIDEO_OPEN_FAILED;
    }
    myRgbaBuffer = static_cast<std::uint8_t*>(myAv->av_malloc(static_cast<std::size_t>(size)));
    if (myRgbaBuffer == nullptr)
    {
        return VIDEO_OPEN_FAILED;
    }
    // Alignment 1: rows are packed tightly, width x 4 bytes apart, as the copy reads them.
    myAv->av_image_fill_arrays(myRgbaFrame->data, myRgbaFrame->linesize, myRgbaBuffer, AV_PIX_FMT_RGBA,
                               myRgbaWidth, myRgbaHeight, 1);
    if (myVideoContext->pix_fmt != AV_PIX_FMT_NONE)
    {
        myScaler =
            myAv->sws_getContext(myRgbaWidth, myRgbaHeight, myVideoContext->pix_fmt, myRgbaWidth,
                                 myRgbaHeight, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    }
    return VIDEO_OPEN_OK;
}

bool VideoPlayer::DecodeFirstFrame()
{
    DecodeFrame();
    return true;
}

bool VideoPlayer::ReceivePicture()
{
    if (myAv->avcodec_receive_frame(myVideoContext, myReceived) != 0)
    {
        return false;
    }
    myAv->av_frame_unref(myFrame);
    myAv->av_frame_move_ref(myFrame, myReceived);
    myGotPicture = 1;
    return true;
}

int VideoPlayer::DecodeFrame()
{
    if (myFormatContext == nullptr || myVideoContext == nullptr || myPacket == nullptr)
    {
        return AVERROR_EOF;
    }
    // A packet can give more than one picture; those the decoder still holds come first.
    if (ReceivePicture())
    {
        return 0;
    }
    int result = 0;
    int packets = 0;
    while (packets <= MAX_PACKETS_PER_DECODE)
    {
        result = myAv->av_read_frame(myFormatContext, myPacket);
        if (result < 0)
        {
            if (!myVideoDrained)
            {
                myVideoDrained = true;
                myAv->avcodec_send_packet(myVideoContext, nullptr);
                if (mySound)
                {
                    mySound->Drain();
                }
            }
            // The pictures held back by the decoder are still part of the film.
            return ReceivePicture() ? 0 : result;
        }
        ++packets;
        const int stream = myPacket->stream_index;
        if (stream == myVideoStreamIndex)
        {
            // A packet the decoder refuses is skipped; the stream goes on with the next one.
            const bool sent = myAv->avcodec_send_packet(myVideoContext, myPacket) == 0;
            myAv->av_packet_unref(myPacket);
            if (sent && ReceivePicture())
            {
                return result;
            }
        }
        else
        {
            if (stream == myAudioStreamIndex && mySound)
            {
                mySound->DecodePacket(*myPacket);
            }
            myAv->av_packet_unref(myPacket);
        }
    }
    return result;
}

bool VideoPlayer::ScalePicture()
{
    // Made for the picture actually decoded, so a stream that changes its size or format mid-way is
    // scaled into the RGBA picture rather than read past its end.
    myScaler = myAv->sws_getCachedContext(
        myScaler, myFrame->width, myFrame->height, static_cast<AVPixelFormat>(myFrame->format), myRgbaWidth,
        myRgbaHeight, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (myScaler == nullptr)
    {
        return false;
    }
    return myAv->sws_scale(myScaler, myFrame->data, myFrame->linesize, 0, myFrame->height, myRgbaFrame->data,
                           myRgbaFrame->linesize) > 0;
}

bool VideoPlayer::CopyFrameToTexture(std::uint32_t* someTexels, std::uint32_t aTexWidth,
                                     std::uint32_t aTexHeight)
{
    if (myGotPicture == 0 || someTexels == nullptr || aTexWidth == 0 || aTexHeight == 0)
    {
        return false;
    }
    // A picture that cannot be converted leaves the texture as it was.
    if (!ScalePicture())
    {
        return true;
    }
    const std::size_t texWidth = aTexWidth;
    const std::size_t columns = std::min<std::size_t>(static_cast<std::size_t>(myRgbaWidth), texWidth);
    const std::size_t rows = std::min<std::size_t>(static_cast<std::size_t>(myRgbaHeight), aTexHeight);
    const std::size_t sourcePitch = static_cast<std::size_t>(myRgbaWidth) * 4;
    for (std::size_t row = 0; row < rows; ++row)
    {
        std::uint32_t* target = someTexels + row * texWidth;
        // RGBA bytes in memory order are one texel with red in its lowest byte.
        std::memcpy(target, myRgbaBuffer + row * sourcePitch, columns * 4);
        std::fill(target + columns, target + texWidth, 0u);
    }
    std::fill(someTexels + rows * texWidth, someTexels + static_cast<std::size_t>(aTexHeight) * texWidth, 0u);
    return true;
}

double VideoPlayer::GetFrameRate() const
{
    if (myFormatContext == nullptr || myVideoStreamIndex < 0)
    {
        return 0.0;
    }
    const AVStream* stream = myFormatContext->streams[myVideoStreamIndex];
    if (IsUsableRate(stream->avg_frame_rate))
    {
        return av_q2d(stream->avg_frame_rate);
    }
    if (IsUsableRate(stream->r_frame_rate))
    {
        return av_q2d(stream->r_frame_rate);
    }
    if (myVideoContext == nullptr || myVideoContext->time_base.num == 0 || myVideoContext->time_base.den == 0)
    {
        return 0.0;
    }
    return 1.0 / av_q2d(myVideoContext->time_base);
}

void VideoPlayer::Rewind()
{
    if (myFormatContext == nullptr || myVideoContext == nullptr)
    {
        return;
    }
    myAv->av_seek_frame(myFormatContext, myVideoStreamIndex, 0, AVSEEK_FLAG_BACKWARD);
    myAv->avcodec_flush_buffers(myVideoContext);
    myVideoDrained = false;
    if (mySound)
    {
        mySound->Flush();
    }
}

std::uint32_t VideoPlayer::GetPictureWidth() const
{
    return myGotPicture != 0 ? static_cast<std::uint32_t>(std::max(myFrame->width, 0)) : 0;
}

std::uint32_t VideoPlayer::GetPictureHeight() const
{
    return myGotPicture != 0 ? static_cast<std::uint32_t>(std::max(myFrame->height, 0)) : 0;
}

void VideoPlayer::Close()
{
    mySound.reset();
    // Without the libraries nothing was made.
    if (myAv == nullptr)
    {
        return;
    }
    myAv->av_frame_free(&myRgbaFrame);
    myAv->av_frame_free(&myFrame);
    myAv->av_frame_free(&myReceived);
    myAv->av_packet_free(&myPacket);
    myAv->avcodec_free_context(&myVideoContext);
    myAv->avformat_close_input(&myFormatContext);
    myAv->av_free(myRgbaBuffer);
    myRgbaBuffer = nullptr;
    myAv->sws_freeContext(myScaler);
    myScaler = nullptr;
    myVideoCodec = nullptr;
    myRgbaWidth = 0;
    myRgbaHeight = 0;
    myGotPicture = 0;
    myVideoStreamIndex = -1;
    myAudioStreamIndex = -1;
    myVideoDrained = false;
}
} // namespace Qel
