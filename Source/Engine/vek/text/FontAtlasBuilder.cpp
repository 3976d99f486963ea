#include "vek/text/FontAtlasBuilder.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <cstdlib>

namespace Qel::impl
{
namespace
{
constexpr FT_UInt ATLAS_DPI = 100;
constexpr int FIRST_CURSOR = 2;

// The gap between cells. Eight pixels leave room for outlines up to three pixels wide; wider outlines
// widen the gap so that their cells never overlap.
int CellGap(std::uint8_t aBorder)
{
    return std::max(8, 2 * static_cast<int>(aBorder) + 2);
}

int RowStride(const FT_Bitmap& aBitmap)
{
    return std::abs(aBitmap.pitch);
}

std::uint8_t Coverage(const FT_Bitmap& aBitmap, unsigned aColumn, unsigned aRow)
{
    return aBitmap
        .buffer[static_cast<std::size_t>(aRow) * static_cast<std::size_t>(RowStride(aBitmap)) + aColumn];
}

bool InsideAtlas(int aColumn, int aRow)
{
    return aColumn >= 0 && aRow >= 0 && aColumn < FONT_ATLAS_SIZE && aRow < FONT_ATLAS_SIZE;
}

std::uint32_t& Texel(InternalTextAndFontData& aFont, int aColumn, int aRow)
{
    return aFont.pixels[static_cast<std::size_t>(aRow) * FONT_ATLAS_SIZE + static_cast<std::size_t>(aColumn)];
}
} // namespace

FontAtlasBuilder::FontAtlasBuilder(FT_LibraryRec_* aLibrary, InternalTextAndFontData& aFont,
                                   std::uint8_t aBorder)
    : myLibrary(aLibrary), myFont(aFont), myBorder(aBorder)
{
}

FontAtlasBuilder::~FontAtlasBuilder()
{
    if (myFace != nullptr)
    {
        FT_Done_Face(myFace);
    }
}

bool FontAtlasBuilder::Build(const std::string& aPath, std::uint32_t aSize)
{
    if (myLibrary == nullptr || FT_New_Face(myLibrary, aPath.c_str(), 0, &myFace) != 0)
    {
        myFace = nullptr;
        return false;
    }
    const FT_F26Dot6 charWidth = static_cast<FT_F26Dot6>(aSize) * 64;
    if (FT_Set_Char_Size(myFace, charWidth, 0, ATLAS_DPI, ATLAS_DPI) != 0)
    {
        return false;
    }
    if (FT_Load_Char(myFace, 'x', FT_LOAD_DEFAULT) != 0)
    {
        return false;
    }
    // A quarter of the width of 'x', in whole pixels.
    myFont.spaceExtra = static_cast<std::int32_t>(myFace->glyph->metrics.width / 256);

    myCursorX = FIRST_CURSOR;
    myCursorY = FIRST_CURSOR;
    myNextRowY = 0;
    for (std::uint32_t character = FIRST_ATLAS_CHARACTER; character <= LAST_ATLAS_CHARACTER; ++character)
    {
        if (FT_Load_Char(myFace, character, FT_LOAD_RENDER) != 0)
        {
            continue;
        }
        const int width = static_cast<int>(myFace->glyph->bitmap.width);
        if (width + 2 * myBorder + myCursorX > FONT_ATLAS_SIZE)
        {
            myCursorX = FIRST_CURSOR;
            myCursorY = myNextRowY;
        }
        if (myBorder != 0)
        {
            RenderGlyphOutline(character, myCursorX, myCursorY);
        }
        RenderGlyph(character);
    }
    return true;
}

void FontAtlasBuilder::RenderGlyph(std::uint32_t aCharacter)
{
    if (FT_Load_Char(myFace, aCharacter, FT_LOAD_RENDER) != 0)
    {
        return;
    }
    const FT_GlyphSlot slot = myFace->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int x = myCursorX;
    const int y = myCursorY;
    const int cellWidth = static_cast<int>(bitmap.width) + 2 * myBorder;
    const int cellHeight = static_cast<int>(bitmap.rows) + 2 * myBorder;
    const float atlasSize = static_cast<float>(FONT_ATLAS_SIZE);
    const Vector2<float> uvStart(static_cast<float>(x) / atlasSize, static_cast<float>(y) / atlasSize);
    const Vector2<float> uvEnd(static_cast<float>(x + cellWidth) / atlasSize,
                               static_cast<float>(y + cellHeight) / atlasSize);
    if (uvStart.x > 1.0f || uvStart.y > 1.0f || uvEnd.x > 1.0f || uvEnd.y > 1.0f)
    {
        return;
    }

    const BlankEdges edges = FindBlankEdges(bitmap);
    const int gap = CellGap(myBorder);
    for (unsigned row = 0; row < bitmap.rows; ++row)
    {
        for (unsigned column = 0; column < bitmap.width; ++column)
        {
            const int texelRow = edges.dy + y + static_cast<int>(row) + myBorder;
            const int texelColumn = edges.dx + x + static_cast<int>(column) + myBorder;
            if (InsideAtlas(texelColumn, texelRow))
            {
                std::uint32_t& texel = Texel(myFont, texelColumn, texelRow);
                const std::uint32_t coverage = Coverage(bitmap, column, row) | texel;
                texel = coverage | ((coverage & 0xFFu) * 0x01010101u);
            }
            myNextRowY = std::max(myNextRowY, y + gap + static_cast<int>(row));
        }
    }
    myCursorX += static_cast<int>(bitmap.width) + gap;

    GlyphEntry& entry = myFont.glyphs[aCharacter];
    entry.uvStart = uvStart;
    entry.uvEnd = uvEnd;
    entry.cellWidth = static_cast<std::int16_t>(cellWidth);
    entry.cellHeight = static_cast<std::int16_t>(cellHeight);
    entry.advanceX = static_cast<std::int16_t>(slot->advance.x >> 6);
    entry.advanceY = static_cast<std::int16_t>(slot->advance.y >> 6);
    entry.left = static_cast<std::int16_t>(slot->bitmap_left);
    entry.top = static_cast<std::int16_t>(slot->bitmap_top);
    entry.character = static_cast<std::uint8_t>(aCharacter);
}

bool FontAtlasBuilder::StrokeOutline(std::uint32_t aCharacter, void*& aGlyphOut)
{
    aGlyphOut = nullptr;
    if (FT_Load_Char(myFace, aCharacter, FT_LOAD_NO_BITMAP) != 0)
    {
        return false;
    }
    FT_Glyph glyph = nullptr;
    if (FT_Get_Glyph(myFace->glyph, &glyph) != 0)
    {
        return false;
    }
    FT_Stroker stroker = nullptr;
    if (FT_Stroker_New(myLibrary, &stroker) != 0)
    {
        FT_Done_Glyph(glyph);
        return false;
    }
    FT_Stroker_Set(stroker, static_cast<FT_Fixed>(myBorder) * 64, FT_STROKER_LINECAP_ROUND,
                   FT_STROKER_LINEJOIN_ROUND, 0);
    // On success each call replaces the glyph and destroys the old one; on failure the glyph stays ours.
    const bool stroked = FT_Glyph_StrokeBorder(&glyph, stroker, 0, 1) == 0 &&
                         FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0 &&
                         glyph->format == FT_GLYPH_FORMAT_BITMAP;
    FT_Stroker_Done(stroker);
    if (!stroked)
    {
        FT_Done_Glyph(glyph);
        return false;
    }
    aGlyphOut = glyph;
    return true;
}

void FontAtlasBuilder::RenderGlyphOutline(std::uint32_t aCharacter, int aX, int aY)
{
    void* stroked = nullptr;
    if (!StrokeOutline(aCharacter, stroked))
    {
        return;
    }
    FT_Glyph glyph = static_cast<FT_Glyph>(stroked);
    const FT_Bitmap& bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph)->bitmap;
    const BlankEdges edges = FindOutlineBlankEdges(aCharacter);
    const int left = edges.dx + aX;
    const int top = edges.dy + aY;
    const bool fits =
        bitmap.width > 0 && InsideAtlas(left, top) &&
        InsideAtlas(left + static_cast<int>(bitmap.width) - 1, top + static_cast<int>(bitmap.rows) - 1);
    if (fits)
    {
        for (unsigned row = 0; row < bitmap.rows; ++row)
        {
            for (unsigned column = 0; column < bitmap.width; ++column)
            {
                Texel(myFont, left + static_cast<int>(column), top + static_cast<int>(row)) =
                    static_cast<std::uint32_t>(Coverage(bitmap, column, row)) << 24;
            }
        }
    }
    FT_Done_Glyph(glyph);
}

