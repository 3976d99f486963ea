// The title screen, always the bottom state of the stack: a background, the title picture, a footer
// line and four buttons (Start, Settings, Credits, Quit) chosen with W/S, the pad's d-pad or the mouse.
// The stack initialises it again whenever it is on top once more; the chosen button is kept. Main
// thread only.
#pragma once

#include "Menu/MenuState.h"
#include "vek/text/Text.h"

#include <memory>
#include <vector>

class MainMenu : public MenuState
{
public:
    enum Button
    {
        BUTTON_START = 0,
        BUTTON_SETTINGS = 1,
        BUTTON_CREDITS = 2,
        BUTTON_QUIT = 3,
    };

    static constexpr int FOOTER_TEXT_SIZE = 12;

    // Starts reading the title's pictures and rendering its fonts, so building it finds them ready.
    static void Prefetch(const nlohmann::json& aUISettings);

    MainMenu();
    ~MainMenu() override;

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int) override {}
    void OnButtonHeld(int) override {}
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

    int GetSelectedIndex() const { return mySelectedIndex; }
    bool AreButtonsHidden() const { return myAreButtonsHidden; }
    const std::vector<std::unique_ptr<MenuButton>>& GetButtons() const { return myButtons; }
    MenuButton* GetSelectedButton() const { return mySelectedButton; }
    const Qel::Sprite2DInstanceData& GetTitle() const { return myTitle; }

private:
    void Layout(const nlohmann::json& aUISettings, bool aLoadPictures);
    void Select(int aIndex);

    int mySelectedIndex = 0;
    MenuButton* mySelectedButton = nullptr;
    bool myAreButtonsHidden = false;
    std::vector<std::unique_ptr<MenuButton>> myButtons;
    Qel::Sprite2DInstanceData myTitle;
    Qel::SpriteSharedData myTitleData;
    Qel::Sprite2DInstanceData myBackground;
    Qel::SpriteSharedData myBackgroundData;
    Qel::Text myFooter;
};
