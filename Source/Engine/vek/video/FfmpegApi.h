// The FFmpeg functions the video code calls, reached through one table. The libraries are opened at
// run time rather than linked: their dependency closure is large, and loading it at launch delays the
// first frame of every run, while only the credits film needs them.
//
// The headers are still used for the types; the libraries opened are the exact sonames those headers
// were made for. Thread-safe.
#pragma once

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "vek/video/FfmpegLoad.h"

#include <array>
#include <memory>
#include <string>

namespace Qel::impl
{
// Library, function: the libraries in the order they are opened, each before those that need it.
#define QEL_FFMPEG_FUNCTIONS(X)                                                                              \
    X(UTIL, av_frame_alloc)                                                                                  \
    X(UTIL, av_frame_free)                                                                                   \
    X(UTIL, av_frame_unref)                                                                                  \
    X(UTIL, av_frame_move_ref)                                                                               \
    X(UTIL, av_image_get_buffer_size)                                                                        \
    X(UTIL, av_image_fill_arrays)                                                                            \
    X(UTIL, av_malloc)                                                                                       \
    X(UTIL, av_free)                                                                                         \
    X(UTIL, av_channel_layout_default)                                                                       \
    X(UTIL, av_channel_layout_uninit)                                                                        \
    X(RESAMPLE, swr_alloc_set_opts2)                                                                         \
    X(RESAMPLE, swr_init)                                                                                    \
    X(RESAMPLE, swr_get_out_samples)                                                                         \
    X(RESAMPLE, swr_convert)                                                                                 \
    X(RESAMPLE, swr_free)                                                                                    \
    X(SCALE, sws_getContext)                                                                                 \
    X(SCALE, sws_getCachedContext)                                                                           \
    X(SCALE, sws_scale)                                                                                      \
    X(SCALE, sws_freeContext)                                                                                \
    X(CODEC, avcodec_find_decoder)                                                                           \
    X(CODEC, avcodec_alloc_context3)                                                                         \
    X(CODEC, avcodec_parameters_to_context)                                                                  \
    X(CODEC, avcodec_open2)                                                                                  \
    X(CODEC, avcodec_send_packet)                                                                            \
    X(CODEC, avcodec_receive_frame)                                                                          \
    X(CODEC, avcodec_flush_buffers)                                                                          \
    X(CODEC, avcodec_free_context)                                                                           \
    X(CODEC, av_packet_alloc)                                                                                \
    X(CODEC, av_packet_free)                                                                                 \
    X(CODEC, av_packet_unref)                                                                                \
    X(FORMAT, avformat_open_input)                                                                           \
    X(FORMAT, avformat_find_stream_info)                                                                     \
    X(FORMAT, avformat_close_input)                                                                          \
    X(FORMAT, av_read_frame)                                                                                 \
    X(FORMAT, av_seek_frame)

enum FfmpegLibraryIndex : int
{
    FFMPEG_UTIL = 0,
    FFMPEG_RESAMPLE,
    FFMPEG_SCALE,
    FFMPEG_CODEC,
    FFMPEG_FORMAT,
    FFMPEG_LIBRARY_COUNT,
};

using FfmpegLibraryNames = std::array<std::string, FFMPEG_LIBRARY_COUNT>;

struct FfmpegApi
{
#define QEL_FFMPEG_MEMBER(aLibrary, aName) decltype(&::aName) aName = nullptr;
    QEL_FFMPEG_FUNCTIONS(QEL_FFMPEG_MEMBER)
#undef QEL_FFMPEG_MEMBER
};

// The open libraries and their functions; closes the libraries when it goes.
class FfmpegLibraries
{
public:
    FfmpegLibraries() = default;
    ~FfmpegLibraries();
    FfmpegLibraries(const FfmpegLibraries&) = delete;
    FfmpegLibraries& operator=(const FfmpegLibraries&) = delete;

    const FfmpegApi& GetApi() const { return myApi; }

private:
    friend std::unique_ptr<FfmpegLibraries> LoadFfmpegLibraries(const FfmpegLibraryNames& aNames);

    std::array<void*, FFMPEG_LIBRARY_COUNT> myHandles{};
    FfmpegApi myApi;
};

// The sonames the headers were made for, in FfmpegLibraryIndex order.
FfmpegLibraryNames GetFfmpegLibraryNames();

// Opens every library and finds every function; on the first one missing, prints one "[Video] " line
// naming it, closes what was opened and returns null.
std::unique_ptr<FfmpegLibraries> LoadFfmpegLibraries(const FfmpegLibraryNames& aNames);

// The process's functions, waiting for a load in progress (starting one if none was); null when a
// library could not be loaded. The libraries stay open until the process ends.
const FfmpegApi* GetFfmpeg();
} // namespace Qel::impl
