// The glyph atlas as a CPU image: placement, cell sizes, outlines, overflow and blank edges, built with
// FreeType from a system font and checked without a device.
#include "vek/text/FontAtlasBuilder.h"
#include "vek/text/FontAtlasUpload.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{
const std::string SANS = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

class FontAtlasTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(FT_Init_FreeType(&myLibrary), 0); }
    void TearDown() override { FT_Done_FreeType(myLibrary); }

    std::unique_ptr<Qel::InternalTextAndFontData> Build(std::uint32_t aSize, std::uint8_t aBorder,
                                                        const std::string& aPath = SANS)
    {
        auto font = std::make_unique<Qel::InternalTextAndFontData>();
        Qel::impl::FontAtlasBuilder builder(myLibrary, *font, aBorder);
        myBuilt = builder.Build(aPath, aSize);
        return font;
    }

    // The rendered bitmap size of a character straight from FreeType.
    std::pair<int, int> BitmapSize(std::uint32_t aSize, char aCharacter)
    {
        FT_Face face = nullptr;
        EXPECT_EQ(FT_New_Face(myLibrary, SANS.c_str(), 0, &face), 0);
        FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(aSize) * 64, 0, 100, 100);
        FT_Load_Char(face, static_cast<FT_ULong>(aCharacter), FT_LOAD_RENDER);
        const std::pair<int, int> size(static_cast<int>(face->glyph->bitmap.width),
                                       static_cast<int>(face->glyph->bitmap.rows));
        FT_Done_Face(face);
        return size;
    }

    static std::uint32_t TexelAt(const Qel::InternalTextAndFontData& aFont, int aX, int aY)
    {
        return aFont
            .pixels[static_cast<std::size_t>(aY) * Qel::FONT_ATLAS_SIZE + static_cast<std::size_t>(aX)];
    }

    static int PixelX(float aU) { return static_cast<int>(aU * Qel::FONT_ATLAS_SIZE + 0.5f); }

    FT_Library myLibrary = nullptr;
    bool myBuilt = false;
};

TEST_F(FontAtlasTest, CellsWithoutBorderAreTheBitmapsAndDoNotOverlap)
{
    const auto font = Build(18, 0);
    ASSERT_TRUE(myBuilt);
    for (const char character : {'A', 'g', 'x', '!'})
    {
        const auto [width, rows] = BitmapSize(18, character);
        const Qel::GlyphEntry& entry = font->glyphs[static_cast<unsigned char>(character)];
        EXPECT_EQ(entry.cellWidth, width) << character;
        EXPECT_EQ(entry.cellHeight, rows) << character;
        EXPECT_EQ(entry.character, static_cast<unsigned char>(character));
        EXPECT_FLOAT_EQ((entry.uvEnd.x - entry.uvStart.x) * Qel::FONT_ATLAS_SIZE, static_cast<float>(width));
        EXPECT_GT(entry.advanceX, 0);
    }
    // The space comes first, at the start cursor, with an empty cell; the next cell is 8 pixels on.
    EXPECT_EQ(PixelX(font->glyphs[' '].uvStart.x), 2);
    EXPECT_EQ(PixelX(font->glyphs[' '].uvStart.y), 2);
    EXPECT_EQ(PixelX(font->glyphs['!'].uvStart.x), 2 + 0 + 8);

    for (std::uint32_t a = 32; a <= 255; ++a)
    {
        const Qel::GlyphEntry& first = font->glyphs[a];
        EXPECT_LE(first.uvEnd.x, 1.0f);
        EXPECT_LE(first.uvEnd.y, 1.0f);
        for (std::uint32_t b = a + 1; b <= 255 && first.cellWidth > 0; ++b)
        {
            const Qel::GlyphEntry& second = font->glyphs[b];
            const bool overlaps = second.cellWidth > 0 && first.uvStart.x < second.uvEnd.x &&
                                  second.uvStart.x < first.uvEnd.x && first.uvStart.y < second.uvEnd.y &&
                                  second.uvStart.y < first.uvEnd.y;
            EXPECT_FALSE(overlaps) << a << " and " << b;
        }
    }
    // Characters outside 32..255 are never filled.
    EXPECT_EQ(font->glyphs[10].cellWidth, 0);
    EXPECT_EQ(font->glyphs[300].advanceX, 0);
}

TEST_F(FontAtlasTest, GlyphTexelsCarryCoverageInEveryChannelAndOutlinesOnlyInAlpha)
{
    const auto plain = Build(24, 0);
    const auto outlined = Build(24, 2);
    ASSERT_TRUE(myBuilt);

    int glyphTexels = 0;
    int outlineTexels = 0;
    for (const std::uint32_t texel : plain->pixels)
    {
        const std::uint32_t red = texel & 0xFFu;
        glyphTexels += red != 0 ? 1 : 0;
        EXPECT_EQ(texel, red * 0x01010101u);
    }
    for (const std::uint32_t texel : outlined->pixels)
    {
        outlineTexels += (texel & 0xFFu) == 0 && (texel >> 24) != 0 ? 1 : 0;
        // Alpha always covers the glyph's own coverage.
        EXPECT_EQ((texel >> 24) & (texel & 0xFFu), texel & 0xFFu);
    }
    EXPECT_GT(glyphTexels, 1000);
    EXPECT_GT(outlineTexels, 1000);
}

