// A string placed on screen: binds a font from the engine's text service to bytes, a position, a colour,
// a scale and a rotation. Measuring and drawing belong to the text service. Holds a share of its font,
// so texts of one font, size and outline share one atlas. Main thread.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"

#include <memory>
#include <string>

namespace Qel
{
class TextService;
class InternalTextAndFontData;

class Text
{
public:
    // The font from the engine's text service; a text made without an engine has no service and no font.
    // aBorderSize is the outline width in pixels; 0 draws no outline.
    Text(const char* aFontPath, int aFontSize, unsigned char aBorderSize);
    // The same with a service of the caller's.
    Text(TextService* aService, const char* aFontPath, int aFontSize, unsigned char aBorderSize);

    void SetText(const std::string& aText);
    std::string GetText() const { return myText; }
    void SetPosition(const Vector2<float>& aPosition) { myPosition = aPosition; }
    Vector2<float> GetPosition() const { return myPosition; }
    void SetColor(const Color& aColor) { myColor = aColor; }
    Color GetColor() const { return myColor; }
    void SetScale(float aScale) { myScale = aScale; }
    float GetScale() const { return myScale; }
    void SetRotation(float aRotation) { myRotation = aRotation; }
    float GetRotation() const { return myRotation; }

    // The text service's measures; 0 without a service.
    float GetWidth() const;
    float GetHeight() const;
    // Draws through the sprite drawer's default sprite shader; nothing without a service.
    void Render() const;

    // Null when the font failed to load.
    const InternalTextAndFontData* GetFont() const { return myFont.get(); }

private:
    TextService* myService = nullptr;
    std::shared_ptr<InternalTextAndFontData> myFont;
    std::string myText;
    Vector2<float> myPosition;
    float myScale = 1.0f;
    // Radians, about the centre of the laid-out text.
    float myRotation = 0.0f;
    Color myColor{1.0f, 1.0f, 1.0f, 1.0f};
};
} // namespace Qel
