// Decoding of ordinary image files (PNG, JPEG, BMP, TGA and the like) into 8-bit RGBA pixels, rows from the
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

// An empty image when the bytes are not a readable image.
RgbaImage DecodeImage(std::span<const std::uint8_t> someBytes);
} // namespace Platform
