// Where gameplay and the world meet the screens, so that neither includes a menu. The values that
// gameplay writes and the screens read (the game-state code, the running level's rank system, the
// dialogue document, the credits-film flag, the frame's time and the hidden flag) are kept here; the
// calls that change the screens (the results, going back down the stack) are the state stack's, which
// implements them. The current flow is the stack Init was last called on, and none while no stack runs.
// Main thread.
#pragma once

#include "Session/GameState.h"

#include <nlohmann/json.hpp>

class RankSystem;

class GameFlow
{
public:
    // Null while no stack runs, as when the program quits from inside a level.
    static GameFlow* GetCurrent();

    virtual ~GameFlow();
    GameFlow(const GameFlow&) = delete;
    GameFlow& operator=(const GameFlow&) = delete;

    // Nothing while the results are already on top.
    virtual void PushLevelEndResults(const LevelEndResultData& aData) = 0;
    // Pops down to aIndex at the next Update; the last call before it wins.
    virtual void PopToIndex(int aIndex) = 0;
    // Back on the level select when a load fails, whether or not it has pushed the HUD yet.
    virtual void ReturnToLevelSelect() = 0;
    virtual bool IsGamePaused() const = 0;
    // How many screens are stacked: the title alone is one.
    virtual int GetSize() const = 0;

    GameState GetGameState() const { return myGameState; }
    void SetGameState(GameState aGameState) { myGameState = aGameState; }
    // The running level's rank system; not owned, and null while no level runs.
    RankSystem* GetRankSystem() const { return myRankSystem; }
    void SetRankSystem(RankSystem* aRankSystem) { myRankSystem = aRankSystem; }
    const nlohmann::json& GetDialogues() const { return myDialogues; }
    bool ShouldPlayCreditsVideo() const { return myShouldPlayCreditsVideo; }
    void SetPlayCreditsVideo(bool aShouldPlay) { myShouldPlayCreditsVideo = aShouldPlay; }
    float GetDeltaTime() const { return myDeltaTime; }
    void SetDeltaTime(float aDeltaTime) { myDeltaTime = aDeltaTime; }
    // While hidden, the screens take the frame's time and draw nothing.
    void SetHidden(bool aIsHidden) { myIsHidden = aIsHidden; }
    bool IsHidden() const { return myIsHidden; }

protected:
    GameFlow() = default;
    static void SetCurrent(GameFlow* aFlow);

    GameState myGameState = GameStateCode::TITLE_MENU;
    RankSystem* myRankSystem = nullptr;
    nlohmann::json myDialogues;
    bool myShouldPlayCreditsVideo = false;
    float myDeltaTime = 0.0f;
    bool myIsHidden = false;
};
