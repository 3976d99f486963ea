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
bool PeekImageSize(std::span<const std::uint8_t> someBytes, int& outWidth, int& outHeight)
{
    int channels = 0;
    return !someBytes.empty() && someBytes.size() <= static_cast<std::size_t>(INT_MAX) &&
           stbi_info_from_memory(someBytes.data(), static_cast<int>(someBytes.size()), &outWidth, &outHeight,
                                 &channels) != 0;
}

RgbaImage DecodeImage(std::span<const std::uint8_t> someBytes, int aMaxSide)
{
    RgbaImage image;
    int width = 0;
    int height = 0;
    if (!PeekImageSize(someBytes, width, height) || width <= 0 || height <= 0 || width > aMaxSide ||
        height > aMaxSide || static_cast<long long>(width) * height > MAX_IMAGE_PIXELS)
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
