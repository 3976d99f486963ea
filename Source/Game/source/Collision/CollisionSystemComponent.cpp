#include "Collision/CollisionSystemComponent.h"

#include "Components/RankSystem.h"
#include "Menu/StateStack.h"
#include "World/LevelCounters.h"
#include "World/LevelProgress.h"
#include "World/LevelRegistry.h"

CollisionSystemComponent::CollisionSystemComponent() = default;

CollisionSystemComponent::~CollisionSystemComponent()
{
    ClearRankSystem();
}

void CollisionSystemComponent::ResetForLevel()
{
    LoadCoinProgress();
    if (myRankSystem != nullptr)
    {
        myRankSystem->ResetScore();
    }
    ResetCollectedCoinCount();
    ResetCollectedKeyCount();
    ClearRankSystem();
    LevelProgress::GetProcessProgress().ResetLastRecordedScore();
}

void CollisionSystemComponent::Register(RankSystem* aRankSystem)
{
    myRankSystem = aRankSystem;
    if (StateStack* stack = StateStack::GetInstance())
    {
        stack->SetRankSystem(aRankSystem);
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
    StateStack* stack = StateStack::GetInstance();
    if (stack != nullptr && myRankSystem != nullptr && stack->GetRankSystem() == myRankSystem)
    {
        stack->SetRankSystem(nullptr);
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
