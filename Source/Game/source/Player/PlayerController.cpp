#include "Player/PlayerController.h"

#include "Base/InputHandler.h"
#include "Components/AnimatedMeshComponent.h"
#include "Objects/GameObject.h"
#include "Session/LevelRegistry.h"

#include <cmath>

namespace
{
constexpr std::uint32_t KEY_SHIFT = 16;
constexpr std::uint32_t KEY_SPACE = 32;
constexpr std::uint32_t KEY_LEFT = 37;
constexpr std::uint32_t KEY_UP = 38;
constexpr std::uint32_t KEY_RIGHT = 39;
constexpr std::uint32_t KEY_DOWN = 40;
constexpr std::uint32_t KEY_A = 65;
constexpr std::uint32_t KEY_D = 68;
constexpr std::uint32_t KEY_E = 69;
constexpr std::uint32_t KEY_S = 83;

constexpr float STICK_MOVE_THRESHOLD = 0.15f;
constexpr float POUND_STICK_X = 0.5f;
constexpr float POUND_STICK_Y = -0.33f;
constexpr std::uint16_t SPRINT_BUTTONS =
    Platform::PAD_BUTTON_B | Platform::PAD_BUTTON_LEFT_SHOULDER | Platform::PAD_BUTTON_RIGHT_SHOULDER;

constexpr float FIRST_LEVEL_SPEED_SCALE = 0.6f;
constexpr float FIRST_LEVEL_JUMP_SCALE = 0.75f;
constexpr float MOTION_EPSILON = 0.001f;
constexpr float FACING_THRESHOLD = 0.1f;
constexpr float FOOTSTEP_MIN_SPEED = 25.0f;
constexpr float TIMER_FLOOR = -0.1f;
constexpr float SCRIPTED_WALK_ARRIVAL_SQUARED = 100.0f;
constexpr float LANDING_HEIGHT_CHANGE = 20.0f;
constexpr float WALL_SLIDE_SPEED_DIVISOR = 10.0f;
constexpr float TERMINAL_PULL = 8.0f;
constexpr float OVERSPEED_PULL = 16.0f;
constexpr float FRICTION = 8.0f;
constexpr float JUMP_RELEASE_DAMPING = 1.75f;
constexpr float GROUND_POUND_SPEED_SCALE = 1.5f;
constexpr float CEILING_PUSH_DOWN = 10.0f;
constexpr float CEILING_BOUNCE_DIVISOR = 5.0f;
constexpr float JUMP_LIFT = 0.5f;
constexpr float RESPAWN_LIFT = 1.0f;

float LengthSquared(const Qel::Vector3<float>& aVector)
{
    return aVector.x * aVector.x + aVector.y * aVector.y + aVector.z * aVector.z;
}
} // namespace

PlayerController::PlayerController(InputHandler* anInputHandler) : myInputHandler(anInputHandler)
{
}

PlayerController::PlayerController(InputHandler* anInputHandler, Platform::PadBackend& aPadBackend)
    : myInputHandler(anInputHandler), myPadBackend(&aPadBackend)
{
}

void PlayerController::SetMaxSpeed(float aSpeed)
{
    myConfiguredMaxSpeed = aSpeed;
    myEffectiveMaxSpeed = aSpeed;
    myCurrentMaxSpeed = aSpeed;
}

void PlayerController::SetSprintMultiplier(float aMultiplier)
{
    mySprintMultiplier = aMultiplier;
    myCurrentSprintMultiplier = aMultiplier;
}

void PlayerController::SetTerminalVelocity(float aSpeed)
{
    myTerminalVelocity = aSpeed;
    myCurrentTerminalVelocity = aSpeed;
}

void PlayerController::SetGravity(float aGravity)
{
    myGravity = aGravity;
    myCurrentGravity = aGravity;
}

void PlayerController::SetJumpForce(float aForce)
{
    myConfiguredJumpForce = aForce;
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
    if (IsAirborne() && myTimeSinceContact < myJumpGracePeriod)
    {
        return true;
    }
    if (myJumpBufferTimer > 0.0f && myJumpBufferTimer < myForgivingTimingDelay)
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
    return !myIsInputLocked && IsStartUpOver() && (IsMoveLeftHeld() || IsMoveRightHeld());
}

