// The player controller's construction, tuning and start-up, and what it is told of: contacts, knockback,
// landings and locks.
#include "Player/PlayerController.h"

#include "Components/AnimatedMeshComponent.h"
#include "Objects/GameObject.h"
#include "Session/LevelRegistry.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float FIRST_LEVEL_SPEED_SCALE = 0.6f;
constexpr float FIRST_LEVEL_JUMP_SCALE = 0.75f;
constexpr float LANDING_HEIGHT_CHANGE = 20.0f;
constexpr float CEILING_PUSH_DOWN = 10.0f;
constexpr float CEILING_BOUNCE_DIVISOR = 5.0f;
} // namespace

PlayerController::PlayerController(InputHandler* anInputHandler) : myInput(anInputHandler)
{
}

PlayerController::PlayerController(InputHandler* anInputHandler, Platform::PadBackend& aPadBackend)
    : myInput(anInputHandler, aPadBackend)
{
}

void PlayerController::SetMaxSpeed(float aSpeed)
{
    myTuning.maxSpeed = aSpeed;
    myEffectiveMaxSpeed = aSpeed;
    myCurrentMaxSpeed = aSpeed;
}

void PlayerController::SetSprintMultiplier(float aMultiplier)
{
    myTuning.sprintMultiplier = aMultiplier;
    myCurrentSprintMultiplier = aMultiplier;
}

void PlayerController::SetTerminalVelocity(float aSpeed)
{
    myTuning.terminalVelocity = aSpeed;
    myCurrentTerminalVelocity = aSpeed;
}

void PlayerController::SetGravity(float aGravity)
{
    myTuning.gravity = aGravity;
    myCurrentGravity = aGravity;
}

void PlayerController::SetJumpForce(float aForce)
{
    myTuning.jumpForce = aForce;
    myJumpForce = aForce;
}

void PlayerController::OnContact(int aSide)
{
    if (aSide == SIDE_CEILING)
    {
        Qel::Vector3<float> position = GetPosition();
        position.y -= CEILING_PUSH_DOWN;
        SetPosition(position);
        myVerticalVelocity = -myCurrentTerminalVelocity / CEILING_BOUNCE_DIVISOR;
        return;
    }
    if (aSide == SIDE_LEFT_WALL || aSide == SIDE_RIGHT_WALL)
    {
        myHorizontalVelocity = 0.0f;
        myCurrentGravity = myTuning.gravity;
        myIsScriptedWalkActive = false;
    }
    else if (aSide == SIDE_GROUND)
    {
        if (!IsGrounded())
        {
            const bool wasAirborne = IsAirborne();
            const bool wasPounding = myIsGroundPounding;
            const float y = GetPosition().y;
            const bool landingCounts =
                !myHasLanded || std::abs(y - myLastLandingHeight) >= LANDING_HEIGHT_CHANGE;

            myCurrentSprintMultiplier = myTuning.sprintMultiplier;
            myVerticalVelocity = 0.0f;
            myCurrentGravity = myTuning.gravity;
            SetContact(SIDE_LEFT_WALL, false);
            SetContact(SIDE_RIGHT_WALL, false);
            if (wasPounding)
            {
                myHorizontalVelocity = 0.0f;
                myIsSprinting = false;
                myCurrentMaxSpeed = myEffectiveMaxSpeed;
                myCurrentTerminalVelocity = myTuning.terminalVelocity;
                myWalkedDistance = 0.0f;
                myJumpsLeft = myMaxJumps;
            }
            myIsGroundPounding = false;
            myGroundPoundTimer = 0.0f;

            const bool jumpsAtOnce =
                myJumpBufferTimer > 0.0f && myJumpBufferTimer < myTuning.forgivingTimingDelay;
            if (jumpsAtOnce)
            {
                Jump();
            }
            myJumpBufferTimer = -1.0f;

            if (wasAirborne && landingCounts)
            {
                SpawnEffect(wasPounding ? "player_ground_pound" : "player_land");
                myLastLandingHeight = y;
                myHasLanded = true;
            }
            else
            {
                myLandingImpact = PendingLandingImpact();
            }
            myWallJumpTimer = -1.0f;
            myLastWallKey = WALL_KEY_NONE;
            myHasJumpedFromGround = false;
            if (jumpsAtOnce)
            {
                // The player has left the ground again: marking it grounded would hold it there.
                return;
            }
        }
    }
    else
    {
        return;
    }
    myJumpsLeft = myMaxJumps;
    SetContact(aSide, true);
}

