#include "Platform/Image/DdsFormats.h"

#include <array>
#include <utility>

namespace Platform::impl
{
namespace
{
using Gfx::Format;

constexpr std::array<std::pair<std::uint32_t, Format>, 35> DXGI_FORMATS = {{
    {2, Format::R32G32B32A32_FLOAT},  {6, Format::R32G32B32_FLOAT},      {10, Format::R16G16B16A16_FLOAT},
    {11, Format::R16G16B16A16_UNORM}, {16, Format::R32G32_FLOAT},        {24, Format::R10G10B10A2_UNORM},
    {28, Format::R8G8B8A8_UNORM},     {29, Format::R8G8B8A8_UNORM_SRGB}, {34, Format::R16G16_FLOAT},
    {35, Format::R16G16_UNORM},       {41, Format::R32_FLOAT},           {49, Format::R8G8_UNORM},
    {54, Format::R16_FLOAT},          {56, Format::R16_UNORM},           {61, Format::R8_UNORM},
    {65, Format::A8_UNORM},           {71, Format::BC1_UNORM},           {72, Format::BC1_UNORM_SRGB},
    {74, Format::BC2_UNORM},          {75, Format::BC2_UNORM_SRGB},      {77, Format::BC3_UNORM},
    {78, Format::BC3_UNORM_SRGB},     {80, Format::BC4_UNORM},           {83, Format::BC5_UNORM},
    {85, Format::B5G6R5_UNORM},       {86, Format::B5G5R5A1_UNORM},      {87, Format::B8G8R8A8_UNORM},
    {88, Format::B8G8R8X8_UNORM},     {91, Format::B8G8R8A8_UNORM_SRGB}, {93, Format::B8G8R8X8_UNORM_SRGB},
    {95, Format::BC6H_UF16},          {96, Format::BC6H_SF16},           {98, Format::BC7_UNORM},
    {99, Format::BC7_UNORM_SRGB},     {115, Format::B4G4R4A4_UNORM},
}};

struct FourCcFormat
{
    std::uint32_t fourCc;
    Format format;
};

constexpr std::array<FourCcFormat, 16> FOURCC_FORMATS = {{
    {MakeFourCc('D', 'X', 'T', '1'), Format::BC1_UNORM},
    {MakeFourCc('D', 'X', 'T', '3'), Format::BC2_UNORM},
    {MakeFourCc('D', 'X', 'T', '2'), Format::BC2_UNORM},
    {MakeFourCc('D', 'X', 'T', '5'), Format::BC3_UNORM},
    {MakeFourCc('D', 'X', 'T', '4'), Format::BC3_UNORM},
    {MakeFourCc('A', 'T', 'I', '1'), Format::BC4_UNORM},
    {MakeFourCc('B', 'C', '4', 'U'), Format::BC4_UNORM},
    {MakeFourCc('A', 'T', 'I', '2'), Format::BC5_UNORM},
    {MakeFourCc('B', 'C', '5', 'U'), Format::BC5_UNORM},
    {36, Format::R16G16B16A16_UNORM},
    {111, Format::R16_FLOAT},
    {112, Format::R16G16_FLOAT},
    {113, Format::R16G16B16A16_FLOAT},
    {114, Format::R32_FLOAT},
    {115, Format::R32G32_FLOAT},
    {116, Format::R32G32B32A32_FLOAT},
}};

struct MaskFormat
{
    std::uint32_t flags;
    std::uint32_t bitCount;
    std::uint32_t masks[4];
    Format format;
};

constexpr std::array<MaskFormat, 12> MASK_FORMATS = {{
    {DDPF_RGB, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, Format::R8G8B8A8_UNORM},
    {DDPF_RGB, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, Format::B8G8R8A8_UNORM},
    {DDPF_RGB, 32, {0xFF0000, 0xFF00, 0xFF, 0}, Format::B8G8R8X8_UNORM},
    {DDPF_RGB, 32, {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}, Format::R10G10B10A2_UNORM},
    {DDPF_RGB, 32, {0xFFFF, 0xFFFF0000, 0, 0}, Format::R16G16_UNORM},
    {DDPF_RGB, 32, {0xFFFFFFFF, 0, 0, 0}, Format::R32_FLOAT},
    {DDPF_RGB, 16, {0xF800, 0x7E0, 0x1F, 0}, Format::B5G6R5_UNORM},
    {DDPF_RGB, 16, {0x7C00, 0x3E0, 0x1F, 0x8000}, Format::B5G5R5A1_UNORM},
    {DDPF_RGB, 16, {0xF00, 0xF0, 0xF, 0xF000}, Format::B4G4R4A4_UNORM},
    {DDPF_LUMINANCE, 8, {0xFF, 0, 0, 0}, Format::R8_UNORM},
    {DDPF_LUMINANCE, 16, {0xFFFF, 0, 0, 0}, Format::R16_UNORM},
    {DDPF_LUMINANCE, 16, {0xFF, 0, 0, 0xFF00}, Format::R8G8_UNORM},
}};

bool SameMasks(const std::uint32_t someLeft[4], const std::uint32_t someRight[4], bool aCompareAlpha)
{
    return someLeft[0] == someRight[0] && someLeft[1] == someRight[1] && someLeft[2] == someRight[2] &&
           (!aCompareAlpha || someLeft[3] == someRight[3]);
}
} // namespace

Gfx::Format FormatFromDxgi(std::uint32_t aDxgiFormat)
{
    for (const auto& [number, format] : DXGI_FORMATS)
    {
        if (number == aDxgiFormat)
        {
            return format;
        }
    }
    return Format::Unknown;
}

std::uint32_t DxgiFromFormat(Gfx::Format aFormat)
{
    for (const auto& [number, format] : DXGI_FORMATS)
    {
        if (format == aFormat)
        {
            return number;
        }
    }
    return 0;
}

Gfx::Format FormatFromLegacy(const LegacyPixelFormat& aPixelFormat)
{
    if ((aPixelFormat.flags & DDPF_FOURCC) != 0)
    {
        for (const FourCcFormat& entry : FOURCC_FORMATS)
        {
            if (entry.fourCc == aPixelFormat.fourCc)
            {
                return entry.format;
            }
        }
        return Format::Unknown;
    }
    if ((aPixelFormat.flags & DDPF_ALPHA) != 0 && aPixelFormat.bitCount == 8 && aPixelFormat.masks[3] == 0xFF)
    {
        return Format::A8_UNORM;
    }
    for (const MaskFormat& entry : MASK_FORMATS)
    {
        // A record without the alpha flag has no alpha channel, whatever its alpha mask says.
        const bool hasAlpha = (aPixelFormat.flags & DDPF_ALPHAPIXELS) != 0;
        if ((aPixelFormat.flags & entry.flags) != 0 && entry.bitCount == aPixelFormat.bitCount &&
            SameMasks(entry.masks, aPixelFormat.masks, true) &&
            (hasAlpha || entry.masks[3] == 0 || entry.flags == DDPF_LUMINANCE))
        {
            return entry.format;
        }
    }
    return Format::Unknown;
}

bool LegacyFromFormat(Gfx::Format aFormat, LegacyPixelFormat& aPixelFormat)
{
    aPixelFormat = {};
    if (aFormat == Format::A8_UNORM)
    {
        aPixelFormat.flags = DDPF_ALPHA;
        aPixelFormat.bitCount = 8;
        aPixelFormat.masks[3] = 0xFF;
        return true;
    }
    for (const FourCcFormat& entry : FOURCC_FORMATS)
    {
        if (entry.format == aFormat)
        {
            aPixelFormat.flags = DDPF_FOURCC;
            aPixelFormat.fourCc = entry.fourCc;
            return true;
        }
    }
    for (const MaskFormat& entry : MASK_FORMATS)
    {
        if (entry.format == aFormat)
        {
            aPixelFormat.flags = entry.flags | (entry.masks[3] != 0 ? DDPF_ALPHAPIXELS : 0u);
            aPixelFormat.bitCount = entry.bitCount;
            for (int channel = 0; channel < 4; ++channel)
            {
                aPixelFormat.masks[channel] = entry.masks[channel];
            }
            return true;
        }
    }
    return false;
}
} // namespace Platform::impl