bool PlayerController::IsMoving() const
{
    return !myIsInputLocked && std::abs(myHorizontalVelocity) > MOTION_EPSILON && IsStartUpOver();
}

bool PlayerController::IsOnWall() const
{
    return !myIsPreSpirit && IsTouchingWall() && myVerticalVelocity < MOTION_EPSILON;
}

bool PlayerController::IsInteractPressed() const
{
    return myIsPadInUse ? IsPadButtonPressed(Platform::PAD_BUTTON_DPAD_UP) : IsKeyPressed(KEY_E);
}

bool PlayerController::IsPadButtonPressed(std::uint16_t aMask) const
{
    return myPad.has_value() && (myPad->GetState().gamepad.buttons & aMask) == aMask &&
           (myPad->GetPreviousState().gamepad.buttons & aMask) != aMask;
}

bool PlayerController::IsPadButtonReleased(std::uint16_t aMask) const
{
    return myPad.has_value() && (myPad->GetState().gamepad.buttons & aMask) != aMask &&
           (myPad->GetPreviousState().gamepad.buttons & aMask) == aMask;
}

bool PlayerController::IsKeyDown(std::uint32_t aKey) const
{
    return myInputHandler != nullptr && myInputHandler->IsKeyDown(aKey);
}

bool PlayerController::IsKeyPressed(std::uint32_t aKey) const
{
    return myInputHandler != nullptr && myInputHandler->IsKeyPressed(aKey);
}

bool PlayerController::IsKeyReleased(std::uint32_t aKey) const
{
    return myInputHandler != nullptr && myInputHandler->IsKeyReleased(aKey);
}

bool PlayerController::IsMoveLeftHeld() const
{
    return myIsPadInUse ? myPad->leftStickX < -STICK_MOVE_THRESHOLD : IsKeyDown(KEY_A) || IsKeyDown(KEY_LEFT);
}

bool PlayerController::IsMoveRightHeld() const
{
    return myIsPadInUse ? myPad->leftStickX > STICK_MOVE_THRESHOLD : IsKeyDown(KEY_D) || IsKeyDown(KEY_RIGHT);
}

bool PlayerController::IsJumpPressed() const
{
    return myIsPadInUse ? IsPadButtonPressed(Platform::PAD_BUTTON_A)
                        : IsKeyPressed(KEY_SPACE) || IsKeyPressed(KEY_UP);
}

bool PlayerController::IsJumpReleased() const
{
    return myIsPadInUse ? IsPadButtonReleased(Platform::PAD_BUTTON_A)
                        : IsKeyReleased(KEY_SPACE) || IsKeyReleased(KEY_UP);
}

bool PlayerController::IsGroundPoundPressed() const
{
    if (myIsPadInUse)
    {
        return IsPadButtonPressed(Platform::PAD_BUTTON_A) && myPad->leftStickX > -POUND_STICK_X &&
               myPad->leftStickX < POUND_STICK_X && myPad->leftStickY < POUND_STICK_Y;
    }
    return IsKeyPressed(KEY_S) || IsKeyPressed(KEY_DOWN);
}

bool PlayerController::IsSprintPressed() const
{
    // Any one of the three buttons.
    return myIsPadInUse ? myPad->IsNewPressed(SPRINT_BUTTONS) : IsKeyPressed(KEY_SHIFT);
}

bool PlayerController::IsSprintReleased() const
{
    return myIsPadInUse ? myPad->IsReleased(SPRINT_BUTTONS) : IsKeyReleased(KEY_SHIFT);
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
        myCurrentGravity = myGravity;
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

            myCurrentSprintMultiplier = mySprintMultiplier;
            myVerticalVelocity = 0.0f;
            myCurrentGravity = myGravity;
            SetContact(SIDE_LEFT_WALL, false);
            SetContact(SIDE_RIGHT_WALL, false);
            if (wasPounding)
            {
                myHorizontalVelocity = 0.0f;
                myIsSprinting = false;
                myCurrentMaxSpeed = myEffectiveMaxSpeed;
                myCurrentTerminalVelocity = myTerminalVelocity;
                myWalkedDistance = 0.0f;
                myJumpsLeft = myMaxJumps;
            }
            myIsGroundPounding = false;
            myGroundPoundTimer = 0.0f;

            const bool jumpsAtOnce = myJumpBufferTimer > 0.0f && myJumpBufferTimer < myForgivingTimingDelay;
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
    myEffectiveMaxSpeed = myConfiguredMaxSpeed;
    myCurrentMaxSpeed = myConfiguredMaxSpeed;
    myJumpForce = myConfiguredJumpForce;
    myIsPreSpirit = false;
}

