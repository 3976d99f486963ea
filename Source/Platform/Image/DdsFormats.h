// The DDS file's format descriptions: the DX10 header's format numbers and the legacy pixel-format
// records (four-character codes and channel masks), each mapped to and from the graphics layer's
// formats. Internal to the DDS reader and writer; pure data, any thread.
#pragma once

#include "Platform/Gfx/Types.h"

#include <cstdint>

namespace Platform::impl
{
constexpr std::uint32_t MakeFourCc(char a, char b, char c, char d)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

enum PixelFormatFlags : std::uint32_t
{
    DDPF_ALPHAPIXELS = 0x1,
    DDPF_ALPHA = 0x2,
    DDPF_FOURCC = 0x4,
    DDPF_RGB = 0x40,
    DDPF_LUMINANCE = 0x20000,
};

struct LegacyPixelFormat
{
    std::uint32_t flags = 0;
    std::uint32_t fourCc = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t masks[4] = {};
};

// The layer format a DX10 header's format number names; Unknown for numbers the reader does not take.
Gfx::Format FormatFromDxgi(std::uint32_t aDxgiFormat);
std::uint32_t DxgiFromFormat(Gfx::Format aFormat);

// The layer format of a legacy pixel-format record; Unknown for records the reader does not take
// (24-bit colour among them).
Gfx::Format FormatFromLegacy(const LegacyPixelFormat& aPixelFormat);
// The legacy record that stands for a format; false when the format has none (sRGB and BC6H/BC7
// formats need the DX10 header).
bool LegacyFromFormat(Gfx::Format aFormat, LegacyPixelFormat& aPixelFormat);
} // namespace Platform::impl
