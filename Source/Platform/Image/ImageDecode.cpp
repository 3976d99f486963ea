#include "Platform/Image/ImageDecode.h"

#include <algorithm>
#include <climits>
#include <iterator>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
// Only the formats the game's files come in: every other decoder is code that hostile bytes could reach.
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_TGA
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

// Every Huffman table a JPEG file defines holds at most 256 codes. The decoder builds a table from its
// 16 code counts before it checks their sum, and writes past its arrays when they add up to more. The
// walk follows the decoder: segments by their lengths, entropy-coded data up to the next marker, and
// a table's counts read on past its segment (or as zeros past the file's end) as the decoder reads them.
bool JpegHuffmanTablesFit(std::span<const std::uint8_t> someBytes, std::size_t aStart)
{
    constexpr std::uint8_t DEFINE_HUFFMAN_TABLE = 0xC4;
    constexpr std::uint8_t END_OF_IMAGE = 0xD9;
    constexpr std::size_t MAX_CODES = 256;
    const auto byteAt = [&someBytes](std::size_t anIndex)
    {
        return anIndex < someBytes.size() ? static_cast<std::size_t>(someBytes[anIndex]) : 0u;
    };
    std::size_t at = aStart;
    while (at + 4 <= someBytes.size())
    {
        const std::uint8_t marker = someBytes[at + 1];
        // Entropy-coded data, fill bytes, stuffed zeros and restart markers are no segments.
        if (someBytes[at] != 0xFF || marker == 0xFF || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD8))
        {
            ++at;
            continue;
        }
        if (marker == END_OF_IMAGE)
        {
            break;
        }
        const std::size_t length = byteAt(at + 2) << 8 | byteAt(at + 3);
        if (marker == DEFINE_HUFFMAN_TABLE)
        {
            long long left = static_cast<long long>(length) - 2;
            std::size_t table = at + 4;
            while (left > 0)
            {
                std::size_t codes = 0;
                for (std::size_t count = 1; count <= 16; ++count)
                {
                    codes += byteAt(table + count);
                }
                if (codes > MAX_CODES)
                {
                    return false;
                }
                left -= static_cast<long long>(17 + codes);
                table += 17 + codes;
            }
        }
        at += 2 + std::max<std::size_t>(length, 2);
    }
    return true;
}

// Where a JPEG's start-of-image marker ends, past the fill bytes the decoder skips before it; 0 when
// the bytes do not start with one.
std::size_t JpegStart(std::span<const std::uint8_t> someBytes)
{
    std::size_t at = 0;
    while (at < someBytes.size() && someBytes[at] == 0xFF)
    {
        ++at;
    }
    return at >= 1 && at < someBytes.size() && someBytes[at] == 0xD8 ? at + 1 : 0;
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
           (JpegStart(someBytes) == 0 || JpegHuffmanTablesFit(someBytes, JpegStart(someBytes))) &&
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
