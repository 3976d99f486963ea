// The collision system's side of the score: the level's rank system, registered with the game's flow for
// the results screen, and the score and keys recorded into the progress file.
#include "Rules/CollisionSystemComponent.h"

#include "Session/GameFlow.h"
#include "Session/LevelCounters.h"
#include "Session/LevelProgress.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"

void CollisionSystemComponent::Register(RankSystem* aRankSystem)
{
    myRankSystem = aRankSystem;
    if (GameFlow* flow = GameFlow::GetCurrent())
    {
        flow->SetRankSystem(aRankSystem);
    }
}

void CollisionSystemComponent::UseLevelRankSystem(RankSystem* aRankSystem)
{
    Register(aRankSystem);
}

RankSystem& CollisionSystemComponent::UseDefaultRankSystem()
{
    myDefaultRankSystem = std::make_unique<RankSystem>();
    Register(myDefaultRankSystem.get());
    return *myDefaultRankSystem;
}

void CollisionSystemComponent::ClearRankSystem()
{
    GameFlow* flow = GameFlow::GetCurrent();
    if (flow != nullptr && myRankSystem != nullptr && flow->GetRankSystem() == myRankSystem)
    {
        flow->SetRankSystem(nullptr);
    }
    myRankSystem = nullptr;
    myDefaultRankSystem.reset();
}

void CollisionSystemComponent::LoadCoinProgress()
{
    LevelProgress::GetProcessProgress().LoadCoinProgress();
}

void CollisionSystemComponent::SaveCoinProgress()
{
    LevelProgress::GetProcessProgress().SaveCoinProgress();
}

void CollisionSystemComponent::RecordLevelProgress()
{
    if (myRankSystem == nullptr)
    {
        return;
    }
    LevelProgress::GetProcessProgress().RecordLevelProgress(
        LevelRegistry::GetInstance().GetCurrentScene(), myRankSystem->GetScoreText(), GetCollectedKeyCount());
}
