#include "Platform/Image/DdsImage.h"
#include "Platform/Image/TargaImage.h"

#include <cstring>
#include <gtest/gtest.h>

namespace
{
using Platform::Gfx::Format;

std::vector<std::uint8_t> Targa(std::uint16_t aWidth, std::uint16_t aHeight, std::uint8_t aType,
                                std::uint8_t aDepth, std::size_t aPixelBytes)
{
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = aType;
    bytes[12] = static_cast<std::uint8_t>(aWidth & 0xFF);
    bytes[13] = static_cast<std::uint8_t>(aWidth >> 8);
    bytes[14] = static_cast<std::uint8_t>(aHeight & 0xFF);
    bytes[15] = static_cast<std::uint8_t>(aHeight >> 8);
    bytes[16] = aDepth;
    for (std::size_t index = 0; index < aPixelBytes; ++index)
    {
        bytes.push_back(static_cast<std::uint8_t>(index));
    }
    return bytes;
}

TEST(TargaReader, RowsAreFlippedAndBlueAndRedSwapped)
{
    const std::vector<std::uint8_t> bytes = Targa(2, 2, 2, 32, 16);
    const auto image = Platform::ReadTarga(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->bitsPerPixel, 32);
    // Stored bottom row first: bytes 8..15 are the top row, pixel by pixel blue, green, red, alpha.
    const std::vector<std::uint8_t> expected = {10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0, 3, 6, 5, 4, 7};
    EXPECT_EQ(image->pixels, expected);
}

TEST(TargaReader, AnIdFieldIsSkipped)
{
    std::vector<std::uint8_t> bytes = Targa(1, 1, 2, 32, 0);
    bytes[0] = 3;
    bytes.insert(bytes.end(), {'i', 'd', '!', 1, 2, 3, 4});
    const auto image = Platform::ReadTarga(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->pixels, (std::vector<std::uint8_t>{3, 2, 1, 4}));
}

TEST(TargaReader, FilesItCannotReadWhollyAreRefused)
{
    EXPECT_FALSE(Platform::ReadTarga(Targa(2, 2, 2, 24, 12))) << "24-bit";
    EXPECT_FALSE(Platform::ReadTarga(Targa(2, 2, 10, 32, 16))) << "run-length";
    EXPECT_FALSE(Platform::ReadTarga(Targa(2, 2, 2, 32, 15))) << "short pixel data";
    EXPECT_FALSE(Platform::ReadTarga(Targa(20000, 1, 2, 32, 80000))) << "oversized";
    EXPECT_FALSE(Platform::ReadTarga(Targa(0, 2, 2, 32, 0))) << "no pixels";
    std::vector<std::uint8_t> mapped = Targa(1, 1, 2, 32, 4);
    mapped[1] = 1;
    EXPECT_FALSE(Platform::ReadTarga(mapped)) << "colour-mapped";
    EXPECT_FALSE(Platform::ReadTarga(std::vector<std::uint8_t>(10, 0))) << "short header";
}

std::vector<std::uint8_t> Dds(Format aFormat, std::uint32_t aSide, std::uint32_t aMips, bool aCube,
                              bool aDx10)
{
    std::vector<std::vector<std::uint8_t>> subresources;
    for (std::uint32_t face = 0; face < (aCube ? 6u : 1u); ++face)
    {
        for (std::uint32_t level = 0; level < aMips; ++level)
        {
            const std::uint32_t side = std::max(1u, aSide >> level);
            subresources.push_back(std::vector<std::uint8_t>(Platform::Gfx::GetRowBytes(aFormat, side) *
                                                                 Platform::Gfx::GetRowCount(aFormat, side),
                                                             static_cast<std::uint8_t>(face * 16 + level)));
        }
    }
    return Platform::WriteDds(aFormat, aSide, aSide, aMips, aCube, subresources, aDx10);
}

TEST(DdsReader, HeadersOfBothKindsGiveTheFormatLevelsAndFaces)
{
    for (const bool dx10 : {true, false})
    {
        const Platform::DdsImage image = Platform::ReadDds(Dds(Format::BC1_UNORM, 8, 4, true, dx10), 0);
        ASSERT_FALSE(image.IsEmpty());
        EXPECT_EQ(image.format, Format::BC1_UNORM);
        EXPECT_TRUE(image.isCube);
        EXPECT_EQ(image.mipLevels, 4u);
        ASSERT_EQ(image.subresources.size(), 24u);
        // Blocks round up: 8, 4, 2 and 1 pixel sides each take whole 4 x 4 blocks of 8 bytes.
        EXPECT_EQ(image.subresources[0].size, 32u);
        EXPECT_EQ(image.subresources[3].size, 8u);
        EXPECT_EQ(image.data[image.subresources[5].offset], 16 + 1) << "face 1, level 1";
        EXPECT_EQ(image.MakeTextureDesc().arraySize, 6u);
    }
}

TEST(DdsReader, TheColourFlagsChooseTheSrgbForms)
{
    const std::vector<std::uint8_t> plain = Dds(Format::B8G8R8A8_UNORM, 4, 1, false, false);
    EXPECT_EQ(Platform::ReadDds(plain, Platform::DDS_LOADER_FORCE_SRGB).format, Format::B8G8R8A8_UNORM_SRGB);
    const std::vector<std::uint8_t> srgb = Dds(Format::BC7_UNORM_SRGB, 4, 1, false, true);
    EXPECT_EQ(Platform::ReadDds(srgb, 0).format, Format::BC7_UNORM_SRGB);
    EXPECT_EQ(Platform::ReadDds(srgb, Platform::DDS_LOADER_IGNORE_SRGB).format, Format::BC7_UNORM);
    EXPECT_EQ(Platform::ReadDds(Dds(Format::R16_FLOAT, 4, 1, false, false), 1).format, Format::R16_FLOAT)
        << "a format without an sRGB form stays";
}

TEST(DdsReader, FilesThatWouldUploadBadlyAreRefusedWithAReason)
{
    std::string reason;
    const std::vector<std::uint8_t> good = Dds(Format::R8G8B8A8_UNORM, 4, 3, false, true);
    ASSERT_FALSE(Platform::ReadDds(good, 0).IsEmpty());

    std::vector<std::uint8_t> shortFile(good.begin(), good.end() - 1);
    EXPECT_TRUE(Platform::ReadDds(shortFile, 0, &reason).IsEmpty());
    EXPECT_EQ(reason, "file shorter than its pixel data");

    std::vector<std::uint8_t> tooManyMips = good;
    const std::uint32_t mips = 4;
    std::memcpy(tooManyMips.data() + 28, &mips, 4);
    EXPECT_TRUE(Platform::ReadDds(tooManyMips, 0, &reason).IsEmpty());
    EXPECT_EQ(reason, "more mip levels than the size allows");

    std::vector<std::uint8_t> fiveFaces = Dds(Format::R8G8B8A8_UNORM, 4, 1, true, false);
    const std::uint32_t caps2 = 0x200 | 0x7C00;
    std::memcpy(fiveFaces.data() + 112, &caps2, 4);
    EXPECT_TRUE(Platform::ReadDds(fiveFaces, 0, &reason).IsEmpty());
    EXPECT_EQ(reason, "cube map without all six faces");

    std::vector<std::uint8_t> rgb24 = good;
    const std::uint32_t legacyRgb[] = {0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0};
    std::memcpy(rgb24.data() + 80, legacyRgb, sizeof(legacyRgb));
    EXPECT_TRUE(Platform::ReadDds(rgb24, 0, &reason).IsEmpty());
    EXPECT_EQ(reason, "unsupported format");

    std::vector<std::uint8_t> huge = good;
    const std::uint32_t side = 20000;
    std::memcpy(huge.data() + 16, &side, 4);
    EXPECT_TRUE(Platform::ReadDds(huge, 0, &reason).IsEmpty());
    EXPECT_EQ(reason, "bad size");

    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
    EXPECT_TRUE(Platform::ReadDds(png, 0, &reason).IsEmpty());
    EXPECT_EQ(reason, "not a DDS file");
}
} // namespace
