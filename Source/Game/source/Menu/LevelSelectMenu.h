// The "Select Level" screen: one image button per scene file the level registry finds, laid out by the
// scene's sorted index, the total of keys collected, a hint on going back, and an indicator that slides
// onto the chosen level before the HUD is pushed. S/down select the previous button and W/up the next;
// the bonus level (index 4) opens only with exactly 12 keys. Main thread only.
#pragma once

#include "Menu/MenuButton.h"
#include "Menu/MenuState.h"
#include "Session/LevelRegistry.h"
#include "vek/text/Text.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

class LevelSelectMenu : public MenuState
{
public:
    static constexpr int LAYOUT_KEY_COUNT = 9;
    static constexpr int TITLE_TEXT_SIZE = 36;
    static constexpr int HINT_TEXT_SIZE = 24;
    static constexpr float DEFAULT_LERP_SECONDS = 0.2f;
    static constexpr float MIN_LERP_SECONDS = 0.01f;

    LevelSelectMenu();
    ~LevelSelectMenu() override;

    // Starts reading this screen's pictures, rendering its fonts and walking the levels folder, so pushing
    // it later finds them ready.
    static void Prefetch(const nlohmann::json& aUISettings);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int) override {}
    void OnButtonHeld(int) override {}
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

    // One laid-out button per entry of aLevels, appended with its path.
    static void BuildLevelButtons(const std::vector<LevelEntry>& aLevels, const nlohmann::json& aUISettings,
                                  const Qel::Vector2<float>& aScreen,
                                  std::vector<std::unique_ptr<MenuButton>>& aButtons,
                                  std::vector<std::string>& aPaths);
    // Drops a choice whose level could not be loaded: the slide stops and pushes no HUD.
    void CancelLevelStart();

    // The layout key of scene index aIndex; null from 9 up.
    static const char* GetButtonKey(int aIndex);
    // The keys of every level in the progress file, read again on each call.
    static int CountCollectedKeys();

    // The level chosen last in this run; it outlives the menu.
    static int GetLastSelectedLevel();
    static void SetLastSelectedLevel(int aIndex);

    int GetFocus() const { return myFocus; }
    bool IsMoving() const { return myIsMoving; }
    MenuButton* GetSelectedButton() const { return mySelectedButton; }
    const std::vector<std::unique_ptr<MenuButton>>& GetButtons() const { return myButtons; }
    const std::vector<std::string>& GetPaths() const { return myPaths; }
    const Qel::Sprite2DInstanceData& GetIndicator() const { return myIndicator; }
    const Qel::Text& GetKeysText() const { return myKeysText; }
    // Where the indicator rests on button aIndex: its left edge at mid-height, plus the offset.
    Qel::Vector2<float> GetIndicatorAnchor(int aIndex) const;

private:
    void PlaceTexts(const nlohmann::json& aSection, const Qel::Vector2<float>& aScreen);
    void LayoutIndicator(const nlohmann::json& aSection, const Qel::Vector2<float>& aScreen);
    void Select(int aFocus);

    int myFocus = 0;
    MenuButton* mySelectedButton = nullptr;
    int myCurrentLevelIndex = 0;
    int myPendingIndex = -1;
    bool myIsMoving = false;
    float myLerpSeconds = DEFAULT_LERP_SECONDS;
    float mySlideElapsed = 0.0f;
    float myLastTime = 0.0f;
    Qel::Vector2<float> myIndicatorStart;
    Qel::Vector2<float> myIndicatorTarget;
    Qel::Vector2<float> myIndicatorOffset;
    Qel::Text myTitleText;
    Qel::Text myHintText;
    std::vector<std::unique_ptr<MenuButton>> myButtons;
    std::vector<std::string> myPaths;
    Qel::Text myKeysText;
    Qel::Sprite2DInstanceData myBackground;
    Qel::SpriteSharedData myBackgroundData;
    Qel::Sprite2DInstanceData myIndicator;
    Qel::SpriteSharedData myIndicatorData;
    // Waited for when the menu goes, so the task never outlives the menus.
    std::future<void> myDefinitionsWarmUp;
};
