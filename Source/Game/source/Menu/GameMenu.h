// The heads-up display over a running level: health with " / 2", coins with "x ", and two key slots
// that show filled or empty keys. It does not pause the world; Escape or the pad's Start opens the
// in-game settings overlay above it. Main thread only.
#pragma once

#include "Menu/MenuState.h"
#include "vek/text/Text.h"

class GameMenu : public MenuState
{
public:
    static constexpr int KEY_SLOTS = 2;

    GameMenu();

    // Starts reading this screen's pictures and rendering its fonts, so pushing it later finds them ready.
    static void Prefetch(const nlohmann::json& aUISettings);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int) override {}
    void OnButtonHeld(int) override {}
    void OnButtonPressed(int) override {}
    void SelectNext() override {}
    void SelectPrevious() override {}

    const Qel::Sprite2DInstanceData& GetCoinIcon() const { return myCoinIcon; }
    const Qel::Sprite2DInstanceData& GetKeyIcon(int aSlot) const { return myKeyIcons[aSlot]; }
    const Qel::Text& GetCoinText() const { return myCoinText; }
    const Qel::Text& GetHealthText() const { return myHealthText; }
    // Whether slot aSlot shows a filled key.
    bool IsKeySlotFilled(int aSlot) const { return aSlot + 1 <= myShownKeyCount; }
    // Height over width of a key picture of that size; 1 for a picture of unknown width.
    static float KeyAspect(float aWidth, float aHeight);

private:
    void Layout(const nlohmann::json& aUISettings);
    void RefreshTexts();

    Qel::Vector2<float> myCoinPosition;
    Qel::Sprite2DInstanceData myCoinIcon;
    Qel::SpriteSharedData myCoinIconData;
    Qel::Text myCoinText;
    Qel::Vector2<float> myHealthPosition;
    Qel::Sprite2DInstanceData myHealthIcon;
    Qel::SpriteSharedData myHealthIconData;
    Qel::Text myHealthText;
    Qel::Vector2<float> myKeyPosition;
    Qel::Sprite2DInstanceData myKeyIcons[KEY_SLOTS];
    Qel::SpriteSharedData myKeyData;
    Qel::SpriteSharedData myEmptyKeyData;
    int myShownKeyCount = 0;
    float myKeySpacing = 0.01f;
};
