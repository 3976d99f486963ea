// The player's scripted walks of the cut-scenes, and the resets of a respawn and a scene load.
#include "Player/PlayerController.h"

namespace
{
constexpr float SCRIPTED_WALK_ARRIVAL_SQUARED = 100.0f;
constexpr float RESPAWN_LIFT = 1.0f;
} // namespace

void PlayerController::EndScriptedWalk()
{
    myIsScriptedWalkActive = false;
    myScriptedWalkTarget = Qel::Vector3<float>();
    myScriptedWalkSpeed = 0.0f;
}

void PlayerController::StepScriptedWalk(float anAmount)
{
    const Qel::Vector3<float> position = GetPosition();
    const Qel::Vector3<float> toTarget = myScriptedWalkTarget - position;
    const float distance = toTarget.Length();
    Qel::Vector3<float> moved = position;
    if (distance > 0.0f)
    {
        moved = position + toTarget * (anAmount / distance);
    }
    SetPosition(moved);
    if ((myScriptedWalkTarget - moved).LengthSqr() < SCRIPTED_WALK_ARRIVAL_SQUARED)
    {
        SetPosition(myScriptedWalkTarget);
        EndScriptedWalk();
    }
}

void PlayerController::MoveTo(const Qel::Vector3<float>& aTarget, float anAmount)
{
    if (!myIsScriptedWalkActive)
    {
        myIsScriptedWalkActive = true;
        myScriptedWalkTarget = aTarget;
        myScriptedWalkSpeed = anAmount;
        return;
    }
    myScriptedWalkTarget = aTarget;
    StepScriptedWalk(anAmount);
}

void PlayerController::FinishMoveTo()
{
    if (myIsScriptedWalkActive)
    {
        SetPosition(myScriptedWalkTarget);
        EndScriptedWalk();
    }
}

void PlayerController::ResetMotion()
{
    myCurrentMaxSpeed = myEffectiveMaxSpeed;
    myCurrentTerminalVelocity = myTuning.terminalVelocity;
    myCurrentGravity = myTuning.gravity;
    myJumpsLeft = myMaxJumps;
    myHorizontalVelocity = 0.0f;
    myVerticalVelocity = 0.0f;
    myIsSprinting = false;
    myIsGroundPounding = false;
    myWalkedDistance = 0.0f;
}

void PlayerController::Respawn(const Qel::Vector3<float>& aPosition, bool aIsFacingRight)
{
    SetPosition(aPosition + Qel::Vector3<float>(0.0f, RESPAWN_LIFT, 0.0f));
    ResetMotion();
    myCurrentMaxSpeed = myTuning.maxSpeed;
    SetContact(SIDE_LEFT_WALL, false);
    SetContact(SIDE_RIGHT_WALL, false);
    SetContact(SIDE_GROUND, true);
    RefreshSnapshot();
    SetFacingRight(aIsFacingRight);
    RefreshOwnerAfterRespawn();
}

void PlayerController::ResetToIdle()
{
    myIsFrozen = true;
    ResetMotion();
    myCurrentMaxSpeed = myTuning.maxSpeed;
    for (const int side : {SIDE_GROUND, SIDE_CEILING, SIDE_LEFT_WALL, SIDE_RIGHT_WALL})
    {
        SetContact(side, false);
    }
    if (ReturnAnimatorToIdle())
    {
        myIsInputLocked = false;
    }
    myTimeSinceContact = 0.0f;
    myGroundPoundTimer = 0.0f;
    myJumpBufferTimer = -1.0f;
    ResetWallJumpWindow();
    myWallSlideEffectTimer = 0.0f;
    EndScriptedWalk();
    RefreshSnapshot();
}

void PlayerController::ResetMovement()
{
    ResetMotion();
    myCurrentMaxSpeed = myTuning.maxSpeed;
    myIsFrozen = false;
    myStartUpTimer = 0.0f;
}
