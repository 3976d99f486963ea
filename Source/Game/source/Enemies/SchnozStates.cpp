#include "Enemies/SchnozStates.h"

#include "Effects/VfxSystem.h"
#include "Enemies/SchnozController.h"
#include "Objects/GameObject.h"
#include "Sound/SoundBank.h"

namespace
{
// Both footstep loops are asked for whichever kind walks; the bank keeps each sound's own busy window.
constexpr std::uint32_t SMALL_FOOTSTEPS = 14;
constexpr std::uint32_t ARMOURED_FOOTSTEPS = 16;
} // namespace

void SchnozWalkState::OnEnter(SchnozAnimator& aAnimator)
{
    SchnozController* controller = aAnimator.GetSchnozController();
    myWasFacingRight = controller != nullptr && controller->IsFacingRight();
    PlayWalkClip(aAnimator);
}

void SchnozWalkState::Update(SchnozAnimator& aAnimator, float aDeltaTime)
{
    static_cast<void>(aAnimator);
    static_cast<void>(aDeltaTime);
    SoundBank::GetInstance().Play(SMALL_FOOTSTEPS);
    SoundBank::GetInstance().Play(ARMOURED_FOOTSTEPS);
}

void SchnozWalkState::CheckTransition(SchnozAnimator& aAnimator)
{
    SchnozController* controller = aAnimator.GetSchnozController();
    if (controller == nullptr)
    {
        return;
    }
    if (controller->IsDead())
    {
        aAnimator.ChangeState(new SchnozDeathState());
        return;
    }
    if (controller->ConsumeHitFlag())
    {
        aAnimator.ChangeState(new SchnozHurtState());
        return;
    }
    const GameObject* owner = aAnimator.GetOwner();
    if (owner != nullptr && owner->GetTag() == "Schnoz_III" &&
        controller->IsFacingRight() != myWasFacingRight)
    {
        myWasFacingRight = controller->IsFacingRight();
        PlayWalkClip(aAnimator);
    }
}

void SchnozWalkState::OnExit(SchnozAnimator& aAnimator)
{
    static_cast<void>(aAnimator);
    SoundBank::GetInstance().Stop(SMALL_FOOTSTEPS);
    SoundBank::GetInstance().Stop(ARMOURED_FOOTSTEPS);
}

void SchnozWalkState::PlayWalkClip(SchnozAnimator& aAnimator)
{
    // The armour's hits decide the walk; once broken, the hurt walk with the shell cracked.
    SchnozController* controller = aAnimator.GetSchnozController();
    const bool hasArmour = controller != nullptr && controller->GetHp() >= 1;
    if (hasArmour)
    {
        aAnimator.PlayAnimation(myWasFacingRight ? SchnozClip::WALK_RIGHT : SchnozClip::WALK_LEFT);
    }
    else
    {
        aAnimator.PlayAnimation(myWasFacingRight ? SchnozClip::WALK_HURT_RIGHT : SchnozClip::WALK_HURT_LEFT);
    }
}

void SchnozHurtState::OnEnter(SchnozAnimator& aAnimator)
{
    aAnimator.PlayAnimation(SchnozClip::DAMAGED);
    myTimer = aAnimator.GetCurrentClipLength();
}

void SchnozHurtState::Update(SchnozAnimator& aAnimator, float aDeltaTime)
{
    static_cast<void>(aAnimator);
    myTimer -= aDeltaTime;
}

void SchnozHurtState::CheckTransition(SchnozAnimator& aAnimator)
{
    if (myTimer <= 0.0f)
    {
        aAnimator.ChangeState(new SchnozWalkState());
    }
}

void SchnozDeathState::OnEnter(SchnozAnimator& aAnimator)
{
    aAnimator.PlayAnimation(SchnozClip::DEATH);
    if (SchnozController* controller = aAnimator.GetSchnozController())
    {
        controller->SetEnabled(false);
    }
    myTimer = aAnimator.GetCurrentClipLength();
    if (const GameObject* owner = aAnimator.GetOwner())
    {
        const SchnozController* controller = aAnimator.GetSchnozController();
        const float facing = controller != nullptr && controller->IsFacingRight() ? 1.0f : -1.0f;
        VfxSystem::SpawnAt("enemy_death", owner->GetTransform().GetPosition(), 1.0f, facing);
    }
}

void SchnozDeathState::Update(SchnozAnimator& aAnimator, float aDeltaTime)
{
    myTimer -= aDeltaTime;
    if (myTimer <= 0.0f)
    {
        if (GameObject* owner = aAnimator.GetOwner())
        {
            owner->SetActive(false);
        }
    }
}
