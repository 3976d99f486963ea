#include "vek/text/FontData.h"

#include "vek/graphics/Texture.h"

namespace Qel
{
InternalTextAndFontData::InternalTextAndFontData()
    : pixels(static_cast<std::size_t>(FONT_ATLAS_SIZE) * static_cast<std::size_t>(FONT_ATLAS_SIZE), 0u)
{
}

InternalTextAndFontData::~InternalTextAndFontData() = default;
} // namespace Qel
