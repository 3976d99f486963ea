// Texture files read whole from disk: every byte value comes through as it is in the file, and a file
// that is missing or shorter than its header says gives no image.
#include "Support/TempDir.h"
#include "vek/graphics/TextureLoaders.h"

#include <gtest/gtest.h>

namespace
{
// A 2 x 2 32-bit Targa whose pixels hold the bytes a text-mode or stream copy would mangle.
std::vector<std::uint8_t> TrickyTarga()
{
    std::vector<std::uint8_t> targa(18, 0);
    targa[2] = 2;
    targa[12] = 2;
    targa[14] = 2;
    targa[16] = 32;
    // Blue, green, red, alpha; the bottom row first.
    targa.insert(targa.end(), {0x00, 0x0A, 0x0D, 0x1A, 0xFF, 0x00, 0x0A, 0x0D});
    targa.insert(targa.end(), {0x1A, 0xFF, 0x00, 0x0A, 0x0D, 0x1A, 0xFF, 0x00});
    return targa;
}

std::string Write(const QelTest::TempDir& aFolder, const char* aName,
                  const std::vector<std::uint8_t>& someBytes)
{
    return aFolder
        .WriteFile(aName, std::string_view(reinterpret_cast<const char*>(someBytes.data()), someBytes.size()))
        .string();
}

TEST(TextureFileRead, EveryByteOfTheFileReachesTheImage)
{
    const QelTest::TempDir folder;
    const std::optional<Qel::TargaImage> image =
        Qel::LoadTargaImage(Write(folder, "tricky.tga", TrickyTarga()));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    const std::vector<std::uint8_t> expected = {0x00, 0xFF, 0x1A, 0x0A, 0xFF, 0x1A, 0x0D, 0x00,
                                                0x0D, 0x0A, 0x00, 0x1A, 0x0A, 0x00, 0xFF, 0x0D};
    EXPECT_EQ(image->pixels, expected);
}

TEST(TextureFileRead, AMissingEmptyOrShortFileGivesNoImage)
{
    const QelTest::TempDir folder;
    EXPECT_FALSE(Qel::LoadTargaImage((folder.GetPath() / "missing.tga").string()).has_value());
    EXPECT_FALSE(Qel::LoadTargaImage(Write(folder, "empty.tga", {})).has_value());
    std::vector<std::uint8_t> cut = TrickyTarga();
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(Qel::LoadTargaImage(Write(folder, "cut.tga", cut)).has_value());
    // A folder is not a file.
    EXPECT_FALSE(Qel::LoadTargaImage(folder.GetPath().string()).has_value());
}
} // namespace
