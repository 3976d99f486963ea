#include "vek/text/TextService.h"

#include "vek/settings/AssetPaths.h"
#include "vek/text/FontAtlasBuilder.h"
#include "vek/text/FontAtlasUpload.h"
#include "vek/text/Text.h"
#include "vek/text/TextLayout.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Qel
{
TextService::~TextService()
{
    if (myLibrary != nullptr)
    {
        FT_Done_FreeType(static_cast<FT_Library>(myLibrary));
    }
}

int TextService::Init()
{
    if (myLibrary != nullptr)
    {
        return 0;
    }
    FT_Library library = nullptr;
    const FT_Error error = FT_Init_FreeType(&library);
    if (error != 0)
    {
        return error;
    }
    myLibrary = library;
    return 0;
}

std::string TextService::MakeFontKey(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder)
{
    std::string key = aPath;
    key += '-';
    key += std::to_string(static_cast<std::int16_t>(aSize));
    key += '-';
    key += static_cast<char>(aBorder);
    return key;
}

std::shared_ptr<InternalTextAndFontData> TextService::GetOrLoadFont(const std::string& aPath,
                                                                    std::uint32_t aSize, std::uint8_t aBorder)
{
    if (aSize == 0xFFFFFFFFu)
    {
        return nullptr;
    }
    const std::string resolved = ResolveAssetPath(aPath);
    const std::string key = MakeFontKey(aPath, aSize, aBorder);
    auto cached = myFonts.find(key);
    if (cached != myFonts.end())
    {
        if (std::shared_ptr<InternalTextAndFontData> font = cached->second.lock())
        {
            return font;
        }
    }

    auto font = std::make_shared<InternalTextAndFontData>();
    myFonts[key] = font;
    font->size = static_cast<std::int16_t>(aSize);
    font->name = key;
    {
        impl::FontAtlasBuilder builder(static_cast<FT_Library>(myLibrary), *font, aBorder);
        if (resolved.empty() || !builder.Build(resolved, aSize))
        {
            return nullptr;
        }
    }
    if (!impl::UploadFontAtlas(*font))
    {
        return nullptr;
    }
    return font;
}

float TextService::GetTextWidth(const Text& aText) const
{
    const InternalTextAndFontData* font = aText.GetFont();
    return font == nullptr ? 0.0f : impl::MeasureTextWidth(*font, aText.GetText(), aText.GetScale());
}

float TextService::GetTextHeight(const Text& aText) const
{
    const InternalTextAndFontData* font = aText.GetFont();
    return font == nullptr ? 0.0f : impl::MeasureTextHeight(*font, aText.GetText(), aText.GetScale());
}
} // namespace Qel
