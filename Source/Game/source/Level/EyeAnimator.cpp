#include "Level/EyeAnimator.h"

#include "Level/EyeTrigger.h"
#include "Objects/GameObject.h"
#include "Sound/SoundBank.h"
#include "vek/Core/Assert.h"
#include "vek/Core/Profiler.h"

#include <iostream>

namespace
{
constexpr std::uint32_t EYE_SOUND = 22;
} // namespace

EyeAnimator::~EyeAnimator()
{
    ExitCurrentState();
}

void EyeAnimator::Activate()
{
    myIsActivated = true;
    if (myOwner != nullptr && myOwner->GetTag() == "EyeInTheSky")
    {
        std::cout << "GETTING" << std::endl;
        myEyeTrigger = myOwner->GetComponent<EyeTrigger>();
    }
}

void EyeAnimator::OnStart()
{
    const Qel::ProfilerScope scope("EyeAnimator::CreateAnimationPlayers");
    if (LinkAnimatedMesh() == nullptr)
    {
        QEL_ASSERT(myAnimatedMesh && "EyeAnimator requires an AnimatedMeshComponent on the same GameObject!");
        return;
    }
    if (!CreatePlayersForClips())
    {
        return;
    }
    if (GetCurrentState() == nullptr)
    {
        ChangeState(new EyeActivationState());
    }
}

void EyeAnimator::OnUpdate(float aDeltaTime)
{
    if (!myIsActivated || !CanAnimate())
    {
        return;
    }
    Animator::OnUpdate(aDeltaTime);
    if (GetCurrentAnimationIndex() == EyeClip::ACTIVATION && myEyeTrigger != nullptr)
    {
        SoundBank::GetInstance().Play(EYE_SOUND);
    }
}

void EyeActivationState::OnEnter(EyeAnimator& aAnimator)
{
    aAnimator.PlayAnimation(EyeClip::ACTIVATION);
    myTimer = aAnimator.GetCurrentClipLength();
}

void EyeActivationState::Update(EyeAnimator& aAnimator, float aDeltaTime)
{
    myTimer -= aDeltaTime;
    if (myTimer <= 0.0f)
    {
        aAnimator.ChangeState(new EyeIdleState());
    }
}

void EyeIdleState::OnEnter(EyeAnimator& aAnimator)
{
    if (EyeTrigger* trigger = aAnimator.GetEyeTrigger())
    {
        trigger->Arm();
    }
    aAnimator.PlayAnimation(EyeClip::IDLE);
}
