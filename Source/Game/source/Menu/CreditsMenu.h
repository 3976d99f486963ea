// The credits screen opened from the title's Credits button: a full-screen background, the studio
// logo, the team's roles with the names under each, and a Back button. Back (button, Enter, pad A or a
// click) closes it; Escape or pad B pops back to the title. Layout from the "CreaditSettings" section
// of the UI document. Main thread only.
#pragma once

#include "Menu/MenuState.h"

#include "vek/text/Text.h"

#include <memory>
#include <vector>

class CreditsMenu : public MenuState
{
public:
    static constexpr const char* SECTION = "CreaditSettings";
    static constexpr int BACK_BUTTON_INDEX = 0;

    CreditsMenu();
    ~CreditsMenu() override;

    // Starts reading this screen's pictures and rendering its fonts, so pushing it later finds them ready.
    static void Prefetch(const nlohmann::json& aUISettings);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int aIndex) override;
    void OnButtonHeld(int aIndex) override;
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

    MenuButton* GetBackButton() const { return myBackButton.get(); }
    const std::vector<Qel::Text>& GetLines() const { return myLines; }
    const Qel::Sprite2DInstanceData& GetBackground() const { return myBackground; }
    const Qel::SpriteSharedData& GetBackgroundData() const { return myBackgroundData; }
    const Qel::Sprite2DInstanceData& GetLogo() const { return myLogo; }
    const Qel::SpriteSharedData& GetLogoData() const { return myLogoData; }

private:
    // Empties the lines and lays the title, the headings and the names out again for aScreen.
    void BuildLines(const Qel::Vector2<float>& aScreen);
    void PlaceLogo(const nlohmann::json& aSection, const Qel::Vector2<float>& aScreen);

    std::unique_ptr<MenuButton> myBackButton;
    std::vector<Qel::Text> myLines;
    Qel::Sprite2DInstanceData myBackground;
    Qel::SpriteSharedData myBackgroundData;
    Qel::Sprite2DInstanceData myLogo;
    Qel::SpriteSharedData myLogoData;
};
