#include "Scripted/CutsceneComponent.h"

#include "Objects/GameObject.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Player/PlayerScriptedStates.h"
#include "Player/PlayerStates.h"
#include "Scripted/LockCameraTriggerComponent.h"

namespace
{
PlayerAnimator* FindAnimator(PlayerController* aPlayer)
{
    return aPlayer == nullptr || aPlayer->GetOwner() == nullptr
               ? nullptr
               : aPlayer->GetOwner()->GetComponent<PlayerAnimator>();
}

void Call(const std::function<void()>& aHook)
{
    if (aHook)
    {
        aHook();
    }
}
} // namespace

void CutsceneComponent::Play()
{
    if (myIsFinished)
    {
        if (myName == "Eye")
        {
            Call(myHooks.rearmEye);
        }
        return;
    }
    if (myIsPlaying || myPlayer == nullptr || myLockTrigger == nullptr)
    {
        return;
    }
    myElapsed = 0.0f;
    myIsPlaying = true;
    myPlayer->LockInput();
    StartAction();
}

void CutsceneComponent::StartAction()
{
    PlayerAnimator* animator = FindAnimator(myPlayer);
    if (myName == "Intro")
    {
        if (animator != nullptr)
        {
            animator->ChangeState(new PlayerIntroState());
        }
        if (myBirgil != nullptr)
        {
            myBirgil->SetActive(false);
        }
    }
    else if (myName == "Eye")
    {
        Call(myHooks.activateEye);
    }
    else if (myName == "Boss")
    {
        if (animator != nullptr)
        {
            animator->ChangeState(new PlayerIdleState());
        }
        Call(myHooks.startBossEntrance);
    }
    else if (myName == "Outro")
    {
        if (animator != nullptr)
        {
            animator->ChangeState(new PlayerOutroState());
        }
    }
}

void CutsceneComponent::OnUpdate(float aDeltaTime)
{
    // Segments wait for Play: with the default start delay of 0 they would otherwise walk the player
    // as soon as the level starts.
    if (myIsFinished || !myIsPlaying || myPlayer == nullptr || myLockTrigger == nullptr)
    {
        return;
    }
    myElapsed += aDeltaTime;
    UpdateSegment(0);
    UpdateSegment(1);
    if (myElapsed > myDuration)
    {
        Finish();
    }
}

void CutsceneComponent::UpdateSegment(int anIndex)
{
    Segment& segment = mySegments[anIndex];
    if (!segment.shouldWalk)
    {
        return;
    }
    if (!segment.isStarted && myElapsed >= segment.startDelay)
    {
        if (anIndex == 1)
        {
            myPlayer->FinishMoveTo();
            mySegments[0].shouldWalk = false;
        }
        // One call per segment: the controller advances the walk itself, frame by frame.
        const Qel::Vector3<float> end =
            segment.isLocal ? myPlayer->GetOwner()->GetTransform().GetPosition() + segment.endPosition
                            : segment.endPosition;
        myPlayer->MoveTo(end, myWalkSpeed);
        segment.isStarted = true;
    }
    if (segment.isStarted && myElapsed > segment.startDelay + segment.duration)
    {
        myPlayer->FinishMoveTo();
        segment.shouldWalk = false;
    }
}

void CutsceneComponent::Finish()
{
    if (mySegments[0].shouldWalk || mySegments[1].shouldWalk)
    {
        myPlayer->FinishMoveTo();
    }
    myPlayer->UnlockInput();
    if (myShouldUnlockOnEnd)
    {
        myLockTrigger->ReleaseLock();
    }
    if (myName == "Intro" && myPlayer->IsPreSpirit())
    {
        myPlayer->LeavePreSpirit();
    }
    myIsPlaying = false;
    myIsFinished = true;
}