BlankEdges FontAtlasBuilder::FindBlankEdges(const FT_Bitmap& aBitmap)
{
    BlankEdges edges;
    if (aBitmap.width == 0 || aBitmap.rows == 0 || aBitmap.buffer == nullptr)
    {
        return edges;
    }
    bool firstColumnBlank = true;
    for (unsigned row = 0; row < aBitmap.rows && firstColumnBlank; ++row)
    {
        firstColumnBlank = Coverage(aBitmap, 0, row) == 0;
    }
    bool firstRowBlank = true;
    for (unsigned column = 0; column < aBitmap.width && firstRowBlank; ++column)
    {
        firstRowBlank = Coverage(aBitmap, column, 0) == 0;
    }
    edges.dx = firstColumnBlank ? -1 : 0;
    edges.dy = firstRowBlank ? -1 : 0;
    return edges;
}

BlankEdges FontAtlasBuilder::FindOutlineBlankEdges(std::uint32_t aCharacter)
{
    void* stroked = nullptr;
    if (!StrokeOutline(aCharacter, stroked))
    {
        return {};
    }
    FT_Glyph glyph = static_cast<FT_Glyph>(stroked);
    const BlankEdges edges = FindBlankEdges(reinterpret_cast<FT_BitmapGlyph>(glyph)->bitmap);
    FT_Done_Glyph(glyph);
    return edges;
}
} // namespace Qel::impl
