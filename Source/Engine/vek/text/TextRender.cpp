#include "vek/Core/Engine.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/text/Text.h"
#include "vek/text/TextLayout.h"
#include "vek/text/TextService.h"

#include <cmath>

namespace Qel
{
namespace
{
// Fonts this size and larger are drawn with linear filtering, smaller ones with point filtering.
constexpr std::int32_t LINEAR_FILTER_FONT_SIZE = 18;

SpriteDrawer* FindSpriteDrawer()
{
    const Engine* engine = Engine::GetInstance();
    const GraphicsEngine* graphics = engine != nullptr ? engine->GetGraphicsEngine() : nullptr;
    return graphics != nullptr && graphics->HasSpriteDrawer() ? &graphics->GetSpriteDrawer() : nullptr;
}

Vector2<float> RotateAbout(const Vector2<float>& aPoint, const Vector2<float>& aCentre, float anAngle)
{
    const float cosine = std::cos(anAngle);
    const float sine = std::sin(anAngle);
    const Vector2<float> offset = aPoint - aCentre;
    return Vector2<float>(offset.x * cosine - offset.y * sine + aCentre.x,
                          offset.x * sine + offset.y * cosine + aCentre.y);
}
} // namespace

bool TextService::RenderText(const Text& aText, SpriteShader* aShader) const
{
    const InternalTextAndFontData* font = aText.GetFont();
    if (font == nullptr || font->atlasRef == nullptr)
    {
        return false;
    }
    SpriteDrawer* drawer = FindSpriteDrawer();
    GraphicsStateStack* stack = GraphicsStateStack::GetActive();
    if (drawer == nullptr || stack == nullptr)
    {
        return false;
    }
    const std::string text = aText.GetText();
    const float scale = aText.GetScale();
    const float rotation = aText.GetRotation();
    const Vector2<float> centre =
        rotation != 0.0f ? impl::MeasureTextBox(*font, text, scale).GetCentre() : Vector2<float>();

    SpriteSharedData shared;
    shared.texture = font->atlasRef.get();
    shared.shader = aShader;
    shared.alphaMode = 0;
    shared.alphaTestThreshold = 0.5f;

    stack->Push();
    // The batch sets its own filter on the state it pushes, so this choice is the text's intent only.
    stack->SetSamplerState(font->size >= LINEAR_FILTER_FONT_SIZE ? 1 : 0, 0);
    {
        SpriteBatchScope batch = drawer->BeginBatch(shared);
        impl::LayOutText(*font, text, scale,
                         [&](const impl::LaidOutGlyph& aGlyph)
                         {
                             Sprite2DInstanceData instance;
                             const Vector2<float> corner = rotation != 0.0f
                                                               ? RotateAbout(aGlyph.corner, centre, rotation)
                                                               : aGlyph.corner;
                             instance.position = corner + aText.GetPosition();
                             instance.pivot = Vector2<float>(0.0f, 0.0f);
                             instance.size =
                                 Vector2<float>(static_cast<float>(aGlyph.entry->cellWidth) * scale,
                                                static_cast<float>(aGlyph.entry->cellHeight) * scale);
                             instance.scale = Vector2<float>(1.0f, 1.0f);
                             instance.color = aText.GetColor();
                             instance.uvStart = aGlyph.entry->uvStart;
                             instance.uvEnd = aGlyph.entry->uvEnd;
                             instance.rotation = rotation;
                             instance.isHidden = false;
                             batch.Draw2D(instance);
                         });
    }
    stack->Pop();
    return true;
}
} // namespace Qel
