// Moves the player character: reads the player's bindings, integrates horizontal and vertical velocity
// with the player's tuning values, and handles jumps (grace period, jump buffer, wall jumps), wall
// slides, sprinting, the ground pound and scripted walks. It owns no collision: the collision system
// reports contacts per side, and the controller only moves the owner's transform. The player's states
// read its queries. Main thread.
#pragma once

#include "Objects/ScriptComponent.h"
#include "Player/PlayerInput.h"
#include "Player/PlayerTuning.h"
#include "vek/Math/Vector3.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class AnimatedMeshComponent;

namespace Qel
{
class Transform;
}

class PlayerController : public ScriptComponent
{
public:
    static constexpr int SIDE_GROUND = 0;
    static constexpr int SIDE_CEILING = 1;
    static constexpr int SIDE_LEFT_WALL = 2;
    static constexpr int SIDE_RIGHT_WALL = 3;

    // Last wall key codes: the arrow keys of the side the player last held against a wall.
    static constexpr int WALL_KEY_NONE = 1;
    static constexpr int WALL_KEY_LEFT = 37;
    static constexpr int WALL_KEY_RIGHT = 39;

    static constexpr float START_UP_DELAY = 0.5f;
    static constexpr float WALL_JUMP_WINDOW = 0.3f;
    static constexpr float FOOTSTEP_DISTANCE = 150.0f;
    static constexpr float WALL_SLIDE_EFFECT_INTERVAL = 0.16f;
    static constexpr const char* FIRST_LEVEL_PATH = "levels/L_World1_Level1.vks";

    // The pad is read through SDL's game controllers, opened when the controller starts on the main
    // thread (builders run on the scene-load task).
    explicit PlayerController(InputHandler* anInputHandler);
    // The pad is read through aPadBackend, which must outlive the controller.
    PlayerController(InputHandler* anInputHandler, Platform::PadBackend& aPadBackend);

    void SetInputHandler(InputHandler* anInputHandler) { myInput.SetInputHandler(anInputHandler); }

    // Tuning, set by the builder before the object starts.
    void SetMaxSpeed(float aSpeed);
    void SetAcceleration(float anAcceleration) { myTuning.acceleration = anAcceleration; }
    void SetSprintMultiplier(float aMultiplier);
    void SetGroundPoundDelay(float aSeconds) { myTuning.groundPoundDelay = aSeconds; }
    void SetTerminalVelocity(float aSpeed);
    void SetGravity(float aGravity);
    void SetJumpForce(float aForce);
    void SetJumpGracePeriod(float aSeconds) { myTuning.jumpGracePeriod = aSeconds; }
    void SetWallJumpHorizontalForceMult(float aMultiplier) { myTuning.wallJumpHorizontalMult = aMultiplier; }
    void SetWallJumpVerticalForceMult(float aMultiplier) { myTuning.wallJumpVerticalMult = aMultiplier; }
    void SetForgivingTimingDelay(float aSeconds) { myTuning.forgivingTimingDelay = aSeconds; }

    // Queries.
    bool CanJump() const;
    bool IsAirborne() const;
    bool IsGrounded() const { return IsTouching(SIDE_GROUND); }
    bool IsTouching(int aSide) const;
    bool IsFalling() const { return myVerticalVelocity < 0.001f; }
    bool IsRising() const { return myVerticalVelocity > 0.001f; }
    bool IsGroundPounding() const { return myIsGroundPounding; }
    bool IsPreSpirit() const { return myIsPreSpirit; }
    bool IsFacingRight() const { return myIsFacingRight; }
    bool HasMoveInput() const;
    bool IsMoving() const;
    bool IsRunning() const { return myIsSprinting && IsMoving(); }
    bool IsOnWall() const;
    bool IsInteractPressed() const { return myInput.IsInteractPressed(); }
    bool IsPadButtonPressed(std::uint16_t aMask) const { return myInput.IsPadButtonPressed(aMask); }
    bool IsPadButtonReleased(std::uint16_t aMask) const { return myInput.IsPadButtonReleased(aMask); }
    bool IsPadInUse() const { return myInput.IsPadInUse(); }
    bool IsInputLocked() const { return myIsInputLocked; }
    bool IsFrozen() const { return myIsFrozen; }
    bool IsSprinting() const { return myIsSprinting; }
    bool IsScriptedWalkActive() const { return myIsScriptedWalkActive; }

    float GetVerticalVelocity() const { return myVerticalVelocity; }
    float GetHorizontalVelocity() const { return myHorizontalVelocity; }
    float GetCurrentMaxSpeed() const { return myCurrentMaxSpeed; }
    float GetEffectiveMaxSpeed() const { return myEffectiveMaxSpeed; }
    float GetJumpForce() const { return myJumpForce; }
    float GetCurrentGravity() const { return myCurrentGravity; }
    float GetAcceleration() const { return myTuning.acceleration; }
    float GetSprintMultiplier() const { return myTuning.sprintMultiplier; }
    float GetGroundPoundDelay() const { return myTuning.groundPoundDelay; }
    float GetTerminalVelocity() const { return myTuning.terminalVelocity; }
    float GetGravity() const { return myTuning.gravity; }
    float GetConfiguredMaxSpeed() const { return myTuning.maxSpeed; }
    float GetConfiguredJumpForce() const { return myTuning.jumpForce; }
    float GetJumpGracePeriod() const { return myTuning.jumpGracePeriod; }
    float GetWallJumpHorizontalForceMult() const { return myTuning.wallJumpHorizontalMult; }
    float GetWallJumpVerticalForceMult() const { return myTuning.wallJumpVerticalMult; }
    float GetForgivingTimingDelay() const { return myTuning.forgivingTimingDelay; }
    int GetJumpsLeft() const { return myJumpsLeft; }
    int GetLastWallKey() const { return myLastWallKey; }

