// The stack of screens that drives the game's flow. It owns every menu state, runs and draws the top
// one (and what lies under an overlay), applies pops at the next Update, keeps the game-state code the
// world reads, holds the UI layout and dialogue documents, and starts the menu music once the splash is
// gone. One lives for the whole program; the process-wide instance is the one Init was last called on,
// and is cleared when that stack is destroyed. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

namespace Qel
{
class SpriteDrawer;
}

class InputHandler;
class MenuState;
class RankSystem;

// The game-state code the world reads and the menus and the world write.
using GameState = std::int32_t;

namespace GameStateCode
{
inline constexpr GameState TITLE_MENU = 0;
inline constexpr GameState CREDITS = 1;
inline constexpr GameState LEVEL_SELECT = 2;
inline constexpr GameState SCENE_CHANGE_REQUESTED = 3;
inline constexpr GameState PLAYING = 4;
inline constexpr GameState IN_GAME_SETTINGS = 5;
inline constexpr GameState LEVEL_RESULTS = 6;
} // namespace GameStateCode

// What the level end hands to the results screen.
struct LevelEndResultData
{
    std::string currentLevel;
    // Empty when no level follows.
    std::string nextLevel;
    std::int32_t score = 0;
};

// A layout or dialogue document that could not be read; what() names the file and the reason.
class SettingsDocumentError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class StateStack
{
public:
    static constexpr const char* UI_SETTINGS_PATH = "settings/UISettings.json";
    static constexpr const char* DIALOGUES_PATH = "settings/Dialogues.json";

    StateStack();
    ~StateStack();
    StateStack(const StateStack&) = delete;
    StateStack& operator=(const StateStack&) = delete;

    // Becomes the process-wide stack, reads both documents from the working folder, and stacks the title
    // menu with the splash above it. Throws SettingsDocumentError when a document is missing or is not
    // JSON; the stack then holds no state.
    void Init();
    // One frame of the top state. False once the stack is empty: the game ends.
    bool Update(InputHandler& aInput);
    // The top state, preceded by the states an overlay lets show, with the engine's sprite drawer.
    void Render();
    void Render(Qel::SpriteDrawer& aDrawer);

    // Initialises the state with this stack first, then stacks it. Takes ownership.
    void PushState(MenuState* aState);
    // Pops down to aIndex at the next Update; the last call before it wins.
    void PopToIndex(int aIndex);
    // Every state asks to be removed: one goes each Update until the stack is empty.
    void DeactivateAll();
    // Nothing while the results are already on top.
    void PushLevelEndResults(const LevelEndResultData& aData);

    void SetFullscreen(bool aIsFullscreen);
    bool IsFullscreen() const { return myIsFullscreen; }
    // While hidden, Update only takes the frame's time and Render draws nothing.
    void SetHidden(bool aIsHidden) { myIsHidden = aIsHidden; }
    bool IsHidden() const { return myIsHidden; }
    bool IsGamePaused() const;

    GameState GetGameState() const { return myGameState; }
    void SetGameState(GameState aGameState) { myGameState = aGameState; }

    const nlohmann::json& GetUISettings() const { return myUISettings; }
    const nlohmann::json& GetDialogues() const { return myDialogues; }

    static StateStack* GetInstance();

    bool ShouldPlayCreditsVideo() const { return myShouldPlayCreditsVideo; }
    void SetPlayCreditsVideo(bool aShouldPlay) { myShouldPlayCreditsVideo = aShouldPlay; }
    // The running level's rank system; not owned, and null while no level runs.
    RankSystem* GetRankSystem() const { return myRankSystem; }
    void SetRankSystem(RankSystem* aRankSystem) { myRankSystem = aRankSystem; }

    int GetSize() const { return static_cast<int>(myStates.size()); }
    // The state at aIndex (0 is the bottom); null outside the stack.
    MenuState* GetState(int aIndex) const;
    float GetDeltaTime() const { return myDeltaTime; }
    void SetDeltaTime(float aDeltaTime) { myDeltaTime = aDeltaTime; }

    void SetOnUnloadScene(std::function<void()> aCallback) { myOnUnloadScene = std::move(aCallback); }
    void SetOnReloadScene(std::function<void()> aCallback) { myOnReloadScene = std::move(aCallback); }
    void InvokeUnloadScene();
    void InvokeReloadScene();

private:
    // Deletes the top state; a copy of the callbacks a state might hold stays valid meanwhile.
    void RemoveTop();
    void InitState(MenuState& aState);
    void RenderState(Qel::SpriteDrawer& aDrawer, int aIndex);
    void UpdateMenuMusic();

    bool myIsFullscreen = false;
    bool myIsHidden = false;
    GameState myGameState = GameStateCode::TITLE_MENU;
    std::int32_t myPendingPopToIndex = -1;
    nlohmann::json myUISettings;
    nlohmann::json myDialogues;
    std::int32_t myTopIndex = 0;
    float myDeltaTime = 0.0f;
    std::function<void()> myOnUnloadScene;
    std::function<void()> myOnReloadScene;
    bool myIsMutedForSplash = false;
    bool myIsMenuMusicStarted = false;
    std::vector<std::unique_ptr<MenuState>> myStates;
    bool myShouldPlayCreditsVideo = false;
    RankSystem* myRankSystem = nullptr;
};

// The parsed JSON document at aPath (relative to the working folder); comments are not allowed. Throws
// SettingsDocumentError naming the file and the reason when it is missing or malformed.
nlohmann::json ReadSettingsDocument(const std::string& aPath);
