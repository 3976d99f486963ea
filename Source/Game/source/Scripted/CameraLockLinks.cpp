#include "Scripted/CameraLockLinks.h"

#include "Objects/GameObject.h"
#include "Player/PlayerController.h"
#include "Scripted/LockCameraTriggerComponent.h"

void LinkCameraLocks(const std::vector<GameObject*>& aLockTriggers, const CameraLockActors& anActors)
{
    PlayerController* controller =
        anActors.player != nullptr ? anActors.player->GetComponent<PlayerController>() : nullptr;
    for (GameObject* trigger : aLockTriggers)
    {
        if (LockCameraTriggerComponent* lock = trigger->GetComponent<LockCameraTriggerComponent>())
        {
            lock->SetCameraController(anActors.camera);
        }
        if (CutsceneComponent* cutscene = trigger->GetComponent<CutsceneComponent>())
        {
            cutscene->SetPlayerController(controller);
            cutscene->SetBirgil(anActors.birgil);
            cutscene->SetLevelHooks(anActors.hooks);
        }
    }
}
