// Reading 32-bit uncompressed Targa images into RGBA pixels, rows from the top down. The rows are
// always flipped from the file's order (content is stored bottom row first). A pure function over
// bytes; any thread may call it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Platform
{
struct TargaPixels
{
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t bitsPerPixel = 32;
    // width x height pixels of red, green, blue, alpha.
    std::vector<std::uint8_t> pixels;
};

// Nothing for bytes that are not a 32-bit uncompressed true-colour Targa image: a short header or
// pixel data, a colour map, run-length or any other image type, a depth other than 32, a zero side or
// one above 16384. An image ID field is skipped.
std::optional<TargaPixels> ReadTarga(std::span<const std::uint8_t> someBytes);
} // namespace Platform
