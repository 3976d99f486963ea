// The player controller's touch points with the effects, the mesh, the collision box, the player's
// animator and the level's counters, kept apart from its movement rules.
#include "Player/PlayerController.h"

#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Effects/VfxSystem.h"
#include "Objects/GameObject.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerStates.h"
#include "Session/LevelCounters.h"

void PlayerController::SpawnEffectAt(const std::string& anId, const Qel::Vector3<float>& aPosition)
{
    // Size 1, turned the way the player faces; a missing effect system or definition spawns nothing.
    VfxSystem::SpawnAt(anId, aPosition, 1.0f, myIsFacingRight ? 1.0f : -1.0f);
}

void PlayerController::ShowFacingOnMesh()
{
    if (myMesh != nullptr)
    {
        myMesh->SetFacingRight(myIsFacingRight);
    }
}

void PlayerController::GetBodyHalfWidth(float& outHalfWidth, float& outOffset)
{
    outOffset = 0.0f;
    outHalfWidth = 0.0f;
    if (myOwner == nullptr)
    {
        return;
    }
    if (const BoxColliderComponent* box = myOwner->GetComponent<BoxColliderComponent>())
    {
        outHalfWidth = 0.5f * box->GetSize().x;
        outOffset = box->GetOffset().x;
        return;
    }
    outHalfWidth = 0.5f * myOwner->GetTransform().GetScale().x;
}

void PlayerController::RefreshOwnerAfterRespawn()
{
    if (myOwner != nullptr)
    {
        if (BoxColliderComponent* box = myOwner->GetComponent<BoxColliderComponent>())
        {
            box->Update(0.0f);
        }
    }
    ResetPlayerHealth();
}

bool PlayerController::ReturnAnimatorToIdle()
{
    PlayerAnimator* animator = myOwner != nullptr ? myOwner->GetComponent<PlayerAnimator>() : nullptr;
    if (animator == nullptr)
    {
        return false;
    }
    animator->SetPlayerController(this);
    animator->ChangeState(new PlayerIdleState());
    return true;
}
