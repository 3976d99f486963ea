#include "vek/text/TextLayout.h"

#include <algorithm>
#include <limits>

namespace Qel::impl
{
namespace
{
constexpr float SMALLEST_NORMAL = std::numeric_limits<float>::min();
constexpr float LARGEST = std::numeric_limits<float>::max();
} // namespace

float MeasureTextWidth(const InternalTextAndFontData& aFont, std::string_view aText, float aScale)
{
    if (aText.empty())
    {
        return 0.0f;
    }
    float width = SMALLEST_NORMAL;
    LayOutText(aFont, aText, aScale,
               [&width](const LaidOutGlyph& aGlyph)
               { width = std::max(width, aGlyph.corner.x + static_cast<float>(aGlyph.entry->cellWidth)); });
    return width;
}

float MeasureTextHeight(const InternalTextAndFontData& aFont, std::string_view aText, float aScale)
{
    if (aText.empty())
    {
        return 0.0f;
    }
    float height = SMALLEST_NORMAL;
    LayOutText(aFont, aText, aScale,
               [&height](const LaidOutGlyph& aGlyph) {
                   height = std::max(height, aGlyph.corner.y + static_cast<float>(aGlyph.entry->cellHeight));
               });
    return height;
}

TextBox MeasureTextBox(const InternalTextAndFontData& aFont, std::string_view aText, float aScale)
{
    TextBox box{Vector2<float>(LARGEST, LARGEST), Vector2<float>(SMALLEST_NORMAL, SMALLEST_NORMAL)};
    LayOutText(aFont, aText, aScale,
               [&box](const LaidOutGlyph& aGlyph)
               {
                   box.min.x = std::min(box.min.x, aGlyph.corner.x);
                   box.min.y = std::min(box.min.y, aGlyph.corner.y);
                   box.max.x =
                       std::max(box.max.x, aGlyph.corner.x + static_cast<float>(aGlyph.entry->cellWidth));
                   box.max.y =
                       std::max(box.max.y, aGlyph.corner.y + static_cast<float>(aGlyph.entry->cellHeight));
               });
    return box;
}
} // namespace Qel::impl
