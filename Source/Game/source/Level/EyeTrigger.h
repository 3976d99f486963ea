// Drives the level's blood sea once the eye has opened: the sea appears at its spawn point with a
// camera shake and rises to its target height, snaps up after a player who climbs too far ahead, and
// is put away when the player dies, waiting to be armed again. The scene composer links the player,
// the sea object and the camera controller.
#pragma once

#include "Objects/ScriptComponent.h"

class BloodSeaComponent;
class CameraController;
class GameObject;

class EyeTrigger : public ScriptComponent
{
public:
    // Below this share of the allowed lead the sea may snap after the player again.
    static constexpr float CATCH_UP_RELEASE_SHARE = 0.85f;

    EyeTrigger() = default;

    // A level change leaves no blood sea behind: the sea's state lives in the level's own objects,
    // which the hand-over replaces, so there is nothing process-wide to clear.
    static void ClearBloodSeaActive() {}

    void SetPlayer(GameObject* aPlayer) { myPlayer = aPlayer; }
    void SetBloodSea(GameObject* aBloodSea) { myBloodSea = aBloodSea; }
    void SetCameraController(CameraController* aCamera) { myCamera = aCamera; }

    void Arm() { myIsArmed = true; }
    void ShakeCamera();

    bool IsArmed() const { return myIsArmed; }
    bool IsActivated() const { return myIsActivated; }
    bool IsRising() const { return myIsRising; }
    bool IsCatchingUp() const { return myIsCatchingUp; }

    void OnUpdate(float aDeltaTime) override;

private:
    BloodSeaComponent* GetSea() const;
    void PutSeaAway(BloodSeaComponent& aSea);
    void Activate(BloodSeaComponent& aSea);
    void CatchUp(BloodSeaComponent& aSea);
    void Rise(BloodSeaComponent& aSea, float aDeltaTime);

    bool myIsRising = false;
    GameObject* myPlayer = nullptr;
    GameObject* myBloodSea = nullptr;
    CameraController* myCamera = nullptr;
    bool myIsActivated = false;
    bool myWasPlayerDead = false;
    bool myIsCatchingUp = false;
    bool myIsArmed = false;
};
