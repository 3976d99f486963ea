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
};

enum BindFlags : std::uint32_t
{
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
};

// One mip level's initial pixels; rows from the top of the image down, rowPitch bytes apart.
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

// Bytes per pixel of a format; 0 for Unknown.
std::uint32_t GetBytesPerPixel(Format aFormat);
bool IsSrgb(Format aFormat);
// The number of levels of a full chain for a size.
std::uint32_t GetFullMipCount(std::uint32_t aWidth, std::uint32_t aHeight);
} // namespace Platform::Gfx
