#include "Menu/ButtonMenuLayout.h"

#include "Menu/MenuLayout.h"
#include "Menu/MenuState.h"

MenuButton* BuildLayoutButton(int aIndex, const nlohmann::json& aLayout, const Qel::Vector2<float>& aScreen,
                              const char* aCaption)
{
    auto* button = new MenuButton(aIndex);
    const Qel::Vector2<float> position = ScaleVector2(MenuLayout::Vector(aLayout, "Position"), aScreen);
    MenuLayout::PlaceSprite(button->GetPosition(), position,
                            ScaleVector2(MenuLayout::Vector(aLayout, "Size"), aScreen));
    button->GetSpriteData().texture =
        MenuLayout::LoadTexture(MenuLayout::SPRITE_PREFIX + MenuLayout::String(aLayout, "Sprite"));
    button->GetLabel().SetText(aCaption != nullptr ? std::string(aCaption)
                                                   : MenuLayout::String(aLayout, "Text"));
    PlaceLabel(button->GetLabel(), position);
    return button;
}