TEST_F(FontAtlasTest, BorderWidensCellsButNotTheCursorStep)
{
    const auto plain = Build(18, 0);
    const auto outlined = Build(18, 3);
    ASSERT_TRUE(myBuilt);
    for (const char character : {'A', 'W', 'q'})
    {
        const Qel::GlyphEntry& a = plain->glyphs[static_cast<unsigned char>(character)];
        const Qel::GlyphEntry& b = outlined->glyphs[static_cast<unsigned char>(character)];
        EXPECT_EQ(b.cellWidth, a.cellWidth + 6) << character;
        EXPECT_EQ(b.cellHeight, a.cellHeight + 6) << character;
        EXPECT_EQ(b.advanceX, a.advanceX) << character;
    }
    // Along the first row the cursor still moves by the bitmap width + 8.
    const Qel::GlyphEntry& bang = outlined->glyphs['!'];
    const Qel::GlyphEntry& quote = outlined->glyphs['"'];
    EXPECT_EQ(PixelX(quote.uvStart.x), PixelX(bang.uvStart.x) + (bang.cellWidth - 6) + 8);
}

TEST_F(FontAtlasTest, SpaceExtraIsAQuarterOfTheWidthOfX)
{
    const auto font = Build(36, 0);
    ASSERT_TRUE(myBuilt);
    const int quarter = font->glyphs['x'].cellWidth / 4;
    EXPECT_GT(font->spaceExtra, 0);
    EXPECT_LE(std::abs(font->spaceExtra - quarter), 1);
}

TEST_F(FontAtlasTest, AFontTooLargeForTheAtlasKeepsTheCharactersPlacedBeforeItFilled)
{
    const auto font = Build(120, 0);
    ASSERT_TRUE(myBuilt);
    // The atlas fills in the lower-case letters: the early characters are in, the late ones are not.
    EXPECT_GT(font->glyphs['A'].cellWidth, 0);
    for (const unsigned late : {0x7Au, 0xC0u, 0xDEu, 0xFFu})
    {
        const Qel::GlyphEntry& entry = font->glyphs[late];
        EXPECT_EQ(entry.cellWidth, 0) << late;
        EXPECT_EQ(entry.advanceX, 0) << late;
    }
    for (std::uint32_t c = 32; c <= 255; ++c)
    {
        EXPECT_LE(font->glyphs[c].uvEnd.y, 1.0f);
        EXPECT_LE(font->glyphs[c].uvEnd.x, 1.0f);
    }
}

TEST_F(FontAtlasTest, AMissingFaceFailsTheBuild)
{
    const auto font = Build(18, 0, "/nonexistent/font.ttf");
    EXPECT_FALSE(myBuilt);
    EXPECT_EQ(font->glyphs['A'].cellWidth, 0);
}

TEST(FontBlankEdges, FirstColumnAndFirstRow)
{
    unsigned char pixels[6] = {0, 0, 0, 0, 9, 0};
    FT_Bitmap bitmap{};
    bitmap.width = 3;
    bitmap.rows = 2;
    bitmap.pitch = 3;
    bitmap.buffer = pixels;
    Qel::impl::BlankEdges edges = Qel::impl::FontAtlasBuilder::FindBlankEdges(bitmap);
    EXPECT_EQ(edges.dx, -1);
    EXPECT_EQ(edges.dy, -1);

    pixels[3] = 1; // first column, second row
    edges = Qel::impl::FontAtlasBuilder::FindBlankEdges(bitmap);
    EXPECT_EQ(edges.dx, 0);
    EXPECT_EQ(edges.dy, -1);

    pixels[2] = 1; // first row, last column
    edges = Qel::impl::FontAtlasBuilder::FindBlankEdges(bitmap);
    EXPECT_EQ(edges.dy, 0);

    FT_Bitmap empty{};
    edges = Qel::impl::FontAtlasBuilder::FindBlankEdges(empty);
    EXPECT_EQ(edges.dx, 0);
    EXPECT_EQ(edges.dy, 0);
}

TEST(FontMipChain, EachLevelAveragesTheFourTexelsAbove)
{
    // 4 x 4: the top-left 2 x 2 block is red 0, 4, 8, 12 with alpha 255; the rest zero.
    std::vector<std::uint32_t> level0(16, 0u);
    level0[0] = 0xFF000000u | 0u;
    level0[1] = 0xFF000000u | 4u;
    level0[4] = 0xFF000000u | 8u;
    level0[5] = 0xFF000000u | 12u;
    const auto chain = Qel::impl::BuildMipChain(level0, 4);
    ASSERT_EQ(chain.size(), 2u);
    ASSERT_EQ(chain[0].size(), 4u);
    ASSERT_EQ(chain[1].size(), 1u);
    EXPECT_EQ(chain[0][0], 0xFF000000u | 6u);
    EXPECT_EQ(chain[0][1], 0u);
    EXPECT_EQ(chain[0][3], 0u);
    // (255 + 0 + 0 + 0) / 4 rounded, and red (6 + 0 + 0 + 0) / 4 rounded.
    EXPECT_EQ(chain[1][0], (64u << 24) | 2u);
}
} // namespace
