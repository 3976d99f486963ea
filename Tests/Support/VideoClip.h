// Test clips made on the fly with the ffmpeg command-line tool, so no video file is kept in the tree.
//
// Picture n of a clip has, at pixel (x, y): red = (8 n) mod 256, green = 3 x, blue = 5 y (each capped at
// 255), so a decoded picture tells its own index and any row or column mix-up shows. The lossless codec
// keeps these values exactly; the others approximate them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace QelTest
{
enum class ClipCodec
{
    LOSSLESS_RGB, // raw RGB pictures in a NUT file: exact pixels
    MPEG4,        // MPEG-4 part 2 in MP4, no reordered pictures
    H264,         // H.264 in MP4 with B-pictures, so the decoder holds pictures back
};

struct ClipSpec
{
    int myWidth = 64;
    int myHeight = 48;
    // ffmpeg's rate text, e.g. "10" or "25".
    std::string myRate = "10";
    int myFrameCount = 20;
    ClipCodec myCodec = ClipCodec::LOSSLESS_RGB;
    // A 440 Hz mono tone at 48000 Hz as long as the pictures (AAC in MP4, PCM otherwise).
    bool myWithSound = false;
    // Use ffmpeg's moving test pattern instead of the index colours (for large benchmark clips).
    bool myTestPattern = false;
};

// The clip's length in seconds: its pictures at its rate.
double ClipSeconds(const ClipSpec& aSpec);

// Writes the clip to aPath; false (with ffmpeg's message on standard error) when it failed.
bool MakeVideoClip(const std::filesystem::path& aPath, const ClipSpec& aSpec);

// The red value that marks picture aIndex.
constexpr std::uint8_t ClipPictureRed(int aIndex)
{
    return static_cast<std::uint8_t>((aIndex * 8) % 256);
}
} // namespace QelTest
