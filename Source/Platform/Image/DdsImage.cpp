#include "Platform/Image/DdsImage.h"

#include "Platform/Image/DdsFormats.h"

#include <algorithm>
#include <cstring>

namespace Platform
{
namespace
{
constexpr std::uint32_t DDS_MAGIC = impl::MakeFourCc('D', 'D', 'S', ' ');
constexpr std::uint32_t DX10_FOURCC = impl::MakeFourCc('D', 'X', '1', '0');
constexpr std::size_t HEADER_BYTES = 4 + 124;
constexpr std::size_t DX10_BYTES = 20;
constexpr std::uint32_t MAX_SIDE = 16384;

constexpr std::uint32_t DDSD_CAPS = 0x1;
constexpr std::uint32_t DDSD_HEIGHT = 0x2;
constexpr std::uint32_t DDSD_WIDTH = 0x4;
constexpr std::uint32_t DDSD_PIXELFORMAT = 0x1000;
constexpr std::uint32_t DDSD_MIPMAPCOUNT = 0x20000;
constexpr std::uint32_t DDSCAPS_TEXTURE = 0x1000;
constexpr std::uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr std::uint32_t DDSCAPS_MIPMAP = 0x400000;
constexpr std::uint32_t DDSCAPS2_CUBEMAP = 0x200;
constexpr std::uint32_t DDSCAPS2_ALLFACES = 0xFC00;
constexpr std::uint32_t DDSCAPS2_VOLUME = 0x200000;
constexpr std::uint32_t DIMENSION_TEXTURE2D = 3;
constexpr std::uint32_t MISC_TEXTURECUBE = 0x4;

// Header word offsets, counted from the start of the file.
enum Word : std::size_t
{
    SIZE = 1,
    FLAGS = 2,
    HEIGHT = 3,
    WIDTH = 4,
    PITCH = 5,
    DEPTH = 6,
    MIP_COUNT = 7,
    PF_SIZE = 19,
    PF_FLAGS = 20,
    PF_FOURCC = 21,
    PF_BITS = 22,
    PF_MASKS = 23,
    CAPS = 27,
    CAPS2 = 28,
    DX10_FORMAT = 32,
    DX10_DIMENSION = 33,
    DX10_MISC = 34,
    DX10_ARRAY = 35,
};

std::uint32_t ReadWord(std::span<const std::uint8_t> someBytes, std::size_t aWord)
{
    std::uint32_t value = 0;
    std::memcpy(&value, someBytes.data() + aWord * 4, sizeof(value));
    return value;
}

void WriteWord(std::vector<std::uint8_t>& someBytes, std::size_t aWord, std::uint32_t aValue)
{
    std::memcpy(someBytes.data() + aWord * 4, &aValue, sizeof(aValue));
}

DdsImage Fail(std::string* aReason, const char* aText)
{
    if (aReason != nullptr)
    {
        *aReason = aText;
    }
    return {};
}

Gfx::Format ApplyFlags(Gfx::Format aFormat, std::uint32_t someFlags)
{
    if ((someFlags & DDS_LOADER_FORCE_SRGB) != 0)
    {
        return Gfx::MakeSrgb(aFormat);
    }
    if ((someFlags & DDS_LOADER_IGNORE_SRGB) != 0)
    {
        return Gfx::StripSrgb(aFormat);
    }
    return aFormat;
}
} // namespace

DdsImage ReadDds(std::span<const std::uint8_t> someBytes, std::uint32_t someFlags, std::string* aReason)
{
    if (someBytes.size() < HEADER_BYTES || ReadWord(someBytes, 0) != DDS_MAGIC)
    {
        return Fail(aReason, "not a DDS file");
    }
    if (ReadWord(someBytes, SIZE) != 124 || ReadWord(someBytes, PF_SIZE) != 32)
    {
        return Fail(aReason, "bad header size");
    }
    DdsImage image;
    image.width = ReadWord(someBytes, WIDTH);
    image.height = ReadWord(someBytes, HEIGHT);
    if (image.width == 0 || image.height == 0 || image.width > MAX_SIDE || image.height > MAX_SIDE)
    {
        return Fail(aReason, "bad size");
    }
    const std::uint32_t caps2 = ReadWord(someBytes, CAPS2);
    if ((caps2 & DDSCAPS2_VOLUME) != 0)
    {
        return Fail(aReason, "volume textures are not taken");
    }
    std::size_t dataStart = HEADER_BYTES;
    const std::uint32_t pfFlags = ReadWord(someBytes, PF_FLAGS);
    if ((pfFlags & impl::DDPF_FOURCC) != 0 && ReadWord(someBytes, PF_FOURCC) == DX10_FOURCC)
    {
        if (someBytes.size() < HEADER_BYTES + DX10_BYTES)
        {
            return Fail(aReason, "short DX10 header");
        }
        dataStart += DX10_BYTES;
        if (ReadWord(someBytes, DX10_DIMENSION) != DIMENSION_TEXTURE2D ||
            ReadWord(someBytes, DX10_ARRAY) != 1)
        {
            return Fail(aReason, "only single 2D textures and cube maps are taken");
        }
        image.format = impl::FormatFromDxgi(ReadWord(someBytes, DX10_FORMAT));
        image.isCube = (ReadWord(someBytes, DX10_MISC) & MISC_TEXTURECUBE) != 0;
    }
    else
    {
        impl::LegacyPixelFormat pixelFormat;
        pixelFormat.flags = pfFlags;
        pixelFormat.fourCc = ReadWord(someBytes, PF_FOURCC);
        pixelFormat.bitCount = ReadWord(someBytes, PF_BITS);
        for (std::size_t channel = 0; channel < 4; ++channel)
        {
            pixelFormat.masks[channel] = ReadWord(someBytes, PF_MASKS + channel);
        }
        image.format = impl::FormatFromLegacy(pixelFormat);
        if ((caps2 & DDSCAPS2_CUBEMAP) != 0)
        {
            if ((caps2 & DDSCAPS2_ALLFACES) != DDSCAPS2_ALLFACES)
            {
                return Fail(aReason, "cube map without all six faces");
            }
            image.isCube = true;
        }
    }
    // Texture files hold sampled images; vertex formats and 96-bit colour have no place here.
    if (image.format == Gfx::Format::Unknown || image.format == Gfx::Format::R32G32B32_FLOAT)
    {
        return Fail(aReason, "unsupported format");
    }
    if (image.isCube && image.width != image.height)
    {
        return Fail(aReason, "cube map faces are not square");
    }
    image.format = ApplyFlags(image.format, someFlags);

    const std::uint32_t mipCount =
        (ReadWord(someBytes, FLAGS) & DDSD_MIPMAPCOUNT) != 0 ? ReadWord(someBytes, MIP_COUNT) : 1;
    image.mipLevels = std::max(1u, mipCount);
    if (image.mipLevels > Gfx::GetFullMipCount(image.width, image.height))
    {
        return Fail(aReason, "more mip levels than the size allows");
    }
    const std::uint32_t faces = image.isCube ? 6 : 1;
    std::size_t offset = 0;
    for (std::uint32_t face = 0; face < faces; ++face)
    {
        for (std::uint32_t level = 0; level < image.mipLevels; ++level)
        {
            DdsImage::Subresource subresource;
            subresource.offset = offset;
            subresource.rowPitch = Gfx::GetRowBytes(image.format, std::max(1u, image.width >> level));
            subresource.size = static_cast<std::size_t>(subresource.rowPitch) *
                               Gfx::GetRowCount(image.format, std::max(1u, image.height >> level));
            offset += subresource.size;
            image.subresources.push_back(subresource);
        }
    }
    if (someBytes.size() - dataStart < offset)
    {
        return Fail(aReason, "file shorter than its pixel data");
    }
    image.data.assign(someBytes.begin() + static_cast<std::ptrdiff_t>(dataStart),
                      someBytes.begin() + static_cast<std::ptrdiff_t>(dataStart + offset));
    return image;
}

Gfx::Texture2DDesc DdsImage::MakeTextureDesc() const
{
    Gfx::Texture2DDesc desc;
    desc.width = width;
    desc.height = height;
    desc.mipLevels = mipLevels;
    desc.arraySize = isCube ? 6 : 1;
    desc.format = format;
    desc.bindFlags = Gfx::BIND_SHADER_RESOURCE;
    desc.miscFlags = isCube ? std::uint32_t{Gfx::RESOURCE_MISC_TEXTURECUBE} : 0u;
    return desc;
}

std::vector<Gfx::SubresourceData> DdsImage::MakeInitialData() const
{
    std::vector<Gfx::SubresourceData> initial;
    initial.reserve(subresources.size());
    for (const Subresource& subresource : subresources)
    {
        initial.push_back({data.data() + subresource.offset, subresource.rowPitch});
    }
    return initial;
}

std::vector<std::uint8_t> WriteDds(Gfx::Format aFormat, std::uint32_t aWidth, std::uint32_t aHeight,
                                   std::uint32_t aMipLevels, bool anIsCube,
                                   std::span<const std::vector<std::uint8_t>> someSubresources,
                                   bool aUseDx10Header)
{
    impl::LegacyPixelFormat legacy;
    const bool useDx10 = aUseDx10Header || !impl::LegacyFromFormat(aFormat, legacy);
    std::vector<std::uint8_t> bytes(HEADER_BYTES + (useDx10 ? DX10_BYTES : 0), 0);
    WriteWord(bytes, 0, DDS_MAGIC);
    WriteWord(bytes, SIZE, 124);
    WriteWord(bytes, FLAGS, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT);
    WriteWord(bytes, HEIGHT, aHeight);
    WriteWord(bytes, WIDTH, aWidth);
    WriteWord(bytes, PITCH, Gfx::GetRowBytes(aFormat, aWidth));
    WriteWord(bytes, DEPTH, 0);
    WriteWord(bytes, MIP_COUNT, aMipLevels);
    WriteWord(bytes, PF_SIZE, 32);
    WriteWord(bytes, CAPS,
              DDSCAPS_TEXTURE | (aMipLevels > 1 || anIsCube ? DDSCAPS_COMPLEX : 0u) |
                  (aMipLevels > 1 ? DDSCAPS_MIPMAP : 0u));
    WriteWord(bytes, CAPS2, anIsCube ? DDSCAPS2_CUBEMAP | DDSCAPS2_ALLFACES : 0u);
    if (useDx10)
    {
        WriteWord(bytes, PF_FLAGS, impl::DDPF_FOURCC);
        WriteWord(bytes, PF_FOURCC, DX10_FOURCC);
        WriteWord(bytes, DX10_FORMAT, impl::DxgiFromFormat(aFormat));
        WriteWord(bytes, DX10_DIMENSION, DIMENSION_TEXTURE2D);
        WriteWord(bytes, DX10_MISC, anIsCube ? MISC_TEXTURECUBE : 0u);
        WriteWord(bytes, DX10_ARRAY, 1);
    }
    else
    {
        WriteWord(bytes, PF_FLAGS, legacy.flags);
        WriteWord(bytes, PF_FOURCC, legacy.fourCc);
        WriteWord(bytes, PF_BITS, legacy.bitCount);
        for (std::size_t channel = 0; channel < 4; ++channel)
        {
            WriteWord(bytes, PF_MASKS + channel, legacy.masks[channel]);
        }
    }
    for (const std::vector<std::uint8_t>& subresource : someSubresources)
    {
        bytes.insert(bytes.end(), subresource.begin(), subresource.end());
    }
    return bytes;
}
} // namespace Platform
