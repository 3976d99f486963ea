// The results screen shown when a level's exit sequence ends: a full-screen rank picture chosen by the
// score, the rank text, a score that counts up, and the buttons Next Level (when a level follows),
// Retry and Return to Menu. It pauses the game. Layout from the "LevelEndResults" section of the UI
// settings. Main thread only.
#pragma once

#include "Menu/MenuState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Qel
{
class Text;
}

class LevelEndResultsMenu : public MenuState
{
public:
    static constexpr const char* SECTION = "LevelEndResults";
    static constexpr const char* FALLBACK_SPRITE = "sprites/S_MenuScreen_T.dds";
    static constexpr int RETURN_TO_MENU_BUTTON = 0;
    static constexpr int RETRY_BUTTON = 1;
    static constexpr int NEXT_LEVEL_BUTTON = 2;

    // A negative score counts as 0; an empty next level means none follows.
    LevelEndResultsMenu(std::string aLevelPath, std::string aNextLevelPath, std::int32_t aScore);
    ~LevelEndResultsMenu() override;

    // Starts reading this screen's pictures and rendering its fonts, so pushing it later finds them ready.
    static void Prefetch(const nlohmann::json& aUISettings);

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override;
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override;
    void Render(Qel::SpriteDrawer& aDrawer) override;
    void OnResolutionChanged(const nlohmann::json& aUISettings) override;
    void OnButtonDown(int aIndex) override { static_cast<void>(aIndex); }
    void OnButtonHeld(int aIndex) override { static_cast<void>(aIndex); }
    void OnButtonPressed(int aIndex) override;
    void SelectNext() override;
    void SelectPrevious() override;

    // The layout key of the rank picture: "BadSprite" below aBad, "GoodSprite" at or above anOk, else
    // "OkSprite".
    static const char* GetRankSpriteKey(int aScore, int aBad, int anOk);

    // Seconds since some fixed moment; the engine's total time unless replaced.
    void SetClock(std::function<float()> aClock) { myClock = std::move(aClock); }

    const std::string& GetLevelPath() const { return myLevelPath; }
    const std::string& GetNextLevelPath() const { return myNextLevelPath; }
    std::int32_t GetScore() const { return myScore; }
    std::int32_t GetShownScore() const { return myShownScore; }
    float GetCountUpSeconds() const { return myCountUpSeconds; }
    // "sprites/" and the rank picture's name as last laid out.
    const std::string& GetRankSpritePath() const { return myRankSpritePath; }
    std::string GetResultText() const;
    std::string GetScoreText() const;
    int GetButtonCount() const { return static_cast<int>(myButtons.size()); }
    // Button indices in list order.
    std::vector<int> GetButtonIndices() const;
    // Null when there are no buttons.
    const MenuButton* GetCurrentButton() const { return myCurrentButton; }

private:
    void LoadLayout(const nlohmann::json& aUISettings);
    void AddButton(const nlohmann::json& aSection, const char* aKey, int anIndex,
                   const Qel::Vector2<float>& aScreen);
    void Select(int aListIndex);
    void RefreshScoreText();
    float Now() const;

    std::string myLevelPath;
    std::string myNextLevelPath;
    bool myHasNextLevel;
    std::int32_t myScore;
    std::int32_t myShownScore = 0;
    float myCountUpSeconds = 1.5f;
    float myElapsed = 0.0f;
    float myLastTime = 0.0f;
    int myBadThreshold = 50;
    int myOkThreshold = 120;
    int mySelectedIndex = 0;
    MenuButton* myCurrentButton = nullptr;
    std::vector<std::unique_ptr<MenuButton>> myButtons;
    Qel::Sprite2DInstanceData myRankSprite;
    Qel::SpriteSharedData myRankSpriteData;
    std::string myRankSpritePath;
    Qel::Vector2<float> myResultTextPosition{0.5f, 0.75f};
    Qel::Vector2<float> myScoreTextPosition{0.5f, 0.15f};
    std::unique_ptr<Qel::Text> myResultText;
    std::unique_ptr<Qel::Text> myScoreText;
    std::function<float()> myClock;
};
