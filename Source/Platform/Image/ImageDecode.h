// Decoding of ordinary image files (PNG, JPEG, BMP, GIF and TGA) into 8-bit RGBA pixels, rows from the
// top of the image down. Pure functions over bytes; any thread may call them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Platform
{
struct RgbaImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 4 bytes

    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

// The largest side, and the most pixels, an image file may declare; the DDS and Targa readers keep
// the same side limit. Larger claims are refused from the header, before anything is decoded.
inline constexpr int MAX_IMAGE_SIDE = 16384;
inline constexpr long long MAX_IMAGE_PIXELS = 32ll << 20;

// The width and height the file's header declares, without decoding; false when it is no readable
// image header (a JPEG Huffman table of more than 256 codes counts as unreadable).
bool PeekImageSize(std::span<const std::uint8_t> someBytes, int& outWidth, int& outHeight);

// An empty image when the bytes are not a readable image, declare a side over aMaxSide or more than
// MAX_IMAGE_PIXELS pixels, (PNG) hold a chunk whose length runs past the file's end or too little
// data to fill the pixels declared, or (JPEG) define a Huffman table of more than 256 codes.
RgbaImage DecodeImage(std::span<const std::uint8_t> someBytes, int aMaxSide = MAX_IMAGE_SIDE);
} // namespace Platform