void PlayerController::ClearContact(int aSide)
{
    SetContact(aSide, false);
}

void PlayerController::SetGrounded()
{
    SetContact(SIDE_LEFT_WALL, false);
    SetContact(SIDE_RIGHT_WALL, false);
    myIsGroundPounding = false;
    SetContact(SIDE_GROUND, true);
}

void PlayerController::ApplyKnockback(const Qel::Vector3<float>& aVelocity)
{
    if (myIsFrozen)
    {
        return;
    }
    if ((aVelocity.x < 0.0f && !IsTouching(SIDE_LEFT_WALL)) ||
        (aVelocity.x > 0.0f && !IsTouching(SIDE_RIGHT_WALL)))
    {
        myHorizontalVelocity = aVelocity.x;
    }
    if ((aVelocity.y < 0.0f && !IsGrounded()) || (aVelocity.y > 0.0f && !IsTouching(SIDE_CEILING)))
    {
        myVerticalVelocity = aVelocity.y;
    }
}

void PlayerController::SetLandingImpact(GameObject* anObject, float aSpeed, bool aWasGroundPound)
{
    if (anObject != nullptr)
    {
        myLandingImpact = {true, anObject, aSpeed, aWasGroundPound};
    }
}

bool PlayerController::ConsumeLandingImpact(GameObject*& outObject, float& outSpeed, bool& outWasGroundPound)
{
    if (!myLandingImpact.isPresent)
    {
        return false;
    }
    outObject = myLandingImpact.object;
    outSpeed = myLandingImpact.speed;
    outWasGroundPound = myLandingImpact.wasGroundPound;
    myLandingImpact = PendingLandingImpact();
    return true;
}

void PlayerController::LockInput()
{
    myIsInputLocked = true;
    myIsSprinting = false;
    myCurrentMaxSpeed = myEffectiveMaxSpeed;
}

void PlayerController::LeavePreSpirit()
{
    myEffectiveMaxSpeed = myTuning.maxSpeed;
    myCurrentMaxSpeed = myTuning.maxSpeed;
    myJumpForce = myTuning.jumpForce;
    myIsPreSpirit = false;
}

void PlayerController::Init(Qel::Engine* anEngine)
{
    static_cast<void>(anEngine);
    myInput.OpenPad();
    myMesh = myOwner != nullptr ? myOwner->GetComponent<AnimatedMeshComponent>() : nullptr;
    myHorizontalVelocity = 0.0f;
    myVerticalVelocity = 0.0f;
    myIsSprinting = false;
    myIsGroundPounding = false;
    myGroundPoundTimer = 0.0f;
    myWalkedDistance = 0.0f;
    myFootstepDistance = FOOTSTEP_DISTANCE;
    myWallSlideEffectTimer = 0.0f;
    myWallSlideEffectInterval = WALL_SLIDE_EFFECT_INTERVAL;
    myLandingImpact = PendingLandingImpact();
    myTimeSinceContact = 0.0f;
    myJumpBufferTimer = -1.0f;
    myWallJumpWindow = WALL_JUMP_WINDOW;
    ResetWallJumpWindow();
    myMaxJumps = 1;
    myJumpsLeft = 1;
    myStartUpTimer = 0.0f;
    myStartUpDelay = START_UP_DELAY;
    for (const int side : {SIDE_GROUND, SIDE_CEILING, SIDE_LEFT_WALL, SIDE_RIGHT_WALL})
    {
        myContacts.try_emplace(side, false);
    }
    if (LevelRegistry::GetInstance().GetCurrentScene() == FIRST_LEVEL_PATH)
    {
        myEffectiveMaxSpeed = myTuning.maxSpeed * FIRST_LEVEL_SPEED_SCALE;
        myJumpForce = myTuning.jumpForce * FIRST_LEVEL_JUMP_SCALE;
        myIsPreSpirit = true;
    }
    else
    {
        myEffectiveMaxSpeed = myTuning.maxSpeed;
        myJumpForce = myTuning.jumpForce;
        myIsPreSpirit = false;
    }
    myCurrentMaxSpeed = myEffectiveMaxSpeed;
}

void PlayerController::OnStart()
{
    TakeTransform();
}
