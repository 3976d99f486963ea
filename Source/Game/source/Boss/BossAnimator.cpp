#include "Boss/BossAnimator.h"

#include "Boss/BossStates.h"
#include "Components/AnimatedMeshComponent.h"
#include "Objects/GameObject.h"
#include "Session/BonusLevel.h"
#include "Session/LevelRegistry.h"
#include "vek/Core/Assert.h"
#include "vek/Core/Profiler.h"

#include <algorithm>
#include <cmath>
#include <iostream>

BossAnimator::BossAnimator(float aTimeToMove, const Qel::Vector3<float>& aKnockbackForce)
    : myKnockbackForce(aKnockbackForce), myTimeToMove(aTimeToMove)
{
}

BossAnimator::~BossAnimator()
{
    ExitCurrentState();
}

void BossAnimator::SetDestinations(const std::vector<Qel::Vector3<float>>& aDestinations)
{
    myDestinationIndex = -1;
    myDestinations = aDestinations;
}

void BossAnimator::StartEntrance()
{
    std::cout << "Start entrance" << std::endl;
    ChangeState(new BossEntranceState());
}

void BossAnimator::OnDamaged()
{
    if (dynamic_cast<BossHurtState*>(GetCurrentState()) != nullptr)
    {
        return;
    }
    --myHitsLeft;
    if (myHitsLeft <= 0)
    {
        ChangeState(new BossDeathState());
    }
    else
    {
        ChangeState(new BossHurtState());
        myMoveTimer = 0.0f;
        if (myOwner != nullptr)
        {
            myMoveStart = myOwner->GetTransform().GetPosition();
        }
        ++myDestinationIndex;
    }
    ReleaseStage(myDestinationIndex);
}

void BossAnimator::OnStart()
{
    const Qel::ProfilerScope scope("BossAnimator::CreateAnimationPlayers");
    myOwnerTransform = myOwner != nullptr ? &myOwner->GetTransform() : nullptr;
    if (LinkAnimatedMesh() == nullptr)
    {
        QEL_ASSERT(myAnimatedMesh != nullptr);
        return;
    }
    if (!CreatePlayersForClips())
    {
        return;
    }
    if (LevelRegistry::GetInstance().GetCurrentScene() == BONUS_LEVEL_PATH)
    {
        PlayAnimation(BossClip::DANCE);
        return;
    }
    if (GetCurrentState() == nullptr)
    {
        ChangeState(new BossIdleState());
    }
}

void BossAnimator::OnUpdate(float aDeltaTime)
{
    Animator::OnUpdate(aDeltaTime);
    if (!myIsMoveDone)
    {
        UpdateMove(aDeltaTime);
    }
}

void BossAnimator::ReleaseStage(int anIndex)
{
    if (anIndex >= 0 && static_cast<std::size_t>(anIndex) < myStageReleases.size() &&
        myStageReleases[anIndex])
    {
        myStageReleases[static_cast<std::size_t>(anIndex)]();
    }
}

void BossAnimator::UpdateMove(float aDeltaTime)
{
    if (myOwnerTransform == nullptr && myOwner != nullptr)
    {
        myOwnerTransform = &myOwner->GetTransform();
    }
    if (myOwnerTransform == nullptr || myDestinationIndex < 0 ||
        static_cast<std::size_t>(myDestinationIndex) >= myDestinations.size())
    {
        // Nowhere to go: the move is over before it began.
        myIsMoveDone = true;
        return;
    }
    const Qel::Vector3<float>& destination = myDestinations[static_cast<std::size_t>(myDestinationIndex)];
    myMoveTimer += aDeltaTime;
    // A time of 0 or less is an instant move, and the glide never passes its destination, so a long
    // frame cannot skip the arrival band and send the boss on for ever.
    const float fraction = myTimeToMove > 0.0f ? std::clamp(myMoveTimer / myTimeToMove, 0.0f, 1.0f) : 1.0f;
    const Qel::Vector3<float> position = myMoveStart + (destination - myMoveStart) * fraction;
    myOwnerTransform->SetPosition(position);
    if (std::abs(position.x - destination.x) <= ARRIVAL_BAND_X || fraction >= 1.0f)
    {
        myIsMoveDone = true;
    }
}
