// Icon and PNG files that claim more than they should: sizes are read from the headers before any
// decoding, and of an icon's entries only the chosen one is decoded.
#include "Platform/Image/ImageDecode.h"
#include "Platform/Window/IconFile.h"
#include "Support/SourceRoot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& aBytes, std::size_t aAt, std::uint32_t aValue)
{
    for (std::size_t i = 0; i < 4; ++i)
    {
        aBytes[aAt + i] = static_cast<std::uint8_t>(aValue >> (8 * i));
    }
}

std::uint32_t Get32(const Bytes& aBytes, std::size_t aAt)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
    {
        value |= static_cast<std::uint32_t>(aBytes[aAt + i]) << (8 * i);
    }
    return value;
}

// The game's icon holds PNG entries of 16, 32 and 48 pixels; this is its 48-pixel one.
Bytes LargestPngOfTheGameIcon()
{
    std::ifstream file(QelTest::SourceRoot() / "Source/Game/content/Game_Icon.ico", std::ios::binary);
    const Bytes icon{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::size_t count = icon.size() >= 6 ? icon[4] : 0;
    for (std::size_t index = 0; index < count; ++index)
    {
        const std::size_t entry = 6 + index * 16;
        const std::uint32_t size = Get32(icon, entry + 8);
        const std::uint32_t offset = Get32(icon, entry + 12);
        const Bytes data(icon.begin() + offset, icon.begin() + offset + size);
        int width = 0;
        int height = 0;
        if (Platform::PeekImageSize(data, width, height) && width == 48)
        {
            return data;
        }
    }
    ADD_FAILURE() << "the game's icon has no 48-pixel entry";
    return {};
}

// A PNG whose header claims other sides than its data holds.
Bytes WithClaimedSize(Bytes aPng, std::uint32_t aWidth, std::uint32_t aHeight)
{
    for (std::size_t i = 0; i < 4; ++i)
    {
        aPng[16 + i] = static_cast<std::uint8_t>(aWidth >> (24 - 8 * i));
        aPng[20 + i] = static_cast<std::uint8_t>(aHeight >> (24 - 8 * i));
    }
    return aPng;
}

// An icon whose directory has one entry per data block in aEntries, repeated aRepeats times over.
Bytes MakeIcon(const std::vector<Bytes>& aEntries, std::size_t aRepeats)
{
    const std::size_t count = aEntries.size() * aRepeats;
    Bytes file(6 + count * 16, 0);
    file[2] = 1;
    file[4] = static_cast<std::uint8_t>(count);
    file[5] = static_cast<std::uint8_t>(count >> 8);
    std::vector<std::uint32_t> offsets;
    for (const Bytes& entry : aEntries)
    {
        offsets.push_back(static_cast<std::uint32_t>(file.size()));
        file.insert(file.end(), entry.begin(), entry.end());
    }
    for (std::size_t index = 0; index < count; ++index)
    {
        const std::size_t which = index % aEntries.size();
        Put32(file, 6 + index * 16 + 8, static_cast<std::uint32_t>(aEntries[which].size()));
        Put32(file, 6 + index * 16 + 12, offsets[which]);
    }
    return file;
}
} // namespace

TEST(HostileImages, APngClaimingTooManyPixelsIsRefusedFromItsHeader)
{
    const Bytes png = LargestPngOfTheGameIcon();
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(Platform::DecodeImage(png).width, 48);
    int width = 0;
    int height = 0;
    // The decoder's own header check stops at 1 GB of pixels; below that only the limits do.
    EXPECT_TRUE(Platform::DecodeImage(WithClaimedSize(png, 100000, 100000)).IsEmpty());
    for (const auto& [w, h] : {std::pair{16000u, 16000u}, std::pair{20000u, 1u}, std::pair{6000u, 6000u}})
    {
        const Bytes claim = WithClaimedSize(png, w, h);
        ASSERT_TRUE(Platform::PeekImageSize(claim, width, height));
        EXPECT_EQ(static_cast<std::uint32_t>(width), w);
        EXPECT_TRUE(Platform::DecodeImage(claim).IsEmpty()) << w << " x " << h;
    }
    // Within the limits, data too short to fill the pixels declared is refused as well.
    EXPECT_TRUE(Platform::DecodeImage(WithClaimedSize(png, 4096, 4096)).IsEmpty());
    EXPECT_FALSE(Platform::PeekImageSize(Bytes{1, 2, 3}, width, height));
}

TEST(HostileImages, AnIconTakesItsLargestDecodableEntryFromTheHeadersAlone)
{
    const Bytes png = LargestPngOfTheGameIcon();
    ASSERT_FALSE(png.empty());
    // Thousands of entries naming the same image decode to it once; an entry over the icon limit is
    // passed over for the largest one within it.
    const Platform::RgbaImage repeated = Platform::DecodeIcon(MakeIcon({png}, 4000));
    EXPECT_EQ(repeated.width, 48);
    EXPECT_EQ(repeated.pixels.size(), 48u * 48u * 4u);
    const Platform::RgbaImage chosen =
        Platform::DecodeIcon(MakeIcon({WithClaimedSize(png, 2048, 2048), png}, 1));
    EXPECT_EQ(chosen.width, 48);
    // When the entry the headers choose does not decode, there is no icon rather than another try.
    EXPECT_TRUE(Platform::DecodeIcon(MakeIcon({WithClaimedSize(png, 64, 64), png}, 1)).IsEmpty());
}

TEST(HostileImages, APngChunkLongerThanTheFileIsRefusedBeforeTheDecoderGrowsItsBuffer)
{
    Bytes png = LargestPngOfTheGameIcon();
    ASSERT_FALSE(png.empty());
    const std::size_t data =
        std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1) - png.begin();
    ASSERT_LT(data, png.size());
    ASSERT_GE(data, 4u);
    // A data chunk that claims a gigabyte.
    png[data - 4] = 0x40;
    EXPECT_TRUE(Platform::DecodeImage(png).IsEmpty());
    int width = 0;
    int height = 0;
    EXPECT_TRUE(Platform::PeekImageSize(png, width, height)) << "the header alone is sound";
}

TEST(HostileImages, ADataChunkHeaderCutShortAtTheEndIsRefusedAndTrailingBytesAfterTheEndAreNot)
{
    Bytes png = LargestPngOfTheGameIcon();
    ASSERT_FALSE(png.empty());
    ASSERT_FALSE(Platform::DecodeImage(png).IsEmpty());
    // Bytes after the end chunk are never read.
    Bytes trailing = png;
    trailing.insert(trailing.end(), {0x7f, 0xff, 0xff, 0xff, 'I', 'D', 'A', 'T', 1, 2, 3});
    EXPECT_EQ(Platform::DecodeImage(trailing).width, 48);
    // Without its end chunk, a data chunk's header in the last bytes claims two gigabytes it lacks.
    Bytes cut(png.begin(), png.end() - 12);
    cut.insert(cut.end(), {0x7f, 0xff, 0xff, 0xff, 'I', 'D', 'A', 'T', 1, 2, 3});
    EXPECT_TRUE(Platform::DecodeImage(cut).IsEmpty());
}
