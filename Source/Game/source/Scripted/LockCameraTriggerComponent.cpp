#include "Scripted/LockCameraTriggerComponent.h"

#include "Camera/CameraController.h"
#include "Collision/BoxColliderComponent.h"
#include "Objects/GameObject.h"
#include "Scripted/CutsceneComponent.h"

Qel::Vector3<float> LockCameraTriggerComponent::GetTargetPosition() const
{
    if (myIsOwnerRelative && GetOwner() != nullptr)
    {
        return GetOwner()->GetTransform().GetPosition() + myTargetPosition;
    }
    return myTargetPosition;
}

bool LockCameraTriggerComponent::IsPlayerInside() const
{
    return myTriggerBox != nullptr && myTriggerBox->IsPlayerInside();
}

void LockCameraTriggerComponent::OnUpdate(float aDeltaTime)
{
    static_cast<void>(aDeltaTime);
    if (myTriggerBox == nullptr || myCamera == nullptr)
    {
        return;
    }
    const bool isInside = IsPlayerInside();
    CameraController::AutoCamera& autoCamera = myCamera->GetAutoCamera();
    if (isInside)
    {
        if (!myWasInside)
        {
            myIsLockReleased = false;
            myIsExitUnlockSuppressed = false;
            if (myCutscene != nullptr)
            {
                myCutscene->Play();
            }
        }
        if (!myIsLockReleased)
        {
            if (myCutscene != nullptr && myCutscene->HasFinished())
            {
                myWasInside = isInside;
                return;
            }
            autoCamera.active = true;
            autoCamera.targetPosition = GetTargetPosition();
            autoCamera.targetFov = myTargetFovDegrees * DEGREES_TO_RADIANS;
            autoCamera.fovSpeed = myFovLerpSpeed;
            autoCamera.positionSpeed = myPositionLerpSpeed;
        }
    }
    else if (myWasInside)
    {
        if (myShouldUnlockOnExit && !myIsExitUnlockSuppressed)
        {
            autoCamera.active = false;
            myCamera->LoadProfiles();
        }
        myIsLockReleased = false;
        myIsExitUnlockSuppressed = false;
    }
    myWasInside = isInside;
}

void LockCameraTriggerComponent::ReleaseLock()
{
    if (myCamera != nullptr)
    {
        myCamera->GetAutoCamera().active = false;
        myCamera->LoadProfiles();
    }
    if (IsPlayerInside())
    {
        myIsLockReleased = true;
        myIsExitUnlockSuppressed = true;
    }
}
