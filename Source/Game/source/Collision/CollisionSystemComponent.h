// The script on the world's persistent "CollisionSystem" object that applies the level's collision
// rules. Until those rules arrive it keeps the player it is given, the level's rank system (the level's
// own, or a default one it owns) and the level's entry in the progress file. Main thread.
#pragma once

#include "Objects/ScriptComponent.h"

#include <memory>

class RankSystem;

class CollisionSystemComponent : public ScriptComponent
{
public:
    CollisionSystemComponent();
    ~CollisionSystemComponent() override;

    void SetPlayer(GameObject* aPlayer) { myPlayer = aPlayer; }
    GameObject* GetPlayer() const { return myPlayer; }

    // After a level is composed: the progress file loaded once, the pickup counters and the score back
    // to 0, and no rank system until the level's is found or a default one is made.
    void ResetForLevel();

    // The level's own rank system, from its "RankingSystem" object; registered with the state stack.
    void UseLevelRankSystem(RankSystem* aRankSystem);
    // Without a rank system of the level's own: a default one, owned here, registered with the stack.
    RankSystem& UseDefaultRankSystem();
    RankSystem* GetRankSystem() const { return myRankSystem; }
    // No rank system, here or on the stack.
    void ClearRankSystem();

    void LoadCoinProgress();
    void SaveCoinProgress();
    // The current level's score and collected keys into the progress file, where they improve on it.
    void RecordLevelProgress();

private:
    void Register(RankSystem* aRankSystem);

    GameObject* myPlayer = nullptr;
    RankSystem* myRankSystem = nullptr;
    std::unique_ptr<RankSystem> myDefaultRankSystem;
};
