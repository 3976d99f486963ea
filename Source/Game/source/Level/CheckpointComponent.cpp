#include "Level/CheckpointComponent.h"

#include "Components/MeshComponent.h"
#include "Effects/VfxSystem.h"
#include "Objects/GameObject.h"

CheckpointComponent::CheckpointComponent(bool anIsActivated, std::string anActivatedMesh,
                                         float aRespawnYOffset, int aRespawnDirection)
    : myIsActivated(anIsActivated), myActivatedMesh(std::move(anActivatedMesh)),
      myRespawnYOffset(aRespawnYOffset)
{
    SetRespawnDirection(aRespawnDirection);
}

void CheckpointComponent::SetRespawnDirection(int aDirection)
{
    myRespawnDirection = aDirection < 0 ? -1 : 1;
}

void CheckpointComponent::WarmCaches()
{
    if (const MeshComponent* mesh = myOwner != nullptr ? myOwner->GetComponent<MeshComponent>() : nullptr)
    {
        mesh->WarmCachesFor(myActivatedMesh);
    }
}

bool CheckpointComponent::Activate()
{
    if (myIsActivated)
    {
        return false;
    }
    myIsActivated = true;
    if (myOwner == nullptr)
    {
        return true;
    }
    if (!myActivatedMesh.empty())
    {
        if (MeshComponent* mesh = myOwner->GetComponent<MeshComponent>())
        {
            mesh->SetModelPath(myActivatedMesh);
            mesh->ReloadModel();
        }
    }
    VfxSystem::SpawnAt(ACTIVATED_EFFECT, myOwner->GetTransform().GetPosition(), 1.0f,
                       static_cast<float>(myRespawnDirection));
    return true;
}

Qel::Vector3<float> CheckpointComponent::GetRespawnPosition() const
{
    if (myOwner == nullptr)
    {
        return {0.0f, myRespawnYOffset, 0.0f};
    }
    const Qel::Vector3<float> position = myOwner->GetTransform().GetPosition();
    return {position.x, position.y + myRespawnYOffset, 0.0f};
}
