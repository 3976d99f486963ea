#include "Menu/MenuState.h"

#include "Base/InputHandler.h"
#include "Menu/MenuButton.h"
#include "Session/LevelProgress.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/TextureManager.h"
#include "vek/input/XInputController.h"

#include <cstdio>

namespace
{
constexpr std::uint32_t SOUND_HOVER = 0;
constexpr std::uint32_t SOUND_BUTTON_SELECT = 1;
constexpr const char* DEFAULT_HIGHLIGHT_SPRITE = "SM_ButtonSelect_T.dds";
} // namespace

Qel::XInputController& GetMenuPad()
{
    static Qel::XInputController pad = []
    {
        Qel::XInputController made;
        made.deadZoneX = 0.05f;
        made.deadZoneY = 0.02f;
        return made;
    }();
    return pad;
}

Qel::Vector2<float> ScaleVector2(const Qel::Vector2<float>& aFirst, const Qel::Vector2<float>& aSecond)
{
    return {aFirst.x * aSecond.x, aFirst.y * aSecond.y};
}

MenuState::MenuState()
{
    myHighlight.position = {0.0f, 0.0f};
    myHighlight.pivot = {0.5f, 0.5f};
    myHighlight.size = {1.0f, 1.0f};
    myHighlightData.alphaTestThreshold = 0.5f;
}

void MenuState::SetHighlightPosition(const Qel::Vector2<float>& aPosition)
{
    myHighlight.position = aPosition;
}

void MenuState::HighlightButton(MenuButton* aButton)
{
    if (aButton != nullptr)
    {
        SetHighlightPosition(aButton->GetPosition().position);
    }
}

Qel::Vector2<float> MenuState::ReadVector2(const nlohmann::json& aJson, const char* aKey,
                                           const Qel::Vector2<float>& aFallback)
{
    if (!aJson.is_object() || !aJson.contains(aKey))
    {
        return aFallback;
    }
    const nlohmann::json& pair = aJson.at(aKey);
    if (!pair.is_object() || !pair.contains("x") || !pair.contains("y") || !pair.at("x").is_number() ||
        !pair.at("y").is_number())
    {
        return aFallback;
    }
    return {pair.at("x").get<float>(), pair.at("y").get<float>()};
}

void MenuState::LoadSelectionHighlight(Qel::Engine& aEngine, const nlohmann::json& aUISettings,
                                       const Qel::Vector2<float>& aScreen, const std::string& aPrefix)
{
    if (!aUISettings.is_object() || !aUISettings.contains("SelectHover"))
    {
        return;
    }
    const nlohmann::json& hover = aUISettings.at("SelectHover");
    if (!hover.is_object())
    {
        std::printf("[Menu] \"SelectHover\" in %s is not an object; the highlight keeps its look\n",
                    "settings/UISettings.json");
        std::fflush(stdout);
        return;
    }
    std::string sprite = DEFAULT_HIGHLIGHT_SPRITE;
    if (hover.contains("Sprite") && hover.at("Sprite").is_string())
    {
        sprite = hover.at("Sprite").get<std::string>();
    }
    if (Qel::TextureManager* textures = aEngine.GetTextureManager())
    {
        myHighlightData.texture = textures->GetTexture((aPrefix + sprite).c_str(), 1, false);
    }
    myHighlight.pivot = ReadVector2(hover, "Pivot", {0.5f, 0.5f});
    myHighlight.size = ScaleVector2(ReadVector2(hover, "Size", {0.05f, 0.05f}), aScreen);
    myHighlight.color = {1.0f, 1.0f, 1.0f, 1.0f};
}

void MenuState::HandleButtonClick(InputHandler& aInput, MenuButton* aButton)
{
    if (aButton == nullptr)
    {
        return;
    }
    const int index = aButton->GetIndex();
    if (aInput.IsKeyPressed(MenuInput::KEY_MOUSE_LEFT) && !myIsMouseLatched)
    {
        if (index == BONUS_BUTTON_INDEX && CountProgressKeys() != BONUS_KEY_TOTAL)
        {
            return;
        }
        OnButtonDown(index);
        SoundBank::GetInstance().Play(SOUND_BUTTON_SELECT);
        myIsMouseLatched = true;
    }
    else if (aInput.IsKeyDown(MenuInput::KEY_MOUSE_LEFT) && myIsMouseLatched)
    {
        OnButtonHeld(index);
    }
    else if (aInput.IsKeyReleased(MenuInput::KEY_MOUSE_LEFT) && myIsMouseLatched)
    {
        OnButtonPressed(index);
        myIsMouseLatched = false;
    }
}

void MenuState::HoverButtons(InputHandler& aInput, const Qel::Vector2<float>& aMouse,
                             const std::vector<std::unique_ptr<MenuButton>>& someButtons,
                             const std::function<void(MenuButton&)>& aOnOver)
{
    bool isOverAny = false;
    // Indices, not iterators: a click can push a state that re-lays this menu out.
    for (std::size_t index = 0; index < someButtons.size(); ++index)
    {
        MenuButton* button = someButtons[index].get();
        if (!button->IsMouseOver(aMouse))
        {
            continue;
        }
        isOverAny = true;
        aOnOver(*button);
        HighlightButton(button);
        SoundBank::GetInstance().Play(SOUND_HOVER);
        HandleButtonClick(aInput, button);
    }
    myIsHovered = isOverAny;
    if (!isOverAny)
    {
        SoundBank::GetInstance().Stop(SOUND_HOVER);
    }
}
