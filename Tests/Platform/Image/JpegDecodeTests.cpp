// JPEG files through the ordinary image decoder: a well-formed one decodes, and one whose Huffman table
// claims more than 256 codes (which the decoder would write past its tables for) is refused whole.
#include "Platform/Image/ImageDecode.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wcast-align"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

// An 8 x 8 JPEG of a red-to-blue ramp, with the writer's standard Huffman tables.
Bytes RampJpeg()
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            pixels.insert(pixels.end(),
                          {static_cast<std::uint8_t>(x * 32), 64, static_cast<std::uint8_t>(y * 32)});
        }
    }
    Bytes file;
    stbi_write_jpg_to_func(
        [](void* aFile, void* aData, int aSize)
        {
            const auto* bytes = static_cast<const std::uint8_t*>(aData);
            static_cast<Bytes*>(aFile)->insert(static_cast<Bytes*>(aFile)->end(), bytes, bytes + aSize);
        },
        &file, 8, 8, 3, pixels.data(), 90);
    return file;
}

// The offset of the first Huffman table's 16 code counts, or 0.
std::size_t FirstHuffmanCounts(const Bytes& aFile)
{
    for (std::size_t at = 2; at + 5 < aFile.size(); ++at)
    {
        if (aFile[at] == 0xFF && aFile[at + 1] == 0xC4)
        {
            return at + 5;
        }
    }
    return 0;
}
} // namespace

TEST(JpegDecode, AWellFormedFileDecodesToItsPixels)
{
    const Bytes jpeg = RampJpeg();
    ASSERT_GT(jpeg.size(), 100u);
    int width = 0;
    int height = 0;
    ASSERT_TRUE(Platform::PeekImageSize(jpeg, width, height));
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 8);
    const Platform::RgbaImage image = Platform::DecodeImage(jpeg);
    ASSERT_EQ(image.width, 8);
    ASSERT_EQ(image.pixels.size(), 8u * 8u * 4u);
    // Left to right the red rises; the last column is far redder than the first.
    EXPECT_GT(image.pixels[7 * 4], image.pixels[0] + 150);
    EXPECT_EQ(image.pixels[3], 255);
}

TEST(JpegDecode, AHuffmanTableOfMoreThan256CodesIsRefused)
{
    Bytes jpeg = RampJpeg();
    const std::size_t counts = FirstHuffmanCounts(jpeg);
    ASSERT_NE(counts, 0u);
    int width = 0;
    int height = 0;
    // 16 counts of 17 claim 272 codes.
    for (std::size_t count = 0; count < 16; ++count)
    {
        jpeg[counts + count] = 17;
    }
    EXPECT_FALSE(Platform::PeekImageSize(jpeg, width, height));
    EXPECT_TRUE(Platform::DecodeImage(jpeg).IsEmpty());

    // Exactly 256 codes is a table the decoder can hold: the file gets past the check (and then
    // decodes to whatever its data makes of that table, or to nothing).
    for (std::size_t count = 0; count < 16; ++count)
    {
        jpeg[counts + count] = 16;
    }
    const Platform::RgbaImage odd = Platform::DecodeImage(jpeg);
    EXPECT_TRUE(odd.IsEmpty() || odd.width == 8);

    // The fuzzer's find: a table segment cut short, its counts read on past the file's end.
    const Bytes cut = {0xFF, 0xD8, 0xFF, 0xC4, 0x89, 0x00, 0x00, 0x00, 0xFF, 0x03, 0x00, 0x00, 0x00};
    EXPECT_FALSE(Platform::PeekImageSize(cut, width, height));
    EXPECT_TRUE(Platform::DecodeImage(cut).IsEmpty());
    // And the same behind fill bytes, which the decoder skips before the start of the image.
    const Bytes filled = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xD8,
                          0xFF, 0xC4, 0x89, 0x00, 0x00, 0x00, 0xFF, 0x03, 0x00, 0x00, 0x00};
    EXPECT_FALSE(Platform::PeekImageSize(filled, width, height));
    EXPECT_TRUE(Platform::DecodeImage(filled).IsEmpty());
}
