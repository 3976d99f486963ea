#include "vek/video/VideoSound.h"

#include "vek/video/FfmpegApi.h"

#include <iostream>
#include <utility>

namespace Qel::impl
{
VideoSound::VideoSound(const FfmpegApi& anAv, WaveOutDeviceFactory aDeviceFactory)
    : myAv(&anAv), myDeviceFactory(std::move(aDeviceFactory))
{
}

VideoSound::~VideoSound()
{
    myAv->av_frame_free(&myFrame);
    myAv->swr_free(&myResampler);
    myAv->avcodec_free_context(&myContext);
}

Platform::WaveOut::PcmFormat VideoSound::GetOutputFormat()
{
    Platform::WaveOut::PcmFormat format;
    format.formatTag = Platform::WaveOut::FORMAT_PCM;
    format.channels = OUT_CHANNELS;
    format.samplesPerSecond = OUT_SAMPLE_RATE;
    format.averageBytesPerSecond = OUT_SAMPLE_RATE * OUT_CHANNELS * OUT_BYTES_PER_SAMPLE;
    format.blockAlign = OUT_CHANNELS * OUT_BYTES_PER_SAMPLE;
    format.bitsPerSample = OUT_BYTES_PER_SAMPLE * 8;
    format.extraSize = 0;
    return format;
}

bool VideoSound::Open(const AVStream& aStream)
{
    const AVCodec* codec = myAv->avcodec_find_decoder(aStream.codecpar->codec_id);
    if (codec == nullptr)
    {
        std::cout << "Couldn't find a proper decoder for audio" << std::endl;
        return false;
    }
    myContext = myAv->avcodec_alloc_context3(codec);
    if (myContext == nullptr || myAv->avcodec_parameters_to_context(myContext, aStream.codecpar) < 0 ||
        myAv->avcodec_open2(myContext, codec, nullptr) != 0)
    {
        std::cout << "Couldn't open the context with the decoder for the audio" << std::endl;
        return false;
    }
    // The input layout is the default one for the channel count, whatever order the file names.
    AVChannelLayout inLayout{};
    myAv->av_channel_layout_default(&inLayout, myContext->ch_layout.nb_channels);
    AVChannelLayout outLayout = AV_CHANNEL_LAYOUT_STEREO;
    const int made =
        myAv->swr_alloc_set_opts2(&myResampler, &outLayout, AV_SAMPLE_FMT_S16, OUT_SAMPLE_RATE, &inLayout,
                                  myContext->sample_fmt, myContext->sample_rate, 0, nullptr);
    myAv->av_channel_layout_uninit(&inLayout);
    if (made < 0 || myResampler == nullptr)
    {
        std::cout << "Couldn't create the SwrContext" << std::endl;
        return false;
    }
    if (myAv->swr_init(myResampler) != 0)
    {
        std::cout << "Couldn't initialize the SwrContext" << std::endl;
        return false;
    }
    myFrame = myAv->av_frame_alloc();
    return myFrame != nullptr;
}

void VideoSound::DecodePacket(const AVPacket& aPacket)
{
    if (myContext == nullptr || myIsDrained)
    {
        return;
    }
    if (!myRing)
    {
        const Platform::WaveOut::PcmFormat format = GetOutputFormat();
        Platform::WaveOut::DevicePtr device =
            myDeviceFactory ? myDeviceFactory(format) : Platform::WaveOut::OpenDevice(format);
        myRing = std::make_unique<WaveOutRing>(std::move(device), RING_BLOCK_COUNT, RING_BLOCK_SIZE);
    }
    // A packet the decoder refuses is skipped; the next one starts clean.
    if (myAv->avcodec_send_packet(myContext, &aPacket) == 0)
    {
        ReceiveFrames();
    }
}

void VideoSound::Drain()
{
    if (myContext == nullptr || myIsDrained)
    {
        return;
    }
    myIsDrained = true;
    if (myAv->avcodec_send_packet(myContext, nullptr) == 0)
    {
        ReceiveFrames();
    }
    ConvertAndWrite(nullptr, 0);
}

void VideoSound::Flush()
{
    if (myContext != nullptr)
    {
        myAv->avcodec_flush_buffers(myContext);
    }
    myIsDrained = false;
}

void VideoSound::ReceiveFrames()
{
    while (myAv->avcodec_receive_frame(myContext, myFrame) == 0)
    {
        ConvertAndWrite(const_cast<const std::uint8_t**>(myFrame->extended_data), myFrame->nb_samples);
        myAv->av_frame_unref(myFrame);
    }
}

void VideoSound::ConvertAndWrite(const std::uint8_t** someInput, int aCount)
{
    for (;;)
    {
        const int capacity = myAv->swr_get_out_samples(myResampler, aCount);
        if (capacity <= 0)
        {
            return;
        }
        myBuffer.resize(static_cast<std::size_t>(capacity) * OUT_CHANNELS * OUT_BYTES_PER_SAMPLE);
        std::uint8_t* output = myBuffer.data();
        const int converted = myAv->swr_convert(myResampler, &output, capacity, someInput, aCount);
        if (converted > 0)
        {
            WriteToRing(converted);
        }
        // Input is taken whole at once; only a drain needs repeating until the resampler is empty.
        if (someInput != nullptr || converted < 1)
        {
            return;
        }
    }
}

void VideoSound::WriteToRing(int aSamples)
{
    if (myRing)
    {
        myRing->Write(myBuffer.data(), aSamples * OUT_CHANNELS * OUT_BYTES_PER_SAMPLE);
    }
}
} // namespace Qel::impl
