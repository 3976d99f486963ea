#include "Platform/Gfx/Types.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Platform::Gfx
{
namespace
{
constexpr std::array<std::pair<Format, Format>, 7> SRGB_PAIRS = {{
    {Format::R8G8B8A8_UNORM, Format::R8G8B8A8_UNORM_SRGB},
    {Format::B8G8R8A8_UNORM, Format::B8G8R8A8_UNORM_SRGB},
    {Format::B8G8R8X8_UNORM, Format::B8G8R8X8_UNORM_SRGB},
    {Format::BC1_UNORM, Format::BC1_UNORM_SRGB},
    {Format::BC2_UNORM, Format::BC2_UNORM_SRGB},
    {Format::BC3_UNORM, Format::BC3_UNORM_SRGB},
    {Format::BC7_UNORM, Format::BC7_UNORM_SRGB},
}};
} // namespace

FormatLayout GetFormatLayout(Format aFormat)
{
    switch (aFormat)
    {
    case Format::Unknown:
        return {0, 1};
    case Format::R8_UNORM:
    case Format::A8_UNORM:
        return {1, 1};
    case Format::R8G8_UNORM:
    case Format::R16_UNORM:
    case Format::R16_FLOAT:
    case Format::B5G6R5_UNORM:
    case Format::B5G5R5A1_UNORM:
    case Format::B4G4R4A4_UNORM:
        return {2, 1};
    case Format::R16G16B16A16_UNORM:
    case Format::R16G16B16A16_FLOAT:
    case Format::R32G32_FLOAT:
        return {8, 1};
    case Format::R32G32B32_FLOAT:
        return {12, 1};
    case Format::R32G32B32A32_FLOAT:
    case Format::R32G32B32A32_UINT:
        return {16, 1};
    case Format::BC1_UNORM:
    case Format::BC1_UNORM_SRGB:
    case Format::BC4_UNORM:
        return {8, 4};
    case Format::BC2_UNORM:
    case Format::BC2_UNORM_SRGB:
    case Format::BC3_UNORM:
    case Format::BC3_UNORM_SRGB:
    case Format::BC5_UNORM:
    case Format::BC6H_UF16:
    case Format::BC6H_SF16:
    case Format::BC7_UNORM:
    case Format::BC7_UNORM_SRGB:
        return {16, 4};
    default:
        return {4, 1};
    }
}

std::uint32_t GetBytesPerPixel(Format aFormat)
{
    const FormatLayout layout = GetFormatLayout(aFormat);
    return layout.blockSide == 1 ? layout.blockBytes : 0u;
}

std::uint32_t GetRowBytes(Format aFormat, std::uint32_t aWidth)
{
    const FormatLayout layout = GetFormatLayout(aFormat);
    return (aWidth + layout.blockSide - 1) / layout.blockSide * layout.blockBytes;
}

std::uint32_t GetRowCount(Format aFormat, std::uint32_t aHeight)
{
    const FormatLayout layout = GetFormatLayout(aFormat);
    return (aHeight + layout.blockSide - 1) / layout.blockSide;
}

bool IsBlockCompressed(Format aFormat)
{
    return GetFormatLayout(aFormat).blockSide == 4;
}

bool IsSrgb(Format aFormat)
{
    return std::any_of(SRGB_PAIRS.begin(), SRGB_PAIRS.end(),
                       [aFormat](const auto& aPair) { return aPair.second == aFormat; });
}

Format MakeSrgb(Format aFormat)
{
    for (const auto& [plain, srgb] : SRGB_PAIRS)
    {
        if (plain == aFormat)
        {
            return srgb;
        }
    }
    return aFormat;
}

Format StripSrgb(Format aFormat)
{
    for (const auto& [plain, srgb] : SRGB_PAIRS)
    {
        if (srgb == aFormat)
        {
            return plain;
        }
    }
    return aFormat;
}

std::uint32_t GetFullMipCount(std::uint32_t aWidth, std::uint32_t aHeight)
{
    std::uint32_t side = std::max(aWidth, aHeight);
    std::uint32_t count = 1;
    while (side > 1)
    {
        side /= 2;
        ++count;
    }
    return count;
}
} // namespace Platform::Gfx
