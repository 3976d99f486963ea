#include "Platform/Gfx/Types.h"

#include <algorithm>

namespace Platform::Gfx
{
std::uint32_t GetBytesPerPixel(Format aFormat)
{
    return aFormat == Format::Unknown ? 0u : 4u;
}

bool IsSrgb(Format aFormat)
{
    return aFormat == Format::R8G8B8A8_UNORM_SRGB || aFormat == Format::B8G8R8A8_UNORM_SRGB;
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
