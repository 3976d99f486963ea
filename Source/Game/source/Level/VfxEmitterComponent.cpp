#include "Level/VfxEmitterComponent.h"

#include "Effects/DefinitionJson.h"
#include "Effects/VfxSystem.h"
#include "Enemies/SchnozController.h"
#include "Objects/GameObject.h"
#include "Player/PlayerController.h"

#include <algorithm>

VfxEmitterComponent::VfxEmitterComponent(VfxEmitterSettings someSettings)
    : mySettings(std::move(someSettings)),
      myIsScreenSpace(DefinitionJson::ToLower(mySettings.space) == "screen"),
      myTimer(std::max(mySettings.spawnInterval, 0.0f))
{
}

void VfxEmitterComponent::Init(Qel::Engine* aEngine)
{
    static_cast<void>(aEngine);
    if (mySettings.effectId.empty())
    {
        SetEnabled(false);
        return;
    }
    Emit(mySettings.burstOnStart);
}

void VfxEmitterComponent::OnActiveChanged(bool aIsActive)
{
    if (aIsActive && mySettings.burstOnActivate > 0)
    {
        myBurstPending = true;
    }
}

void VfxEmitterComponent::Update(float aDeltaTime)
{
    if (myBurstPending)
    {
        myBurstPending = false;
        Emit(mySettings.burstOnActivate);
    }
    if (mySettings.spawnInterval > 0.0f)
    {
        myTimer -= std::max(aDeltaTime, 0.0f);
        // More than a full pool in one frame could never be seen; a tiny interval after a long frame
        // would otherwise spin here for good once the addition no longer moves the timer.
        std::size_t emitted = 0;
        while (myTimer <= 0.0f && emitted < VfxSystem::POOL_SIZE)
        {
            EmitOnce();
            myTimer += mySettings.spawnInterval;
            ++emitted;
        }
        if (myTimer <= 0.0f)
        {
            myTimer = mySettings.spawnInterval;
        }
    }
}

void VfxEmitterComponent::Emit(int aCount) const
{
    for (int index = 0; index < aCount; ++index)
    {
        EmitOnce();
    }
}

float VfxEmitterComponent::GetOwnerFacing() const
{
    // Mirrored effects follow the character the emitter rides on: the player first, then an enemy.
    if (const PlayerController* player = myOwner->GetComponent<PlayerController>())
    {
        return player->IsFacingRight() ? 1.0f : -1.0f;
    }
    if (const SchnozController* enemy = myOwner->GetComponent<SchnozController>())
    {
        return enemy->IsFacingRight() ? 1.0f : -1.0f;
    }
    return 1.0f;
}

void VfxEmitterComponent::EmitOnce() const
{
    if (mySettings.effectId.empty())
    {
        return;
    }
    if (myIsScreenSpace)
    {
        VfxSystem::SpawnOnScreen(mySettings.effectId, mySettings.screenPosition, mySettings.sizeMultiplier);
        return;
    }
    if (myOwner == nullptr)
    {
        return;
    }
    VfxSystem::SpawnAt(mySettings.effectId, myOwner->GetTransform().GetPosition(), mySettings.sizeMultiplier,
                       GetOwnerFacing());
}
