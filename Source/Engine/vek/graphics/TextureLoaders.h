// The loaders the texture manager tries in order on a resolved file: DDS for every file whatever its
// name, then (main thread only) ordinary images through the image decoder, then (main thread only, for
// names ending exactly in "tga") 32-bit Targa images. Each returns the shader view of a new sampled
// texture, or null. Any thread may call LoadTextureFile; it takes the device through the process-wide
// accessor and touches the immediate context only on the main thread. The work is split in two so a
// task can do the reading and decoding ahead (DecodeTextureFile, any thread) and the main thread only
// makes the GL objects (FinishTexture).
#pragma once

#include "Platform/Gfx/Resources.h"
#include "Platform/Image/ImageDecode.h"
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

// A file read and decoded as far as the loaders go without the GL context: a DDS file as a texture whose
// GL object is made on the main thread at its first use, or an ordinary or Targa image's pixels.
struct DecodedTexture
{
    LoadedTexture dds;
    Platform::RgbaImage image;
    std::optional<TargaImage> targa;
};

// aColorMode: 0 the file's own, 1 forced sRGB, 2 sRGB ignored (any other value is 0). Non-DDS files are
// decoded only with aDecodeImages, since only the main thread can make textures of them.
DecodedTexture DecodeTextureFile(const std::string& aResolvedPath, std::uint32_t aColorMode,
                                 bool aDecodeImages);
// The texture of what DecodeTextureFile gave, as LoadTextureFile would have made it: on the main thread
// the GL objects are made (a driver's refusal gives null) unless the device defers them; elsewhere only a
// DDS file gives a texture.
LoadedTexture FinishTexture(DecodedTexture&& aDecoded, const std::string& aResolvedPath,
                            std::uint32_t aColorMode);
LoadedTexture LoadTextureFile(const std::string& aResolvedPath, std::uint32_t aColorMode);
} // namespace Qel
