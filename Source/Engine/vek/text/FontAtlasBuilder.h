// Renders a font's glyphs and their outlines into the CPU atlas of an InternalTextAndFontData with
// FreeType, and fills its glyph table. One builder per load; it owns the face while it lives. Holds no
// GPU object, so it runs (and is tested) without a device. Any thread, with a FreeType library no other
// thread uses at the same time.
#pragma once

#include "vek/text/FontData.h"

#include <cstdint>
#include <string>

struct FT_LibraryRec_;
struct FT_FaceRec_;
struct FT_Bitmap_;

namespace Qel::impl
{
// The blank edges of a rendered bitmap: -1 where its first column (x) or first row (y) is all zero.
struct BlankEdges
{
    int dx = 0;
    int dy = 0;
};

class FontAtlasBuilder
{
public:
    FontAtlasBuilder(FT_LibraryRec_* aLibrary, InternalTextAndFontData& aFont, std::uint8_t aBorder);
    ~FontAtlasBuilder();
    FontAtlasBuilder(const FontAtlasBuilder&) = delete;
    FontAtlasBuilder& operator=(const FontAtlasBuilder&) = delete;

    // Opens the face at aPath, sizes it at aSize points on 100 dpi and renders characters 32 to 255.
    // False when FreeType cannot open or size the face or load 'x'; the atlas may then be partly filled.
    bool Build(const std::string& aPath, std::uint32_t aSize);

    // Places character aCharacter's bitmap at the cursor, or leaves its entry zero when it does not fit.
    void RenderGlyph(std::uint32_t aCharacter);
    // Writes the stroked outline of aCharacter with its top left at (aX, aY), where it fits wholly.
    void RenderGlyphOutline(std::uint32_t aCharacter, int aX, int aY);
    static BlankEdges FindBlankEdges(const FT_Bitmap_& aBitmap);
    BlankEdges FindOutlineBlankEdges(std::uint32_t aCharacter);

private:
    // The stroked outline's bitmap of aCharacter in aGlyphOut; false when FreeType fails.
    bool StrokeOutline(std::uint32_t aCharacter, void*& aGlyphOut);

    FT_LibraryRec_* myLibrary;
    FT_FaceRec_* myFace = nullptr;
    InternalTextAndFontData& myFont;
    std::uint8_t myBorder;
    int myCursorX = 2;
    int myCursorY = 2;
    int myNextRowY = 0;
};
} // namespace Qel::impl
