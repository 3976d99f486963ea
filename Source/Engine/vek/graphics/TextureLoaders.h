// The loaders the texture manager tries in order on a resolved file: DDS for every file whatever its
// name, then (main thread only) ordinary images through the image decoder, then (main thread only, for
// names ending exactly in "tga") 32-bit Targa images. Each returns the shader view of a new sampled
// texture, or null. Any thread may call LoadTextureFile; it takes the device through the process-wide
// accessor and touches the immediate context only on the main thread.
#pragma once

#include "Platform/Gfx/Resources.h"
#include "Platform/Image/TargaImage.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Qel
{
using TargaImage = Platform::TargaPixels;

// The Targa image of a file, or nothing for an unreadable file or one the reader refuses.
std::optional<TargaImage> LoadTargaImage(const std::string& aPath);

struct LoadedTexture
{
    Platform::Gfx::ShaderResourceViewPtr view;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// aColorMode: 0 the file's own, 1 forced sRGB, 2 sRGB ignored (any other value is 0).
LoadedTexture LoadTextureFile(const std::string& aResolvedPath, std::uint32_t aColorMode);
} // namespace Qel
