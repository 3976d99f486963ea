// One loaded font: a face at one size and outline width, rendered once for the characters 32 to 255
// into a 1024 x 1024 RGBA image, with the glyph table that lays strings out over it. Built whole by the
// text service and never changed afterwards; shared by every text that uses it. Main thread.
#pragma once

#include "vek/Math/Vector2.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Qel
{
class Texture;

constexpr std::int32_t FONT_ATLAS_SIZE = 1024;
constexpr std::size_t FONT_GLYPH_COUNT = 1024;
constexpr std::uint32_t FIRST_ATLAS_CHARACTER = 32;
constexpr std::uint32_t LAST_ATLAS_CHARACTER = 255;

// Where one character sits in the atlas and how it moves the pen. All zero for a character that is not
// in the atlas.
struct GlyphEntry
{
    Vector2<float> uvStart;
    Vector2<float> uvEnd;
    std::int16_t cellWidth = 0;
    std::int16_t cellHeight = 0;
    std::int16_t advanceX = 0;
    std::int16_t advanceY = 0;
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::uint8_t character = 0;
};

class InternalTextAndFontData
{
public:
    InternalTextAndFontData();
    ~InternalTextAndFontData();
    InternalTextAndFontData(const InternalTextAndFontData&) = delete;
    InternalTextAndFontData& operator=(const InternalTextAndFontData&) = delete;

    // Indexed by a character's byte value.
    std::array<GlyphEntry, FONT_GLYPH_COUNT> glyphs{};
    // Extra advance of a space, in pixels.
    std::int32_t spaceExtra = 0;
    // The requested size as a signed 16-bit value.
    std::int32_t size = 0;
    // The atlas image as built, texel R in the lowest byte, row 0 at the top.
    std::vector<std::uint32_t> pixels;
    // The cache key.
    std::string name;
    // The atlas as the sprite drawer takes it; null until uploaded.
    std::unique_ptr<Texture> atlasRef;
};
} // namespace Qel
