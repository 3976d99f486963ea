#include "Boss/BossStates.h"

void BossIdleState::OnEnter(BossAnimator& aAnimator)
{
    aAnimator.PlayAnimation(BossClip::IDLE);
}

void BossTimedState::Update(BossAnimator& aAnimator, float aDeltaTime)
{
    myTimer -= aDeltaTime;
    if (myTimer <= 0.0f)
    {
        OnTimeUp(aAnimator);
    }
}

void BossTimedState::StartClip(BossAnimator& aAnimator, std::int32_t aClip)
{
    aAnimator.PlayAnimation(aClip);
    myTimer = aAnimator.GetCurrentClipLength();
}

void BossEntranceState::OnEnter(BossAnimator& aAnimator)
{
    StartClip(aAnimator, BossClip::INTRO);
}

void BossEntranceState::OnTimeUp(BossAnimator& aAnimator)
{
    aAnimator.ChangeState(new BossIdleState());
}

void BossHurtState::OnEnter(BossAnimator& aAnimator)
{
    StartClip(aAnimator, BossClip::HURT);
}

void BossHurtState::OnTimeUp(BossAnimator& aAnimator)
{
    aAnimator.ChangeState(new BossMoveState());
}

void BossMoveState::OnEnter(BossAnimator& aAnimator)
{
    aAnimator.PlayAnimation(BossClip::MOVE);
    aAnimator.StartMove();
}

void BossMoveState::Update(BossAnimator& aAnimator, float aDeltaTime)
{
    static_cast<void>(aDeltaTime);
    if (aAnimator.IsMoveDone())
    {
        aAnimator.ChangeState(new BossIdleState());
    }
}

void BossDeathState::OnEnter(BossAnimator& aAnimator)
{
    aAnimator.PlayAnimation(BossClip::DEATH);
}
