// The player's frame: the pad read, the queries the states ask, and the movement: running, sprints,
// falls, wall slides, jumps, the ground pound, steps.
#include "Player/PlayerController.h"

#include "Objects/GameObject.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float FACING_THRESHOLD = 0.1f;
constexpr float FOOTSTEP_MIN_SPEED = 25.0f;
constexpr float WALL_SLIDE_SPEED_DIVISOR = 10.0f;
constexpr float TERMINAL_PULL = 8.0f;
constexpr float OVERSPEED_PULL = 16.0f;
constexpr float FRICTION = 8.0f;
constexpr float JUMP_RELEASE_DAMPING = 1.75f;
constexpr float GROUND_POUND_SPEED_SCALE = 1.5f;
constexpr float JUMP_LIFT = 0.5f;
} // namespace

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

void PlayerController::Translate(const Qel::Vector3<float>& anOffset)
{
    SetPosition(GetPosition() + anOffset);
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

void PlayerController::SetFacingRight(bool aIsFacingRight)
{
    myIsFacingRight = aIsFacingRight;
    ShowFacingOnMesh();
}

void PlayerController::ResetWallJumpWindow()
{
    myWallJumpTimer = -1.0f;
    myLastWallKey = WALL_KEY_NONE;
}

void PlayerController::EndGroundPound()
{
    myHorizontalVelocity = 0.0f;
    myVerticalVelocity = 0.0f;
    myIsSprinting = false;
    myIsGroundPounding = false;
    myCurrentMaxSpeed = myEffectiveMaxSpeed;
    myCurrentTerminalVelocity = myTuning.terminalVelocity;
    myCurrentGravity = myTuning.gravity;
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
        if (myInput.IsMoveLeftHeld())
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
        if (myInput.IsMoveRightHeld())
        {
            myLastWallKey = WALL_KEY_RIGHT;
        }
        else
        {
            SetContact(SIDE_RIGHT_WALL, false);
        }
    }
    myCurrentTerminalVelocity = myTuning.terminalVelocity;
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
    if (IsGrounded() || (myIsGroundPounding && myGroundPoundTimer <= myTuning.groundPoundDelay))
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
    if (!myIsPreSpirit && IsAirborne() && myInput.IsGroundPoundPressed())
    {
        myIsGroundPounding = true;
        // Every pound hangs for the full delay, also one that follows a pound ended in the air.
        myGroundPoundTimer = 0.0f;
        myHorizontalVelocity = 0.0f;
        myVerticalVelocity = -GROUND_POUND_SPEED_SCALE * myCurrentTerminalVelocity;
        SpawnEffect("player_ground_pound_start");
    }

    if (myInput.IsJumpPressed())
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
                 (IsAirborne() && myTimeSinceContact < myTuning.jumpGracePeriod) ||
                 (myJumpBufferTimer > 0.0f && myJumpBufferTimer < myTuning.forgivingTimingDelay) ||
                 (myWallJumpTimer > 0.0f && myWallJumpTimer < myWallJumpWindow))
        {
            Jump();
        }
        else
        {
            myJumpBufferTimer = 0.0f;
        }
    }
    if (myInput.IsJumpReleased())
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
        if (myInput.IsSprintPressed())
        {
            myIsSprinting = true;
            myCurrentMaxSpeed *= myCurrentSprintMultiplier;
            if (std::abs(myCurrentSprintMultiplier - 1.0f) > 0.01f)
            {
                SpawnEffect("player_run");
            }
        }
        else if (myInput.IsSprintReleased())
        {
            myIsSprinting = false;
            myCurrentMaxSpeed = myEffectiveMaxSpeed;
        }
    }

    const bool isDrifting =
        myWallJumpTimer > TIMER_FLOOR && myWallJumpTimer < myWallJumpWindow && myLastWallKey != WALL_KEY_NONE;
    if (isDrifting)
    {
        const float push = myTuning.acceleration * aDeltaTime;
        myHorizontalVelocity += myLastWallKey == WALL_KEY_LEFT ? -push : push;
    }
    else
    {
        const float boost = myIsSprinting ? 2.0f * myCurrentSprintMultiplier : 1.0f;
        const float magnitude = myInput.IsPadInUse() ? std::abs(myInput.GetLeftStickX()) : 1.0f;
        const float step = aDeltaTime * myTuning.acceleration * magnitude * boost;
        // Left is tried first; held against a left wall it falls through to the right.
        if (myInput.IsMoveLeftHeld() && !IsTouching(SIDE_LEFT_WALL))
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
        else if (myInput.IsMoveRightHeld() && !IsTouching(SIDE_RIGHT_WALL))
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
    myCurrentGravity = myTuning.gravity;
    SpawnEffect("player_jump");
    if (!isGrounded)
    {
        const bool offLeft = IsTouching(SIDE_LEFT_WALL) || myLastWallKey == WALL_KEY_LEFT;
        const bool offRight = IsTouching(SIDE_RIGHT_WALL) || myLastWallKey == WALL_KEY_RIGHT;
        if (offLeft || offRight)
        {
            myCurrentMaxSpeed = myEffectiveMaxSpeed;
            const float away = myEffectiveMaxSpeed * myTuning.wallJumpHorizontalMult;
            myHorizontalVelocity = offLeft ? away : -away;
            myVerticalVelocity += myTuning.wallJumpVerticalMult * myJumpForce;
            myIsSprinting = false;
            myCurrentSprintMultiplier = 1.0f;
        }
    }
    for (const int side : {SIDE_GROUND, SIDE_LEFT_WALL, SIDE_RIGHT_WALL, SIDE_CEILING})
    {
        SetContact(side, false);
    }
    myCurrentTerminalVelocity = myTuning.terminalVelocity;
    myLastWallKey = WALL_KEY_NONE;
}
