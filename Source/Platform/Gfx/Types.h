// Plain descriptions shared by the graphics layer: formats, bind flags, texture and view descriptions,
// viewports. The names follow the object model the engine was written for; the layer maps them onto
// OpenGL 4.5. Value types only; any thread.
#pragma once

#include <cstdint>
#include <vector>

namespace Platform::Gfx
{
enum class Format : std::uint32_t
{
    Unknown,
    R8G8B8A8_UNORM,
    R8G8B8A8_UNORM_SRGB,
    B8G8R8A8_UNORM,
    B8G8R8A8_UNORM_SRGB,
    R32_TYPELESS,
    R32_FLOAT,
    D32_FLOAT,
    // Sampled formats that texture files hold.
    B8G8R8X8_UNORM,
    B8G8R8X8_UNORM_SRGB,
    R8_UNORM,
    A8_UNORM,
    R8G8_UNORM,
    R16_UNORM,
    R16G16_UNORM,
    R16G16B16A16_UNORM,
    R10G10B10A2_UNORM,
    B5G6R5_UNORM,
    B5G5R5A1_UNORM,
    B4G4R4A4_UNORM,
    R16_FLOAT,
    R16G16_FLOAT,
    R16G16B16A16_FLOAT,
    R32G32_FLOAT,
    R32G32B32_FLOAT,
    R32G32B32A32_FLOAT,
    BC1_UNORM,
    BC1_UNORM_SRGB,
    BC2_UNORM,
    BC2_UNORM_SRGB,
    BC3_UNORM,
    BC3_UNORM_SRGB,
    BC4_UNORM,
    BC5_UNORM,
    BC6H_UF16,
    BC6H_SF16,
    BC7_UNORM,
    BC7_UNORM_SRGB,
    // Vertex and index formats.
    R32_UINT,
    R32G32B32A32_UINT,
};

enum BindFlags : std::uint32_t
{
    BIND_VERTEX_BUFFER = 0x1,
    BIND_INDEX_BUFFER = 0x2,
    BIND_CONSTANT_BUFFER = 0x4,
    BIND_SHADER_RESOURCE = 0x8,
    BIND_RENDER_TARGET = 0x20,
    BIND_DEPTH_STENCIL = 0x40,
};

enum ClearFlags : std::uint32_t
{
    CLEAR_DEPTH = 0x1,
    CLEAR_STENCIL = 0x2,
};

struct Texture2DDesc
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // 0 asks for the whole chain down to 1 x 1.
    std::uint32_t mipLevels = 1;
    std::uint32_t arraySize = 1;
    Format format = Format::Unknown;
    std::uint32_t bindFlags = 0;
    // RESOURCE_MISC_TEXTURECUBE with an array size of 6 makes a cube map.
    std::uint32_t miscFlags = 0;
};

enum MiscFlags : std::uint32_t
{
    RESOURCE_MISC_TEXTURECUBE = 0x4,
};

// One subresource's initial pixels (array slice major, then mip level); rows from the top of the image
// down, rowPitch bytes apart (a row of 4 x 4 blocks for block-compressed formats).
struct SubresourceData
{
    const void* data = nullptr;
    std::uint32_t rowPitch = 0;
};

// A viewport with its origin at the target's top-left corner, y growing downwards.
struct Viewport
{
    float topLeftX = 0.0f;
    float topLeftY = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float minDepth = 0.0f;
    float maxDepth = 1.0f;
};

// How a format is laid out in memory: blocks of blockSide x blockSide pixels (1 for plain formats, 4 for
// block-compressed ones) of blockBytes each. Zero bytes for Unknown.
struct FormatLayout
{
    std::uint32_t blockBytes = 0;
    std::uint32_t blockSide = 1;
};
FormatLayout GetFormatLayout(Format aFormat);
// Bytes per pixel of a plain format; 0 for Unknown and for block-compressed formats.
std::uint32_t GetBytesPerPixel(Format aFormat);
// The bytes of one row of pixels (or of blocks) and the number of such rows, for one mip level's size.
std::uint32_t GetRowBytes(Format aFormat, std::uint32_t aWidth);
std::uint32_t GetRowCount(Format aFormat, std::uint32_t aHeight);
bool IsBlockCompressed(Format aFormat);
bool IsSrgb(Format aFormat);
// The sRGB form of a format that has one, or the plain form of an sRGB format; other formats unchanged.
Format MakeSrgb(Format aFormat);
Format StripSrgb(Format aFormat);
// The number of levels of a full chain for a size.
std::uint32_t GetFullMipCount(std::uint32_t aWidth, std::uint32_t aHeight);
} // namespace Platform::Gfx
