// Reading and writing DDS texture files: the header, the optional DX10 header, 2D textures with mip
// chains and cube maps, plain and block-compressed formats (blocks are kept as they are, for upload
// compressed). Pure functions over bytes; any thread may call them. The reader validates everything the
// upload later relies on, so a file it accepts uploads whole.
#pragma once

#include "Platform/Gfx/Types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Platform
{
enum DdsLoaderFlags : std::uint32_t
{
    DDS_LOADER_DEFAULT = 0,
    // Plain formats that have an sRGB form are read as that form.
    DDS_LOADER_FORCE_SRGB = 1,
    // sRGB formats are read as their plain form.
    DDS_LOADER_IGNORE_SRGB = 2,
};

struct DdsImage
{
    struct Subresource
    {
        std::size_t offset = 0;
        std::size_t size = 0;
        std::uint32_t rowPitch = 0;
    };

    Gfx::Format format = Gfx::Format::Unknown;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t mipLevels = 1;
    bool isCube = false;
    // The file's pixel data; the subresources index into it, face major, then mip level.
    std::vector<std::uint8_t> data;
    std::vector<Subresource> subresources;

    bool IsEmpty() const { return format == Gfx::Format::Unknown; }
    // The layer's description and initial data for a sampled texture of this image; the data points
    // into this image, which must outlive the creation call.
    Gfx::Texture2DDesc MakeTextureDesc() const;
    std::vector<Gfx::SubresourceData> MakeInitialData() const;
};

// An empty image, with the reason in aReason when it is given, for bytes that are no DDS file or one the
// reader does not take: another magic, a bad header size, zero or more than 16384 pixels a side, a volume
// or array texture, a cube map without all six faces or not square, an unsupported format, a mip count
// beyond the full chain, or fewer bytes than the header announces.
DdsImage ReadDds(std::span<const std::uint8_t> someBytes, std::uint32_t someFlags,
                 std::string* aReason = nullptr);

// A DDS file of the given subresources (face major, then mip level; each tightly packed). With
// aUseDx10Header false the legacy pixel format is written where the format has one.
std::vector<std::uint8_t> WriteDds(Gfx::Format aFormat, std::uint32_t aWidth, std::uint32_t aHeight,
                                   std::uint32_t aMipLevels, bool anIsCube,
                                   std::span<const std::vector<std::uint8_t>> someSubresources,
                                   bool aUseDx10Header = true);
} // namespace Platform
