#include "Scripted/CameraLockLinks.h"

#include "Objects/GameObject.h"
#include "Player/PlayerController.h"
#include "Scripted/LockCameraTriggerComponent.h"

std::vector<GameObject*> FindLockTriggers(const std::vector<std::unique_ptr<GameObject>>& aObjects)
{
    std::vector<GameObject*> triggers;
    for (const std::unique_ptr<GameObject>& object : aObjects)
    {
        if (object != nullptr && object->GetTag() == "LockCamTrigger")
        {
            triggers.push_back(object.get());
        }
    }
    return triggers;
}

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