void PlayerController::ResetWallJumpWindow()
{
    myWallJumpTimer = -1.0f;
    myLastWallKey = WALL_KEY_NONE;
}

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
    const float distance = std::sqrt(LengthSquared(toTarget));
    Qel::Vector3<float> moved = position;
    if (distance > 0.0f)
    {
        moved = position + toTarget * (anAmount / distance);
    }
    SetPosition(moved);
    if (LengthSquared(myScriptedWalkTarget - moved) < SCRIPTED_WALK_ARRIVAL_SQUARED)
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
    myCurrentTerminalVelocity = myTerminalVelocity;
    myCurrentGravity = myGravity;
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
    myCurrentMaxSpeed = myConfiguredMaxSpeed;
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
    myCurrentMaxSpeed = myConfiguredMaxSpeed;
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
    myCurrentMaxSpeed = myConfiguredMaxSpeed;
    myIsFrozen = false;
    myStartUpTimer = 0.0f;
}

void PlayerController::Init(Qel::Engine* anEngine)
{
    static_cast<void>(anEngine);
    if (!myPad.has_value())
    {
        myPad.emplace(myPadBackend != nullptr ? *myPadBackend : Platform::GetDefaultPadBackend());
    }
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
        myEffectiveMaxSpeed = myConfiguredMaxSpeed * FIRST_LEVEL_SPEED_SCALE;
        myJumpForce = myConfiguredJumpForce * FIRST_LEVEL_JUMP_SCALE;
        myIsPreSpirit = true;
    }
    else
    {
        myEffectiveMaxSpeed = myConfiguredMaxSpeed;
        myJumpForce = myConfiguredJumpForce;
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
    if (!myPad.has_value() || !myPad->Connect())
    {
        myIsPadInUse = false;
        return;
    }
    myIsPadInUse = true;
    myPad->Refresh();
    const float stick = std::abs(myPad->leftStickX);
    if (myIsSprinting)
    {
        myCurrentMaxSpeed = myEffectiveMaxSpeed * myCurrentSprintMultiplier;
    }
    else if (stick > STICK_MOVE_THRESHOLD)
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

void PlayerController::EndGroundPound()
{
    myHorizontalVelocity = 0.0f;
    myVerticalVelocity = 0.0f;
    myIsSprinting = false;
    myIsGroundPounding = false;
    myCurrentMaxSpeed = myEffectiveMaxSpeed;
    myCurrentTerminalVelocity = myTerminalVelocity;
    myCurrentGravity = myGravity;
    myWalkedDistance = 0.0f;
    myJumpsLeft = myMaxJumps;
}

void PlayerController::UpdateWallSlide()
{
    if (myIsPreSpirit)
    {
        return;
    }
    if (myVerticalVelocity < 1000.0f && IsTouchingWall())
    {
        myHasJumpedFromGround = false;
    }
    if (IsTouching(SIDE_LEFT_WALL))
    {
        if (IsMoveLeftHeld())
        {
            myLastWallKey = WALL_KEY_LEFT;
        }
        else
        {
            SetContact(SIDE_LEFT_WALL, false);
        }
    }
    if (IsTouching(SIDE_RIGHT_WALL))
    {
        if (IsMoveRightHeld())
        {
            myLastWallKey = WALL_KEY_RIGHT;
        }
        else
        {
            SetContact(SIDE_RIGHT_WALL, false);
        }
    }
    myCurrentTerminalVelocity = myTerminalVelocity;
    if (IsTouchingWall())
    {
        myWallJumpTimer = 0.0f;
        myCurrentTerminalVelocity /= WALL_SLIDE_SPEED_DIVISOR;
    }
    else if (myLastWallKey != WALL_KEY_NONE)
    {
        myCurrentTerminalVelocity /= WALL_SLIDE_SPEED_DIVISOR;
    }
    if (IsGrounded())
    {
        return;
    }
    if (IsTouchingWall() && myVerticalVelocity < MOTION_EPSILON && myWallSlideEffectTimer <= 0.0f)
    {
        float halfWidth = 0.0f;
        float offset = 0.0f;
        GetBodyHalfWidth(halfWidth, offset);
        Qel::Vector3<float> position = GetPosition();
        position.x += IsTouching(SIDE_LEFT_WALL) ? offset - halfWidth : offset + halfWidth;
        SpawnEffectAt("wall_slide", position);
        myWallSlideEffectTimer = myWallSlideEffectInterval;
    }
}

void PlayerController::UpdateVertical(float aDeltaTime)
{
    if (IsGrounded() || (myIsGroundPounding && myGroundPoundTimer <= myGroundPoundDelay))
    {
        return;
    }
    if (myVerticalVelocity > -myCurrentTerminalVelocity || myIsGroundPounding)
    {
        myVerticalVelocity -= myCurrentGravity * aDeltaTime;
    }
    else
    {
        myVerticalVelocity += (-myCurrentTerminalVelocity - myVerticalVelocity) * TERMINAL_PULL * aDeltaTime;
    }
    Qel::Vector3<float> position = GetPosition();
    position.y += myVerticalVelocity * aDeltaTime;
    SetPosition(position);
}

void PlayerController::UpdateHorizontal(float aDeltaTime)
{
    if (myIsInputLocked || myIsGroundPounding)
    {
        return;
    }
    if (!myIsPreSpirit && IsAirborne() && IsGroundPoundPressed())
    {
        myIsGroundPounding = true;
        // Every pound hangs for the full delay, also one that follows a pound ended in the air.
        myGroundPoundTimer = 0.0f;
        myHorizontalVelocity = 0.0f;
        myVerticalVelocity = -GROUND_POUND_SPEED_SCALE * myCurrentTerminalVelocity;
        SpawnEffect("player_ground_pound_start");
    }

    if (IsJumpPressed())
    {
        if (myIsGroundPounding)
        {
            myJumpBufferTimer = 0.0f;
        }
        else if (IsGrounded())
        {
            Jump();
        }
        else if (myIsPreSpirit || myJumpsLeft <= 0)
        {
            myJumpBufferTimer = 0.0f;
        }
        else if (IsTouchingWall() || IsTouching(SIDE_CEILING) ||
                 (IsAirborne() && myTimeSinceContact < myJumpGracePeriod) ||
                 (myJumpBufferTimer > 0.0f && myJumpBufferTimer < myForgivingTimingDelay) ||
                 (myWallJumpTimer > 0.0f && myWallJumpTimer < myWallJumpWindow))
        {
            Jump();
        }
        else
        {
            myJumpBufferTimer = 0.0f;
        }
    }
    if (IsJumpReleased())
    {
        // Deliberately stacks: every release doubles the gravity again until the next jump or landing.
        myCurrentGravity *= 2.0f;
        if (myVerticalVelocity > 0.0f)
        {
            myVerticalVelocity /= JUMP_RELEASE_DAMPING;
        }
    }

    if (!myIsPreSpirit)
    {
        if (IsSprintPressed())
        {
            myIsSprinting = true;
            myCurrentMaxSpeed *= myCurrentSprintMultiplier;
            if (std::abs(myCurrentSprintMultiplier - 1.0f) > 0.01f)
            {
                SpawnEffect("player_run");
            }
        }
        else if (IsSprintReleased())
        {
            myIsSprinting = false;
            myCurrentMaxSpeed = myEffectiveMaxSpeed;
        }
    }

    const bool isDrifting =
        myWallJumpTimer > TIMER_FLOOR && myWallJumpTimer < myWallJumpWindow && myLastWallKey != WALL_KEY_NONE;
    if (isDrifting)
    {
        const float push = myAcceleration * aDeltaTime;
        myHorizontalVelocity += myLastWallKey == WALL_KEY_LEFT ? -push : push;
    }
    else
    {
        const float boost = myIsSprinting ? 2.0f * myCurrentSprintMultiplier : 1.0f;
        const float magnitude = myIsPadInUse ? std::abs(myPad->leftStickX) : 1.0f;
        const float step = aDeltaTime * myAcceleration * magnitude * boost;
        // Left is tried first; held against a left wall it falls through to the right.
        if (IsMoveLeftHeld() && !IsTouching(SIDE_LEFT_WALL))
        {
            if (myCurrentMaxSpeed > std::abs(myHorizontalVelocity))
            {
                myHorizontalVelocity -= step;
            }
            else
            {
                myHorizontalVelocity +=
                    (-myCurrentMaxSpeed - myHorizontalVelocity) * OVERSPEED_PULL * aDeltaTime;
            }
            SetContact(SIDE_RIGHT_WALL, false);
        }
        else if (IsMoveRightHeld() && !IsTouching(SIDE_RIGHT_WALL))
        {
            if (myCurrentMaxSpeed > std::abs(myHorizontalVelocity))
            {
                myHorizontalVelocity += step;
            }
            else
            {
                myHorizontalVelocity +=
                    (myCurrentMaxSpeed - myHorizontalVelocity) * OVERSPEED_PULL * aDeltaTime;
            }
            SetContact(SIDE_LEFT_WALL, false);
        }
        else if (std::abs(myHorizontalVelocity) >= 1.0f)
        {
            myHorizontalVelocity += (0.0f - myHorizontalVelocity) * FRICTION * aDeltaTime;
        }
        else
        {
            myHorizontalVelocity = 0.0f;
        }
    }

    Qel::Vector3<float> position = GetPosition();
    position.x += myHorizontalVelocity * aDeltaTime;
    SetPosition(position);

    if (myMesh != nullptr)
    {
        if (myHorizontalVelocity > FACING_THRESHOLD && !myIsFacingRight)
        {
            SetFacingRight(true);
        }
        else if (myHorizontalVelocity < -FACING_THRESHOLD && myIsFacingRight)
        {
            SetFacingRight(false);
        }
    }
}

void PlayerController::UpdateFootsteps()
{
    if (!IsGrounded() || std::abs(myHorizontalVelocity) <= FOOTSTEP_MIN_SPEED || myIsGroundPounding ||
        myIsScriptedWalkActive)
    {
        myWalkedDistance = 0.0f;
        return;
    }
    myWalkedDistance += std::abs(GetPosition().x - mySnapshotPosition.x);
    while (myFootstepDistance > 0.0f && myWalkedDistance >= myFootstepDistance)
    {
        SpawnEffect("player_walk");
        myWalkedDistance -= myFootstepDistance;
    }
}

void PlayerController::Jump()
{
    const bool isGrounded = IsGrounded();
    myHasJumpedFromGround = isGrounded;
    Translate(Qel::Vector3<float>(0.0f, JUMP_LIFT, 0.0f));
    --myJumpsLeft;
    myVerticalVelocity = myJumpForce;
    myCurrentGravity = myGravity;
    SpawnEffect("player_jump");
    if (!isGrounded)
    {
        const bool offLeft = IsTouching(SIDE_LEFT_WALL) || myLastWallKey == WALL_KEY_LEFT;
        const bool offRight = IsTouching(SIDE_RIGHT_WALL) || myLastWallKey == WALL_KEY_RIGHT;
        if (offLeft || offRight)
        {
            myCurrentMaxSpeed = myEffectiveMaxSpeed;
            const float away = myEffectiveMaxSpeed * myWallJumpHorizontalMult;
            myHorizontalVelocity = offLeft ? away : -away;
            myVerticalVelocity += myWallJumpVerticalMult * myJumpForce;
            myIsSprinting = false;
            myCurrentSprintMultiplier = 1.0f;
        }
    }
    for (const int side : {SIDE_GROUND, SIDE_LEFT_WALL, SIDE_RIGHT_WALL, SIDE_CEILING})
    {
        SetContact(side, false);
    }
    myCurrentTerminalVelocity = myTerminalVelocity;
    myLastWallKey = WALL_KEY_NONE;
}
