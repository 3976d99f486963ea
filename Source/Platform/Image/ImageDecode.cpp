#include "Platform/Image/ImageDecode.h"

#include <algorithm>
#include <climits>
#include <iterator>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wcast-align"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wnull-dereference"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace Platform
{
namespace
{
constexpr std::uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Every chunk of a PNG file up to its end chunk lies within the file, and the data chunks together
// could inflate to the pixels the header declares. The decoder grows its data buffer to a chunk's
// claimed length before it reads the chunk, so one false length costs gigabytes (a chunk header cut
// short at the file's end is read as one too); and it allocates the whole image before inflating, so
// a few bytes of data must not stand for a large image.
bool PngChunksFitFile(std::span<const std::uint8_t> someBytes, int aWidth, int aHeight)
{
    constexpr std::size_t CHUNK_OVERHEAD = 12; // length, type, CRC
    constexpr std::size_t HEADER = 8;          // length, type
    // Deflate cannot shrink data by more than about 1032:1.
    constexpr std::size_t MAX_DEFLATE_RATIO = 1100;
    std::size_t dataBytes = 0;
    std::size_t at = sizeof(PNG_SIGNATURE);
    while (at + HEADER <= someBytes.size())
    {
        const std::size_t length = static_cast<std::size_t>(someBytes[at]) << 24 |
                                   static_cast<std::size_t>(someBytes[at + 1]) << 16 |
                                   static_cast<std::size_t>(someBytes[at + 2]) << 8 | someBytes[at + 3];
        if (someBytes.size() - at < CHUNK_OVERHEAD || length > someBytes.size() - at - CHUNK_OVERHEAD)
        {
            return false;
        }
        const auto type = someBytes.begin() + static_cast<std::ptrdiff_t>(at + 4);
        if (std::equal(type, type + 4, "IEND"))
        {
            break;
        }
        if (std::equal(type, type + 4, "IDAT"))
        {
            dataBytes += length;
        }
        at += CHUNK_OVERHEAD + length;
    }
    // The fewest bytes the rows can inflate to: one filter byte and at least one bit a pixel each.
    const std::size_t rowBytes = 1 + (static_cast<std::size_t>(aWidth) + 7) / 8;
    return dataBytes * MAX_DEFLATE_RATIO + 1024 >= rowBytes * static_cast<std::size_t>(aHeight);
}

bool IsPngFile(std::span<const std::uint8_t> someBytes)
{
    return someBytes.size() >= sizeof(PNG_SIGNATURE) &&
           std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), someBytes.begin());
}
} // namespace

bool PeekImageSize(std::span<const std::uint8_t> someBytes, int& outWidth, int& outHeight)
{
    int channels = 0;
    return !someBytes.empty() && someBytes.size() <= static_cast<std::size_t>(INT_MAX) &&
           stbi_info_from_memory(someBytes.data(), static_cast<int>(someBytes.size()), &outWidth, &outHeight,
                                 &channels) != 0;
}

RgbaImage DecodeImage(std::span<const std::uint8_t> someBytes, int aMaxSide)
{
    RgbaImage image;
    int width = 0;
    int height = 0;
    if (!PeekImageSize(someBytes, width, height) || width <= 0 || height <= 0 || width > aMaxSide ||
        height > aMaxSide || static_cast<long long>(width) * height > MAX_IMAGE_PIXELS ||
        (IsPngFile(someBytes) && !PngChunksFitFile(someBytes, width, height)))
    {
        return image;
    }
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(someBytes.data(), static_cast<int>(someBytes.size()), &width,
                                            &height, &channels, 4);
    if (pixels == nullptr)
    {
        return image;
    }
    image.width = width;
    image.height = height;
    image.pixels.assign(pixels,
                        pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    stbi_image_free(pixels);
    return image;
}
} // namespace Platform
