// Lays a string out over a font's glyph table. Drawing and measuring share this one walk, so a text
// measures exactly as it draws. Pure functions; any thread.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/text/FontData.h"

#include <string_view>

namespace Qel::impl
{
// Newlines move the pen down by the tallest cell so far in the whole text plus this many pixels.
constexpr int LINE_GAP = 6;

struct LaidOutGlyph
{
    const GlyphEntry* entry = nullptr;
    // The cell's corner, scaled; cell sizes are not.
    Vector2<float> corner;
};

// Calls aVisit(const LaidOutGlyph&) for every byte of aText in order, each byte indexing the glyph table.
template <class Visitor>
void LayOutText(const InternalTextAndFontData& aFont, std::string_view aText, float aScale, Visitor&& aVisit)
{
    int penX = 0;
    int penY = 0;
    int lineHeight = 0;
    for (const char byte : aText)
    {
        const unsigned char character = static_cast<unsigned char>(byte);
        const GlyphEntry& entry = aFont.glyphs[character];
        lineHeight = lineHeight > entry.cellHeight ? lineHeight : entry.cellHeight;
        LaidOutGlyph glyph;
        glyph.entry = &entry;
        glyph.corner = Vector2<float>(static_cast<float>(entry.left + penX) * aScale,
                                      static_cast<float>(entry.top + penY) * aScale);
        aVisit(static_cast<const LaidOutGlyph&>(glyph));
        if (character == '\n')
        {
            penX = 0;
            penY -= lineHeight + LINE_GAP;
            continue;
        }
        if (character == ' ')
        {
            penX += aFont.spaceExtra;
        }
        penX += entry.advanceX;
    }
}

// The laid-out extent: the largest corner x + cell width and corner y + cell height over every byte;
// 0 for an empty text.
float MeasureTextWidth(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);
float MeasureTextHeight(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);

struct TextBox
{
    Vector2<float> min;
    Vector2<float> max;
    Vector2<float> GetCentre() const { return (min + max) * 0.5f; }
};
// The box round every laid-out cell, which rotated text turns about.
TextBox MeasureTextBox(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);
} // namespace Qel::impl
