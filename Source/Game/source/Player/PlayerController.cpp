// The player controller's construction, start-up and frame, its queries, and the contacts it is told of.
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

bool PlayerController::IsTouching(int aSide) const
{
    const auto found = myContacts.find(aSide);
    return found != myContacts.end() && found->second;
}

bool PlayerController::CanJump() const
{
    if (myIsGroundPounding)
    {
        return false;
    }
    if (IsGrounded())
    {
        return true;
    }
    if (myIsPreSpirit || myJumpsLeft <= 0)
    {
        return false;
    }
    if (IsTouchingWall() || IsTouching(SIDE_CEILING))
    {
        return true;
    }
    if (IsAirborne() && myTimeSinceContact < myTuning.jumpGracePeriod)
    {
        return true;
    }
    if (myJumpBufferTimer > 0.0f && myJumpBufferTimer < myTuning.forgivingTimingDelay)
    {
        return true;
    }
    return myWallJumpTimer > 0.0f && myWallJumpTimer < myWallJumpWindow;
}

bool PlayerController::IsAirborne() const
{
    return !IsGrounded() && !IsTouching(SIDE_CEILING) && !IsTouchingWall();
}

bool PlayerController::HasMoveInput() const
{
    return !myIsInputLocked && IsStartUpOver() && (myInput.IsMoveLeftHeld() || myInput.IsMoveRightHeld());
}

bool PlayerController::IsMoving() const
{
    return !myIsInputLocked && std::abs(myHorizontalVelocity) > MOTION_EPSILON && IsStartUpOver();
}

bool PlayerController::IsOnWall() const
{
    return !myIsPreSpirit && IsTouchingWall() && myVerticalVelocity < MOTION_EPSILON;
}

Qel::Transform* PlayerController::TakeTransform()
{
    if (myTransform == nullptr && myOwner != nullptr)
    {
        myTransform = &myOwner->GetTransform();
    }
    return myTransform;
}

Qel::Vector3<float> PlayerController::GetPosition()
{
    Qel::Transform* transform = TakeTransform();
    return transform != nullptr ? transform->GetPosition() : Qel::Vector3<float>();
}

void PlayerController::SetPosition(const Qel::Vector3<float>& aPosition)
{
    if (Qel::Transform* transform = TakeTransform())
    {
        transform->SetPosition(aPosition);
    }
}

void PlayerController::RefreshSnapshot()
{
    mySnapshotPosition = GetPosition();
}

void PlayerController::SpawnEffect(const std::string& anId)
{
    SpawnEffectAt(anId, GetPosition());
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

void PlayerController::Translate(const Qel::Vector3<float>& anOffset)
{
    SetPosition(GetPosition() + anOffset);
}

void PlayerController::SetFacingRight(bool aIsFacingRight)
{
    myIsFacingRight = aIsFacingRight;
    ShowFacingOnMesh();
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

void PlayerController::ResetWallJumpWindow()
{
    myWallJumpTimer = -1.0f;
    myLastWallKey = WALL_KEY_NONE;
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

void PlayerController::PollPad()
{
    if (!myInput.PollPad())
    {
        return;
    }
    const float stick = std::abs(myInput.GetLeftStickX());
    if (myIsSprinting)
    {
        myCurrentMaxSpeed = myEffectiveMaxSpeed * myCurrentSprintMultiplier;
    }
    else if (stick > PlayerInput::STICK_MOVE_THRESHOLD)
    {
        myCurrentMaxSpeed = stick * myEffectiveMaxSpeed;
    }
    else
    {
        myCurrentMaxSpeed = myEffectiveMaxSpeed;
    }
}

void PlayerController::OnUpdate(float aDeltaTime)
{
    if (myStartUpTimer < myStartUpDelay)
    {
        myStartUpTimer += aDeltaTime;
        return;
    }
    PollPad();
    RefreshSnapshot();
    if (myIsFrozen)
    {
        return;
    }
    if (myHasJumpedFromGround)
    {
        ResetWallJumpWindow();
    }
    UpdateWallSlide();

    myTimeSinceContact = IsAirborne() ? myTimeSinceContact + aDeltaTime : 0.0f;
    if (myJumpBufferTimer >= TIMER_FLOOR)
    {
        myJumpBufferTimer += aDeltaTime;
    }
    if (myWallJumpTimer >= TIMER_FLOOR)
    {
        myWallJumpTimer += aDeltaTime;
        if (myWallJumpTimer > myWallJumpWindow)
        {
            ResetWallJumpWindow();
        }
    }
    if (myWallSlideEffectTimer > 0.0f)
    {
        myWallSlideEffectTimer = std::max(myWallSlideEffectTimer - aDeltaTime, 0.0f);
    }
    if (IsGrounded())
    {
        ResetWallJumpWindow();
    }
    if (myIsGroundPounding)
    {
        myGroundPoundTimer += aDeltaTime;
        if (myVerticalVelocity >= 0.0f)
        {
            EndGroundPound();
        }
    }
    UpdateVertical(aDeltaTime);
    if (myIsScriptedWalkActive)
    {
        StepScriptedWalk(aDeltaTime * myScriptedWalkSpeed);
    }
    else
    {
        UpdateHorizontal(aDeltaTime);
    }
    UpdateFootsteps();
}
