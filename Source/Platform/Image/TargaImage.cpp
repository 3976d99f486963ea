#include "Platform/Image/TargaImage.h"

#include <algorithm>

namespace Platform
{
namespace
{
constexpr std::size_t HEADER_BYTES = 18;
constexpr std::uint8_t TRUE_COLOR_UNCOMPRESSED = 2;
constexpr std::uint32_t MAX_SIDE = 16384;

std::uint16_t ReadShort(std::span<const std::uint8_t> someBytes, std::size_t anOffset)
{
    return static_cast<std::uint16_t>(someBytes[anOffset] | (someBytes[anOffset + 1] << 8));
}
} // namespace

std::optional<TargaPixels> ReadTarga(std::span<const std::uint8_t> someBytes)
{
    if (someBytes.size() < HEADER_BYTES)
    {
        return std::nullopt;
    }
    const std::size_t idLength = someBytes[0];
    const std::uint8_t colorMapType = someBytes[1];
    const std::uint8_t imageType = someBytes[2];
    TargaPixels image;
    image.width = ReadShort(someBytes, 12);
    image.height = ReadShort(someBytes, 14);
    if (colorMapType != 0 || imageType != TRUE_COLOR_UNCOMPRESSED || someBytes[16] != 32 ||
        image.width == 0 || image.height == 0 || image.width > MAX_SIDE || image.height > MAX_SIDE)
    {
        return std::nullopt;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    const std::size_t pixelBytes = rowBytes * image.height;
    const std::size_t start = HEADER_BYTES + idLength;
    if (someBytes.size() < start || someBytes.size() - start < pixelBytes)
    {
        return std::nullopt;
    }
    image.pixels.resize(pixelBytes);
    for (std::size_t row = 0; row < image.height; ++row)
    {
        const std::uint8_t* source = someBytes.data() + start + (image.height - 1 - row) * rowBytes;
        std::uint8_t* target = image.pixels.data() + row * rowBytes;
        for (std::size_t pixel = 0; pixel < rowBytes; pixel += 4)
        {
            target[pixel + 0] = source[pixel + 2];
            target[pixel + 1] = source[pixel + 1];
            target[pixel + 2] = source[pixel + 0];
            target[pixel + 3] = source[pixel + 3];
        }
    }
    return image;
}
} // namespace Platform
