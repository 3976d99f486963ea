// Laying text out over a hand-made glyph table: pen steps, spaces, newlines, scale, and the measures
// that game layout centres and stacks texts by.
#include "vek/text/TextLayout.h"
#include "vek/text/TextService.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
std::unique_ptr<Qel::InternalTextAndFontData> MakeFont()
{
    auto font = std::make_unique<Qel::InternalTextAndFontData>();
    Qel::GlyphEntry& a = font->glyphs['a'];
    a.left = 1;
    a.top = 10;
    a.cellWidth = 8;
    a.cellHeight = 12;
    a.advanceX = 9;
    Qel::GlyphEntry& b = font->glyphs['b'];
    b.left = 2;
    b.top = 14;
    b.cellWidth = 7;
    b.cellHeight = 20;
    b.advanceX = 10;
    font->glyphs[' '].advanceX = 4;
    font->spaceExtra = 2;
    return font;
}

std::vector<Qel::Vector2<float>> Corners(const Qel::InternalTextAndFontData& aFont, std::string_view aText,
                                         float aScale)
{
    std::vector<Qel::Vector2<float>> corners;
    Qel::impl::LayOutText(aFont, aText, aScale,
                          [&corners](const Qel::impl::LaidOutGlyph& aGlyph)
                          { corners.push_back(aGlyph.corner); });
    return corners;
}

TEST(TextLayout, PenAdvancesSpacesAndNewlines)
{
    const auto font = MakeFont();
    const auto corners = Corners(*font, "a b", 1.0f);
    ASSERT_EQ(corners.size(), 3u);
    EXPECT_EQ(corners[0], Qel::Vector2<float>(1, 10));
    // The space adds its extra, then its advance: b starts at 9 + 2 + 4.
    EXPECT_EQ(corners[2], Qel::Vector2<float>(15 + 2, 14));

    // a, newline, b: b at pen x 0 and pen y -(the taller cell so far + 6).
    const auto lines = Corners(*font, "a\nb", 1.0f);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], Qel::Vector2<float>(2, 14 - (12 + 6)));

    // The line height is the tallest cell in the whole text so far, not of the line.
    const auto three = Corners(*font, "b\na\na", 1.0f);
    EXPECT_EQ(three[4], Qel::Vector2<float>(1, 10 - 2 * (20 + 6)));
}

TEST(TextLayout, ScaleMovesCornersButNotCells)
{
    const auto font = MakeFont();
    const auto corners = Corners(*font, "aa", 2.0f);
    EXPECT_EQ(corners[1], Qel::Vector2<float>(20, 20));
    // The last cell's right edge: (1 + 9) x 2 + 8.
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextWidth(*font, "aa", 2.0f), 28.0f);
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextHeight(*font, "aa", 2.0f), 32.0f);
}

TEST(TextLayout, MeasuresAreTheLargestCellEdges)
{
    const auto font = MakeFont();
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextWidth(*font, "ab", 1.0f), 18.0f);
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextHeight(*font, "ab", 1.0f), 34.0f);
    // Every byte counts, a newline too: its empty cell sits where the pen stood, at 9 + 10.
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextWidth(*font, "ab\na", 1.0f), 19.0f);
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextHeight(*font, "a\nb", 1.0f), 22.0f);
    EXPECT_EQ(Qel::impl::MeasureTextWidth(*font, "", 1.0f), 0.0f);
    EXPECT_EQ(Qel::impl::MeasureTextHeight(*font, "", 1.0f), 0.0f);

    const Qel::impl::TextBox box = Qel::impl::MeasureTextBox(*font, "ab", 1.0f);
    EXPECT_EQ(box.min, Qel::Vector2<float>(1, 10));
    EXPECT_EQ(box.max, Qel::Vector2<float>(18, 34));
    EXPECT_EQ(box.GetCentre(), Qel::Vector2<float>(9.5f, 22));
}

TEST(TextLayout, BytesAboveTheAsciiRangeIndexTheTableUnsigned)
{
    auto font = MakeFont();
    font->glyphs[0xE9].cellWidth = 5;
    font->glyphs[0xE9].left = 3;
    EXPECT_FLOAT_EQ(Qel::impl::MeasureTextWidth(*font, "\xE9", 1.0f), 8.0f);
}

TEST(TextFontKey, PathSizeAsSixteenBitsAndTheBorderByte)
{
    EXPECT_EQ(Qel::TextService::MakeFontKey("Text/arial.ttf", 18, 0),
              std::string("Text/arial.ttf-18-\0", 19));
    EXPECT_EQ(Qel::TextService::MakeFontKey("f", 70000, 2), std::string("f-4464-\x02"));
    EXPECT_NE(Qel::TextService::MakeFontKey("f", 18, 0), Qel::TextService::MakeFontKey("f", 18, 1));
}
} // namespace
