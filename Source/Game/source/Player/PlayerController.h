// Moves the player character: reads the keyboard or the first game pad, integrates horizontal and
// vertical velocity with the player's tuning values, and handles jumps (grace period, jump buffer, wall
// jumps), wall slides, sprinting, the ground pound and scripted walks. It owns no collision: the
// collision system reports contacts per side, and the controller only moves the owner's transform.
// The player's states read its queries. Main thread.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Vector3.h"
#include "vek/input/XInputController.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

class AnimatedMeshComponent;
class InputHandler;

namespace Qel
{
class Transform;
}

namespace Platform
{
class PadBackend;
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

    void SetInputHandler(InputHandler* anInputHandler) { myInputHandler = anInputHandler; }

    // Tuning, set by the builder before the object starts.
    void SetMaxSpeed(float aSpeed);
    void SetAcceleration(float anAcceleration) { myAcceleration = anAcceleration; }
    void SetSprintMultiplier(float aMultiplier);
    void SetGroundPoundDelay(float aSeconds) { myGroundPoundDelay = aSeconds; }
    void SetTerminalVelocity(float aSpeed);
    void SetGravity(float aGravity);
    void SetJumpForce(float aForce);
    void SetJumpGracePeriod(float aSeconds) { myJumpGracePeriod = aSeconds; }
    void SetWallJumpHorizontalForceMult(float aMultiplier) { myWallJumpHorizontalMult = aMultiplier; }
    void SetWallJumpVerticalForceMult(float aMultiplier) { myWallJumpVerticalMult = aMultiplier; }
    void SetForgivingTimingDelay(float aSeconds) { myForgivingTimingDelay = aSeconds; }

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
    bool IsInteractPressed() const;
    bool IsPadButtonPressed(std::uint16_t aMask) const;
    bool IsPadButtonReleased(std::uint16_t aMask) const;
    bool IsPadInUse() const { return myIsPadInUse; }
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
    float GetCurrentTerminalVelocity() const { return myCurrentTerminalVelocity; }
    float GetAcceleration() const { return myAcceleration; }
    float GetSprintMultiplier() const { return mySprintMultiplier; }
    float GetGroundPoundDelay() const { return myGroundPoundDelay; }
    float GetTerminalVelocity() const { return myTerminalVelocity; }
    float GetGravity() const { return myGravity; }
    float GetConfiguredMaxSpeed() const { return myConfiguredMaxSpeed; }
    float GetConfiguredJumpForce() const { return myConfiguredJumpForce; }
    float GetJumpGracePeriod() const { return myJumpGracePeriod; }
    float GetWallJumpHorizontalForceMult() const { return myWallJumpHorizontalMult; }
    float GetWallJumpVerticalForceMult() const { return myWallJumpVerticalMult; }
    float GetForgivingTimingDelay() const { return myForgivingTimingDelay; }
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

    // The bindings, read from the pad while one is in use, else from the keyboard.
    bool IsMoveLeftHeld() const;
    bool IsMoveRightHeld() const;
    bool IsJumpPressed() const;
    bool IsJumpReleased() const;
    bool IsGroundPoundPressed() const;
    bool IsSprintPressed() const;
    bool IsSprintReleased() const;
    bool IsKeyDown(std::uint32_t aKey) const;
    bool IsKeyPressed(std::uint32_t aKey) const;
    bool IsKeyReleased(std::uint32_t aKey) const;
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

    void PollPad();
    void UpdateWallSlide();
    void UpdateVertical(float aDeltaTime);
    void UpdateHorizontal(float aDeltaTime);
    void UpdateFootsteps();
    void StepScriptedWalk(float anAmount);
    void EndScriptedWalk();
    void EndGroundPound();
    void ResetMotion();
    void Jump();

    AnimatedMeshComponent* myMesh = nullptr;
    bool myIsFacingRight = true;
    InputHandler* myInputHandler = nullptr;
    Qel::Transform* myTransform = nullptr;
    Qel::Vector3<float> mySnapshotPosition;

    float myEffectiveMaxSpeed = 0.0f;
    float myCurrentMaxSpeed = 0.0f;
    float myHorizontalVelocity = 0.0f;
    float myAcceleration = 0.0f;

    float mySprintMultiplier = 0.0f;
    float myCurrentSprintMultiplier = 0.0f;
    bool myIsSprinting = false;
    bool myIsGroundPounding = false;

    float myGroundPoundDelay = 0.0f;
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

    float myTerminalVelocity = 0.0f;
    float myCurrentTerminalVelocity = 0.0f;
    float myVerticalVelocity = 0.0f;
    float myGravity = 0.0f;
    float myCurrentGravity = 0.0f;

    float myLastLandingHeight = 0.0f;
    bool myHasLanded = false;
    PendingLandingImpact myLandingImpact;

    float myJumpForce = 0.0f;
    float myJumpGracePeriod = 0.0f;
    float myTimeSinceContact = 0.0f;

    float myWallJumpHorizontalMult = 0.0f;
    float myWallJumpVerticalMult = 0.0f;

    float myForgivingTimingDelay = 0.0f;
    float myJumpBufferTimer = -1.0f;

    float myWallJumpWindow = WALL_JUMP_WINDOW;
    float myWallJumpTimer = -1.0f;
    int myLastWallKey = WALL_KEY_NONE;

    int myMaxJumps = 1;
    int myJumpsLeft = 1;
    bool myHasJumpedFromGround = false;

    float myConfiguredMaxSpeed = 0.0f;
    float myConfiguredJumpForce = 0.0f;

    std::unordered_map<int, bool> myContacts;
    bool myIsPreSpirit = false;
    bool myIsPadInUse = false;
    Platform::PadBackend* myPadBackend = nullptr;
    std::optional<Qel::XInputController> myPad;

    float myStartUpTimer = 0.0f;
    float myStartUpDelay = START_UP_DELAY;
};
