// The settings screen, and in a level the pause menu: an overlay with the master-volume slider, the
// mute and full-screen boxes and Back; in a level also Back to Title and Quit Game, and it pauses the
// game while on top. W/S move the focus, A/D move the knob a pixel a frame, Enter or pad A acts, Escape
// or pad B closes. Main thread only.
#pragma once

#include "Menu/CheckBox.h"
#include "Menu/MenuButton.h"
#include "Menu/MenuState.h"
#include "Menu/Slider.h"

#include <memory>
#include <vector>

class SettingMenu : public MenuState
{
public:
    enum Focus
    {
        FOCUS_VOLUME = 0,
        FOCUS_MUTE = 1,
        FOCUS_FULLSCREEN = 2,
        FOCUS_BACK = 3,
        FOCUS_BACK_TO_TITLE = 4,
        FOCUS_QUIT = 5,
    };
    enum Button
    {
        BUTTON_BACK = 0,
        BUTTON_BACK_TO_TITLE = 1,
        BUTTON_QUIT = 2,
    };
    static constexpr int MUTE_BOX_ID = 0;
    static constexpr int FULLSCREEN_BOX_ID = 1;

    explicit SettingMenu(bool aIsInGame);
    ~SettingMenu() override;

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int) override {}
    void OnButtonHeld(int) override {}
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

    void ToggleMute(CheckBox& aBox);
    void ToggleWindowMode();

    int GetFocus() const { return myFocus; }
    bool IsInGame() const { return myIsInGame; }
    Slider* GetSlider() const { return myVolumeSlider.get(); }
    const std::vector<std::unique_ptr<CheckBox>>& GetCheckBoxes() const { return myCheckBoxes; }
    const std::vector<std::unique_ptr<MenuButton>>& GetButtons() const { return myButtons; }
    const Qel::Sprite2DInstanceData& GetContainer() const { return myContainer; }

private:
    void Layout(const nlohmann::json& aUISettings);
    int GetLastFocus() const { return myIsInGame ? FOCUS_QUIT : FOCUS_BACK; }
    // Moves the knob one pixel left (-1) or right (+1) within the value's range.
    void NudgeKnob(int aDirection);

    int myFocus = FOCUS_VOLUME;
    bool myIsInGame;
    Qel::Sprite2DInstanceData myContainer;
    Qel::SpriteSharedData myContainerData;
    std::vector<std::unique_ptr<MenuButton>> myButtons;
    std::unique_ptr<Slider> myVolumeSlider;
    std::vector<std::unique_ptr<CheckBox>> myCheckBoxes;
};
