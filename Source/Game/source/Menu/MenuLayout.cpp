#include "Menu/MenuLayout.h"

#include "Menu/MenuState.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/graphics/TextureManager.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/text/TextService.h"

#include <cstdio>

namespace MenuLayout
{
namespace
{
void ReportMissing(const char* aKey, const char* aWhat)
{
    std::printf("[Menu] settings/UISettings.json: \"%s\" is missing or is not %s\n", aKey, aWhat);
    std::fflush(stdout);
}
} // namespace

Qel::Vector2<float> GetScreenSize()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    const Qel::Vector2<std::uint32_t> size =
        engine != nullptr ? engine->GetRenderSize() : Qel::GetEngineCreateParameters().renderSize;
    return {static_cast<float>(size.x), static_cast<float>(size.y)};
}

const nlohmann::json& Section(const nlohmann::json& aDocument, const char* aKey)
{
    static const nlohmann::json theEmpty = nlohmann::json::object();
    if (aDocument.is_object() && aDocument.contains(aKey) && aDocument.at(aKey).is_object())
    {
        return aDocument.at(aKey);
    }
    ReportMissing(aKey, "an object");
    return theEmpty;
}

Qel::Vector2<float> Vector(const nlohmann::json& aSection, const char* aKey)
{
    constexpr Qel::Vector2<float> MISSING{-1.0e30f, -1.0e30f};
    const Qel::Vector2<float> value = MenuState::ReadVector2(aSection, aKey, MISSING);
    if (value.x == MISSING.x && value.y == MISSING.y)
    {
        ReportMissing(aKey, "an object with the numbers x and y");
        return {0.0f, 0.0f};
    }
    return value;
}

float Number(const nlohmann::json& aSection, const char* aKey, float aDefault)
{
    if (aSection.is_object() && aSection.contains(aKey) && aSection.at(aKey).is_number())
    {
        return aSection.at(aKey).get<float>();
    }
    ReportMissing(aKey, "a number");
    return aDefault;
}

std::string String(const nlohmann::json& aSection, const char* aKey)
{
    if (aSection.is_object() && aSection.contains(aKey) && aSection.at(aKey).is_string())
    {
        return aSection.at(aKey).get<std::string>();
    }
    ReportMissing(aKey, "a string");
    return {};
}

const Qel::Texture* LoadTexture(const std::string& aPath)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetTextureManager() == nullptr)
    {
        return nullptr;
    }
    return engine->GetTextureManager()->GetTexture(aPath.c_str(), 1, false);
}

void PrefetchTexture(const std::string& aPath)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine != nullptr && engine->GetTextureManager() != nullptr)
    {
        engine->GetTextureManager()->PrefetchTexture(aPath.c_str(), 1);
    }
}

void PrefetchFont(int aSize)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine != nullptr && engine->GetTextService() != nullptr)
    {
        engine->GetTextService()->PrefetchFont(FONT, static_cast<std::uint32_t>(aSize), 0);
    }
}

namespace
{
void PrefetchNamedSprites(const nlohmann::json& aSection)
{
    constexpr std::string_view SUFFIX = "Sprite";
    for (const auto& [key, value] : aSection.items())
    {
        if (value.is_object())
        {
            PrefetchNamedSprites(value);
        }
        else if (value.is_string() && std::string_view(key).ends_with(SUFFIX) &&
                 !value.get_ref<const std::string&>().empty())
        {
            PrefetchTexture(SPRITE_PREFIX + value.get<std::string>());
        }
    }
}
} // namespace

void PrefetchSprites(const nlohmann::json& aDocument, const char* aKey)
{
    const auto section = aDocument.is_object() ? aDocument.find(aKey) : aDocument.end();
    if (section != aDocument.end() && section->is_object())
    {
        PrefetchNamedSprites(*section);
    }
}

bool BeginScreenPass()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetGraphicsEngine() == nullptr)
    {
        return false;
    }
    if (Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer())
    {
        backBuffer->SetAsActiveTarget();
    }
    engine->GetGraphicsEngine()->GetGraphicsStateStack().SetDefault2DCamera();
    return true;
}

void DrawSingleSprite(Qel::SpriteDrawer& aDrawer, const Qel::SpriteSharedData& aData,
                      const Qel::Sprite2DInstanceData& aSprite)
{
    Qel::SpriteBatchScope batch = aDrawer.BeginBatch(aData);
    batch.Draw2D(aSprite);
}

void PlaceSprite(Qel::Sprite2DInstanceData& aSprite, const Qel::Vector2<float>& aPosition,
                 const Qel::Vector2<float>& aSize)
{
    aSprite.position = aPosition;
    aSprite.pivot = {0.5f, 0.5f};
    aSprite.size = aSize;
    aSprite.scale = {1.0f, 1.0f};
    aSprite.color = {1.0f, 1.0f, 1.0f, 1.0f};
}
} // namespace MenuLayout
