#include "vek/text/TextService.h"

#include "vek/graphics/Texture.h"
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
    // The tasks hold their own FreeType libraries; their futures wait for them here.
    myPrefetchedFonts.clear();
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

    const auto prefetched = myPrefetchedFonts.find(key);
    if (prefetched != myPrefetchedFonts.end())
    {
        std::shared_ptr<InternalTextAndFontData> font = prefetched->second.get();
        myPrefetchedFonts.erase(prefetched);
        // Made off the GL context: the texture is due now, so a refusal shows as a direct load's would.
        if (font != nullptr && font->atlasRef != nullptr && font->atlasRef->myView->Realise() != 0)
        {
            myFonts[key] = font;
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

void TextService::PrefetchFont(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder)
{
    const std::string key = MakeFontKey(aPath, aSize, aBorder);
    const auto cached = myFonts.find(key);
    if (aSize == 0xFFFFFFFFu || (cached != myFonts.end() && !cached->second.expired()) ||
        myPrefetchedFonts.count(key) != 0)
    {
        return;
    }
    const std::string resolved = ResolveAssetPath(aPath);
    auto load = [resolved, key, aSize, aBorder]() -> std::shared_ptr<InternalTextAndFontData>
    {
        FT_Library library = nullptr;
        if (resolved.empty() || FT_Init_FreeType(&library) != 0)
        {
            return nullptr;
        }
        auto font = std::make_shared<InternalTextAndFontData>();
        font->size = static_cast<std::int16_t>(aSize);
        font->name = key;
        bool isBuilt = false;
        {
            impl::FontAtlasBuilder builder(library, *font, aBorder);
            isBuilt = builder.Build(resolved, aSize);
        }
        FT_Done_FreeType(library);
        return isBuilt && impl::UploadFontAtlas(*font) ? font : nullptr;
    };
    myPrefetchedFonts.emplace(key, std::async(std::launch::async, std::move(load)));
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
