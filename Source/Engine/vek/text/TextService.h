// Text on FreeType: owns the FreeType library for the engine's lifetime and a cache of loaded fonts.
// Each font is one face at one size and outline width, rendered once into a glyph atlas; texts share a
// font while any of them holds it, and a request after the last one let go loads it afresh. Measuring
// and drawing lay a text out the same way; drawing goes through the sprite drawer. Main thread; a
// prefetched font is rendered on a task with a FreeType library of the task's own.
#pragma once

#include "vek/text/FontData.h"

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <unordered_map>

namespace Qel
{
class Text;
class SpriteShader;

class TextService
{
public:
    TextService() = default;
    ~TextService();
    TextService(const TextService&) = delete;
    TextService& operator=(const TextService&) = delete;

    // Starts the FreeType library; FreeType's error code, 0 when it started.
    int Init();
    bool IsStarted() const { return myLibrary != nullptr; }

    // The font for a path (resolved under the asset roots), size in points at 100 dpi and outline width
    // in pixels; empty when FreeType or the device fails. aSize with all bits set gives no font.
    std::shared_ptr<InternalTextAndFontData> GetOrLoadFont(const std::string& aPath, std::uint32_t aSize,
                                                           std::uint8_t aBorder);

    // Starts rendering the font's atlas and its mip chain on a task, so that the next GetOrLoadFont of it
    // only waits for that task and makes the atlas's GL texture. Nothing for a font held or on its way.
    void PrefetchFont(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder);

    // The laid-out extent of a text: the largest x + cell width (height: y + cell height) over its
    // bytes, positions scaled by the text's scale and cell sizes not; 0 for an empty text or no font.
    float GetTextWidth(const Text& aText) const;
    float GetTextHeight(const Text& aText) const;

    // Draws the text as one sprite per byte in one batch of the engine's sprite drawer, with aShader or
    // the drawer's default sprite shader. False when the text has no font or there is nothing to draw
    // with.
    bool RenderText(const Text& aText, SpriteShader* aShader) const;

    // The cache key of a font: the path, the size as a signed 16-bit number and the border byte.
    static std::string MakeFontKey(const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder);

private:
    // FreeType's library handle, kept opaque so users need no FreeType headers.
    void* myLibrary = nullptr;
    std::unordered_map<std::string, std::weak_ptr<InternalTextAndFontData>> myFonts;
    // Held until their font is first asked for; empty results when the task could not load it.
    std::unordered_map<std::string, std::future<std::shared_ptr<InternalTextAndFontData>>> myPrefetchedFonts;
};
} // namespace Qel
