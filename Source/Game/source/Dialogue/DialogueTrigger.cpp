#include "Dialogue/DialogueTrigger.h"

#include "Collision/BoxColliderComponent.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Objects/GameObject.h"

bool FireDialogueTrigger(GameObject& aDialogue, GameObject& aPlayer)
{
    BoxColliderComponent* box = aDialogue.GetComponent<BoxColliderComponent>();
    SpeechBubbleComponent* bubble = aDialogue.GetComponent<SpeechBubbleComponent>();
    if (box == nullptr || bubble == nullptr || !bubble->IsTriggerOn() || !box->IsPlayerInside() ||
        bubble->IsVisible() || !box->IsEnabled())
    {
        return false;
    }
    bubble->SetVisible(true);
    bubble->ResetTimer();
    bubble->SetTarget(&aPlayer);
    bubble->SetActive(true);
    box->SetEnabled(false);
    return true;
}
