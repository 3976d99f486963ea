// The stack of screens that drives the game's flow. It owns every menu state, runs and draws the top
// one (and what lies under an overlay; nothing while hidden), applies pops at the next Update, reads the
// UI layout and dialogue documents, and starts the menu music once the splash is gone. It is the game's
// flow: what gameplay and the world share with the screens lives in its GameFlow part. One lives for the
// whole program; the process-wide instance is the one Init was last called on, and is cleared when that stack
// is destroyed. Main thread only.
#pragma once

#include "Session/GameFlow.h"

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

// A layout or dialogue document that could not be read; what() names the file and the reason.
class SettingsDocumentError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class StateStack : public GameFlow
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
    void PopToIndex(int aIndex) override;
    // Every state asks to be removed: one goes each Update until the stack is empty.
    void DeactivateAll();
    // Nothing while the results are already on top.
    void PushLevelEndResults(const LevelEndResultData& aData) override;
    // The level select gives up the level it was starting; a stack above it is popped down to it.
    void ReturnToLevelSelect() override;

    void SetFullscreen(bool aIsFullscreen);
    bool IsFullscreen() const { return myIsFullscreen; }
    bool IsGamePaused() const override;

    const nlohmann::json& GetUISettings() const { return myUISettings; }

    static StateStack* GetInstance();

    int GetSize() const override { return static_cast<int>(myStates.size()); }
    // The state at aIndex (0 is the bottom); null outside the stack.
    MenuState* GetState(int aIndex) const;

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
    std::int32_t myPendingPopToIndex = -1;
    nlohmann::json myUISettings;
    std::int32_t myTopIndex = 0;
    std::function<void()> myOnUnloadScene;
    std::function<void()> myOnReloadScene;
    bool myIsMutedForSplash = false;
    bool myIsMenuMusicStarted = false;
    std::vector<std::unique_ptr<MenuState>> myStates;
};

// The parsed JSON document at aPath (relative to the working folder); comments are not allowed. Throws
// SettingsDocumentError naming the file and the reason when it is missing or malformed.
nlohmann::json ReadSettingsDocument(const std::string& aPath);