    // Contacts, from the collision system.
    void OnContact(int aSide);
    void ClearContact(int aSide);
    // After a stomp: on the ground, off the walls, the ground pound over.
    void SetGrounded();
    void ApplyKnockback(const Qel::Vector3<float>& aVelocity);
    void SetLandingImpact(GameObject* anObject, float aSpeed, bool aWasGroundPound);
    bool ConsumeLandingImpact(GameObject*& outObject, float& outSpeed, bool& outWasGroundPound);

    void Translate(const Qel::Vector3<float>& anOffset);
    void SetFacingRight(bool aIsFacingRight);
    void LockInput();
    void UnlockInput() { myIsInputLocked = false; }
    void LeavePreSpirit();
    void ResetWallJumpWindow();
    // Scripted walks of the cut-scenes: the first call starts a walk, later ones move toward aTarget
    // by aAmount units.
    void MoveTo(const Qel::Vector3<float>& aTarget, float anAmount);
    void FinishMoveTo();
    void Respawn(const Qel::Vector3<float>& aPosition, bool aIsFacingRight);
    // A scene load: frozen until ResetMovement, and the animator back in Idle.
    void ResetToIdle();
    void ResetMovement();

    // Replaces the script start: the controller's own start-up (the transform is taken by OnStart).
    void Init(Qel::Engine* anEngine) override;
    void OnStart() override;
    void OnUpdate(float aDeltaTime) override;

private:
    struct PendingLandingImpact
    {
        bool isPresent = false;
        GameObject* object = nullptr;
        float speed = 0.0f;
        bool wasGroundPound = false;
    };

    static constexpr float MOTION_EPSILON = 0.001f;
    // Timers at or above this still run; -1 marks one that is idle.
    static constexpr float TIMER_FLOOR = -0.1f;

    bool IsStartUpOver() const { return myStartUpTimer >= myStartUpDelay; }
    bool IsTouchingWall() const { return IsTouching(SIDE_LEFT_WALL) || IsTouching(SIDE_RIGHT_WALL); }
    void SetContact(int aSide, bool aIsTouching) { myContacts[aSide] = aIsTouching; }

    Qel::Transform* TakeTransform();
    Qel::Vector3<float> GetPosition();
    void SetPosition(const Qel::Vector3<float>& aPosition);
    void RefreshSnapshot();
    void SpawnEffect(const std::string& anId);

    // Where the controller reaches other parts of the game (PlayerControllerLinks.cpp).
    void SpawnEffectAt(const std::string& anId, const Qel::Vector3<float>& aPosition);
    void ShowFacingOnMesh();
    // Half the body's width and its x offset: from the collision box, else from the owner's scale.
    void GetBodyHalfWidth(float& outHalfWidth, float& outOffset);
    // The collision box follows the new position and the level's health counter is full again.
    void RefreshOwnerAfterRespawn();
    // Links the owner's animator to this controller and puts it in Idle; false without an animator.
    bool ReturnAnimatorToIdle();

    // Reads the pad and lets its stick set the top speed.
    void PollPad();

    // The movement rules of a frame (PlayerMotion.cpp).
    void UpdateWallSlide();
    void UpdateVertical(float aDeltaTime);
    void UpdateHorizontal(float aDeltaTime);
    void UpdateFootsteps();
    void EndGroundPound();
    void Jump();

    // Scripted walks and the resets (PlayerScriptedMotion.cpp).
    void StepScriptedWalk(float anAmount);
    void EndScriptedWalk();
    void ResetMotion();

    AnimatedMeshComponent* myMesh = nullptr;
    bool myIsFacingRight = true;
    PlayerInput myInput;
    PlayerTuning myTuning;
    Qel::Transform* myTransform = nullptr;
    Qel::Vector3<float> mySnapshotPosition;

    float myEffectiveMaxSpeed = 0.0f;
    float myCurrentMaxSpeed = 0.0f;
    float myHorizontalVelocity = 0.0f;
    float myCurrentSprintMultiplier = 0.0f;
    bool myIsSprinting = false;
    bool myIsGroundPounding = false;
    float myGroundPoundTimer = 0.0f;
    float myWalkedDistance = 0.0f;
    float myFootstepDistance = FOOTSTEP_DISTANCE;
    float myWallSlideEffectTimer = 0.0f;
    float myWallSlideEffectInterval = WALL_SLIDE_EFFECT_INTERVAL;

    bool myIsInputLocked = false;
    bool myIsFrozen = false;
    bool myIsScriptedWalkActive = false;
    Qel::Vector3<float> myScriptedWalkTarget;
    float myScriptedWalkSpeed = 0.0f;

    float myCurrentTerminalVelocity = 0.0f;
    float myVerticalVelocity = 0.0f;
    float myCurrentGravity = 0.0f;
    float myLastLandingHeight = 0.0f;
    bool myHasLanded = false;
    PendingLandingImpact myLandingImpact;

    // The configured one, scaled down on the first level until the player meets the spirit.
    float myJumpForce = 0.0f;
    float myTimeSinceContact = 0.0f;
    float myJumpBufferTimer = -1.0f;
    float myWallJumpWindow = WALL_JUMP_WINDOW;
    float myWallJumpTimer = -1.0f;
    int myLastWallKey = WALL_KEY_NONE;
    int myMaxJumps = 1;
    int myJumpsLeft = 1;
    bool myHasJumpedFromGround = false;

    std::unordered_map<int, bool> myContacts;
    bool myIsPreSpirit = false;
    float myStartUpTimer = 0.0f;
    float myStartUpDelay = START_UP_DELAY;
};
