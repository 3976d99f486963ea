#include "Menu/GameMenu.h"

#include "Base/InputHandler.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/MenuLayout.h"
#include "Menu/SettingMenu.h"
#include "Menu/StateStack.h"
#include "Session/LevelCounters.h"
#include "vek/input/XInputController.h"
#include "vek/video/Video.h"

#include <string>

namespace
{
constexpr int HUD_TEXT_SIZE = 36;
constexpr float TEXT_OFFSET_X = 64.0f;
constexpr float TEXT_OFFSET_Y = 0.0175f;

const Qel::Texture* LoadSectionSprite(const nlohmann::json& aSection, const char* aKey)
{
    return MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(aSection, aKey));
}
} // namespace

GameMenu::GameMenu()
    : myCoinText(MenuLayout::FONT, HUD_TEXT_SIZE, 0), myHealthText(MenuLayout::FONT, HUD_TEXT_SIZE, 0)
{
}

float GameMenu::KeyAspect(float aWidth, float aHeight)
{
    return aWidth > 0.0f ? aHeight / aWidth : 1.0f;
}

void GameMenu::Prefetch(const nlohmann::json& aUISettings)
{
    for (const char* section : {"CoinSettings", "HealthSettings", "KeySettings"})
    {
        MenuLayout::PrefetchSprites(aUISettings, section);
    }
    MenuLayout::PrefetchFont(HUD_TEXT_SIZE);
}

void GameMenu::Init(StateStack& aStack, const nlohmann::json& aUISettings)
{
    myStack = &aStack;
    aStack.SetGameState(GameStateCode::PLAYING);
    myCoinIconData.texture = LoadSectionSprite(MenuLayout::Section(aUISettings, "CoinSettings"), "Sprite");
    myHealthIconData.texture =
        LoadSectionSprite(MenuLayout::Section(aUISettings, "HealthSettings"), "Sprite");
    const nlohmann::json& keys = MenuLayout::Section(aUISettings, "KeySettings");
    myKeyData.texture = LoadSectionSprite(keys, "KeySprite");
    myEmptyKeyData.texture = LoadSectionSprite(keys, "KeyEmptySprite");
    Layout(aUISettings);
    RefreshTexts();
    // The results screen ends the level; it reads ahead while the level is played.
    LevelEndResultsMenu::Prefetch(aUISettings);
}

void GameMenu::OnResolutionChanged(const nlohmann::json& aUISettings)
{
    Layout(aUISettings);
}

void GameMenu::Layout(const nlohmann::json& aUISettings)
{
    const Qel::Vector2<float> screen = MenuLayout::GetScreenSize();
    const auto placeIcon = [&screen](const nlohmann::json& aSection, Qel::Vector2<float>& aPosition,
                                     Qel::Sprite2DInstanceData& anIcon, Qel::Text& aText)
    {
        aPosition = MenuLayout::Vector(aSection, "Position");
        const Qel::Vector2<float> size = MenuLayout::Vector(aSection, "Size");
        MenuLayout::PlaceSprite(anIcon, {aPosition.x * screen.x, aPosition.y * screen.y},
                                {size.x * screen.y, size.y * screen.y});
        aText.SetPosition({aPosition.x * screen.x + TEXT_OFFSET_X, (aPosition.y - TEXT_OFFSET_Y) * screen.y});
        aText.SetColor({1.0f, 1.0f, 1.0f, 1.0f});
    };
    placeIcon(MenuLayout::Section(aUISettings, "CoinSettings"), myCoinPosition, myCoinIcon, myCoinText);
    placeIcon(MenuLayout::Section(aUISettings, "HealthSettings"), myHealthPosition, myHealthIcon,
              myHealthText);

    const nlohmann::json& keys = MenuLayout::Section(aUISettings, "KeySettings");
    myKeyPosition = MenuLayout::Vector(keys, "Position");
    myKeySpacing = MenuLayout::Number(keys, "Spacing", 0.01f);
    const Qel::Vector2<float> size = MenuLayout::Vector(keys, "Size");
    Qel::Vector2<std::uint32_t> pixels{0, 0};
    if (myKeyData.texture != nullptr)
    {
        pixels = Qel::GetTextureSize(*myKeyData.texture);
    }
    const float aspect = KeyAspect(static_cast<float>(pixels.x), static_cast<float>(pixels.y));
    for (int slot = 0; slot < KEY_SLOTS; ++slot)
    {
        Qel::Sprite2DInstanceData& icon = myKeyIcons[slot];
        const Qel::Vector2<float> iconSize{size.x * screen.y, size.y * aspect * screen.y};
        const float step = myKeySpacing * screen.x + iconSize.x;
        MenuLayout::PlaceSprite(
            icon, {myKeyPosition.x * screen.x + static_cast<float>(slot) * step, myKeyPosition.y * screen.y},
            iconSize);
    }
}

void GameMenu::RefreshTexts()
{
    myCoinText.SetText("x " + std::to_string(GetCollectedCoinCount()));
    myHealthText.SetText(std::to_string(GetPlayerHealth()) + " / 2");
}

void GameMenu::Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse)
{
    static_cast<void>(aMouse);
    Qel::XInputController& pad = GetMenuPad();
    pad.Refresh();
    if ((aInput.IsKeyPressed(MenuInput::KEY_ESCAPE) || pad.IsNewPressed(MenuInput::PAD_START)) &&
        myStack != nullptr)
    {
        myStack->PushState(new SettingMenu(true));
    }
    RefreshTexts();
    if (GetCollectedKeyCount() != myShownKeyCount)
    {
        myShownKeyCount = GetCollectedKeyCount();
    }
}

void GameMenu::Render(Qel::SpriteDrawer& aDrawer)
{
    if (!MenuLayout::BeginScreenPass())
    {
        return;
    }
    MenuLayout::DrawSingleSprite(aDrawer, myHealthIconData, myHealthIcon);
    myHealthText.Render();
    MenuLayout::DrawSingleSprite(aDrawer, myCoinIconData, myCoinIcon);
    myCoinText.Render();
    for (int slot = 0; slot < KEY_SLOTS; ++slot)
    {
        MenuLayout::DrawSingleSprite(aDrawer, IsKeySlotFilled(slot) ? myKeyData : myEmptyKeyData,
                                     myKeyIcons[slot]);
    }
}
