// While the player stands in its trigger box, steers the camera's auto-camera to a fixed target and
// field of view; it lets go when the player leaves, or when its cut-scene or a boss stage releases it.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Vector3.h"

class BoxColliderComponent;
class CameraController;
class CutsceneComponent;

class LockCameraTriggerComponent : public ScriptComponent
{
public:
    static constexpr float DEGREES_TO_RADIANS = 0.017453292f;

    void OnUpdate(float aDeltaTime) override;

    // The owner's position plus the target when owner-relative, else the target itself.
    Qel::Vector3<float> GetTargetPosition() const;
    // Unlocks the camera and reloads its profiles; while the player is still inside, the lock stays
    // off until the player leaves and comes back, and leaving does not unlock again.
    void ReleaseLock();

    void SetTriggerBox(BoxColliderComponent* aBox) { myTriggerBox = aBox; }
    void SetCameraController(CameraController* aCamera) { myCamera = aCamera; }
    void SetCutscene(CutsceneComponent* aCutscene) { myCutscene = aCutscene; }
    void SetTargetPosition(const Qel::Vector3<float>& aPosition) { myTargetPosition = aPosition; }
    void SetTargetFovDegrees(float aDegrees) { myTargetFovDegrees = aDegrees; }
    void SetFovLerpSpeed(float aSpeed) { myFovLerpSpeed = aSpeed; }
    void SetPositionLerpSpeed(float aSpeed) { myPositionLerpSpeed = aSpeed; }
    void SetUseOwnerRelativePosition(bool aIsRelative) { myIsOwnerRelative = aIsRelative; }
    void SetUnlockOnExit(bool aShouldUnlock) { myShouldUnlockOnExit = aShouldUnlock; }

    BoxColliderComponent* GetTriggerBox() const { return myTriggerBox; }
    CutsceneComponent* GetCutscene() const { return myCutscene; }
    float GetTargetFovDegrees() const { return myTargetFovDegrees; }
    float GetFovLerpSpeed() const { return myFovLerpSpeed; }
    float GetPositionLerpSpeed() const { return myPositionLerpSpeed; }
    bool IsOwnerRelative() const { return myIsOwnerRelative; }
    bool ShouldUnlockOnExit() const { return myShouldUnlockOnExit; }
    const Qel::Vector3<float>& GetRawTargetPosition() const { return myTargetPosition; }
    bool IsLockReleased() const { return myIsLockReleased; }

private:
    bool IsPlayerInside() const;

    BoxColliderComponent* myTriggerBox = nullptr;
    CameraController* myCamera = nullptr;
    Qel::Vector3<float> myTargetPosition{0.0f, 0.0f, 0.0f};
    float myTargetFovDegrees = 30.0f;
    float myFovLerpSpeed = 8.0f;
    float myPositionLerpSpeed = 8.0f;
    bool myIsOwnerRelative = true;
    bool myShouldUnlockOnExit = true;
    bool myWasInside = false;
    bool myIsLockReleased = false;
    bool myIsExitUnlockSuppressed = false;
    CutsceneComponent* myCutscene = nullptr;
};
