#include "Platform/Window/IconFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace Platform
{
namespace
{
constexpr std::size_t ICON_HEADER_SIZE = 6;
constexpr std::size_t ICON_ENTRY_SIZE = 16;
constexpr std::size_t BITMAP_HEADER_SIZE = 40;
constexpr int MAX_ICON_SIDE = 1024;

std::uint32_t ReadU16(std::span<const std::uint8_t> someBytes, std::size_t aOffset)
{
    return static_cast<std::uint32_t>(someBytes[aOffset]) | static_cast<std::uint32_t>(someBytes[aOffset + 1])
                                                                << 8;
}

std::uint32_t ReadU32(std::span<const std::uint8_t> someBytes, std::size_t aOffset)
{
    return ReadU16(someBytes, aOffset) | ReadU16(someBytes, aOffset + 2) << 16;
}

bool IsPng(std::span<const std::uint8_t> someBytes)
{
    static constexpr std::uint8_t SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return someBytes.size() >= sizeof(SIGNATURE) &&
           std::equal(std::begin(SIGNATURE), std::end(SIGNATURE), someBytes.begin());
}

// The size a bitmap entry's header declares (its height counts the colour rows and the mask rows),
// when it is one this reader decodes.
bool PeekBitmapEntry(std::span<const std::uint8_t> someBytes, std::int32_t& outWidth, std::int32_t& outHeight)
{
    if (someBytes.size() < BITMAP_HEADER_SIZE || ReadU32(someBytes, 0) < BITMAP_HEADER_SIZE)
    {
        return false;
    }
    outWidth = static_cast<std::int32_t>(ReadU32(someBytes, 4));
    outHeight = static_cast<std::int32_t>(ReadU32(someBytes, 8)) / 2;
    const std::uint32_t bitCount = ReadU16(someBytes, 14);
    const std::uint32_t compression = ReadU32(someBytes, 16);
    return outWidth > 0 && outHeight > 0 && outWidth <= MAX_ICON_SIDE && outHeight <= MAX_ICON_SIDE &&
           compression == 0 && (bitCount == 32 || bitCount == 24);
}

// The pixel count an entry declares, or 0 when it is no entry this reader decodes.
long long PeekEntryArea(std::span<const std::uint8_t> someBytes)
{
    int width = 0;
    int height = 0;
    if (IsPng(someBytes))
    {
        const bool fits = PeekImageSize(someBytes, width, height) && width > 0 && height > 0 &&
                          width <= MAX_ICON_SIDE && height <= MAX_ICON_SIDE;
        return fits ? static_cast<long long>(width) * height : 0;
    }
    return PeekBitmapEntry(someBytes, width, height) ? static_cast<long long>(width) * height : 0;
}

// A bitmap entry: rows bottom first, then a 1-bit mask.
RgbaImage DecodeBitmapEntry(std::span<const std::uint8_t> someBytes)
{
    RgbaImage image;
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (!PeekBitmapEntry(someBytes, width, height))
    {
        return image;
    }
    const std::size_t headerSize = ReadU32(someBytes, 0);
    const std::uint32_t bitCount = ReadU16(someBytes, 14);
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t colourStride = (w * bitCount / 8 + 3) / 4 * 4;
    const std::size_t maskStride = (w + 31) / 32 * 4;
    const std::size_t colourOffset = headerSize;
    const std::size_t maskOffset = colourOffset + colourStride * h;
    const bool hasMask = someBytes.size() >= maskOffset + maskStride * h;
    if (someBytes.size() < maskOffset)
    {
        return image;
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(w * h * 4);
    for (std::size_t row = 0; row < h; ++row)
    {
        const std::size_t sourceRow = h - 1 - row;
        for (std::size_t x = 0; x < w; ++x)
        {
            const std::size_t source = colourOffset + sourceRow * colourStride + x * bitCount / 8;
            std::uint8_t* target = &image.pixels[(row * w + x) * 4];
            target[0] = someBytes[source + 2];
            target[1] = someBytes[source + 1];
            target[2] = someBytes[source + 0];
            target[3] = bitCount == 32 ? someBytes[source + 3] : 255;
            if (bitCount == 24 && hasMask)
            {
                const std::uint8_t maskByte = someBytes[maskOffset + sourceRow * maskStride + x / 8];
                const bool transparent = (maskByte >> (7 - x % 8) & 1) != 0;
                target[3] = transparent ? 0 : 255;
            }
        }
    }
    return image;
}
} // namespace

RgbaImage DecodeIcon(std::span<const std::uint8_t> someBytes)
{
    if (someBytes.size() < ICON_HEADER_SIZE || ReadU16(someBytes, 0) != 0 || ReadU16(someBytes, 2) != 1)
    {
        return {};
    }
    // The largest entry is chosen from the headers alone, and only it is decoded: a directory can
    // name the same large image thousands of times over.
    const std::size_t count = ReadU16(someBytes, 4);
    std::span<const std::uint8_t> best;
    long long bestArea = 0;
    for (std::size_t index = 0; index < count; ++index)
    {
        const std::size_t entry = ICON_HEADER_SIZE + index * ICON_ENTRY_SIZE;
        if (someBytes.size() < entry + ICON_ENTRY_SIZE)
        {
            break;
        }
        const std::size_t size = ReadU32(someBytes, entry + 8);
        const std::size_t offset = ReadU32(someBytes, entry + 12);
        if (offset > someBytes.size() || size > someBytes.size() - offset)
        {
            continue;
        }
        const std::span<const std::uint8_t> data = someBytes.subspan(offset, size);
        const long long area = PeekEntryArea(data);
        if (area > bestArea)
        {
            best = data;
            bestArea = area;
        }
    }
    if (bestArea == 0)
    {
        return {};
    }
    return IsPng(best) ? DecodeImage(best, MAX_ICON_SIDE) : DecodeBitmapEntry(best);
}

RgbaImage LoadIconFile(const std::filesystem::path& aPath)
{
    std::ifstream file(aPath, std::ios::binary);
    if (!file)
    {
        return {};
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    return DecodeIcon(bytes);
}
} // namespace Platform
