// The player controller's touch points with the effects, the collision box, the player's animator and
// the level's counters, kept apart from its movement rules.
#include "Player/PlayerController.h"

#include "Objects/GameObject.h"

void PlayerController::SpawnEffectAt(const std::string& anId, const Qel::Vector3<float>& aPosition)
{
    static_cast<void>(anId);
    static_cast<void>(aPosition);
}

void PlayerController::GetBodyHalfWidth(float& outHalfWidth, float& outOffset)
{
    outOffset = 0.0f;
    outHalfWidth = myOwner != nullptr ? 0.5f * myOwner->GetTransform().GetScale().x : 0.0f;
}

void PlayerController::RefreshOwnerAfterRespawn()
{
}

bool PlayerController::ReturnAnimatorToIdle()
{
    return false;
}

void PlayerController::ShowFacingOnMesh()
{
}
