// The boss's states: idle, the entrance of its cut-scene, hurt, the glide to its next destination,
// and death. Timed states count down one pass of their clip.
#pragma once

#include "Boss/BossAnimator.h"

class BossIdleState : public BossState
{
public:
    std::string GetName() const override { return "Boss Idle"; }
    void OnEnter(BossAnimator& aAnimator) override;
};

// A state that plays one clip once and then moves on; the derived state says where.
class BossTimedState : public BossState
{
public:
    void Update(BossAnimator& aAnimator, float aDeltaTime) override;

protected:
    void StartClip(BossAnimator& aAnimator, std::int32_t aClip);
    virtual void OnTimeUp(BossAnimator& aAnimator) = 0;

private:
    float myTimer = 0.0f;
};

class BossEntranceState : public BossTimedState
{
public:
    std::string GetName() const override { return "Boss Entrance"; }
    void OnEnter(BossAnimator& aAnimator) override;

protected:
    void OnTimeUp(BossAnimator& aAnimator) override;
};

class BossHurtState : public BossTimedState
{
public:
    std::string GetName() const override { return "Boss Hurt"; }
    void OnEnter(BossAnimator& aAnimator) override;

protected:
    void OnTimeUp(BossAnimator& aAnimator) override;
};

class BossMoveState : public BossState
{
public:
    std::string GetName() const override { return "Boss Move"; }
    void OnEnter(BossAnimator& aAnimator) override;
    void Update(BossAnimator& aAnimator, float aDeltaTime) override;
};

class BossDeathState : public BossState
{
public:
    std::string GetName() const override { return "Boss Ded"; }
    void OnEnter(BossAnimator& aAnimator) override;
};
