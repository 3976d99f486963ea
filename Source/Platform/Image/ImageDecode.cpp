#include "Platform/Image/ImageDecode.h"

#include <climits>

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
RgbaImage DecodeImage(std::span<const std::uint8_t> someBytes)
{
    RgbaImage image;
    if (someBytes.empty() || someBytes.size() > static_cast<std::size_t>(INT_MAX))
    {
        return image;
    }
    int width = 0;
    int height = 0;
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
