// The eye in the sky: closed and still until a cut-scene or the level end activates it; then it opens
// (with its sound) and, once open, arms its eye trigger, which raises the blood sea.
#pragma once

#include "Animator/State.h"
#include "Animator/StateAnimator.h"

#include <cstdint>

class EyeAnimator;
class EyeTrigger;

class EyeState : public SelfTransitionState<EyeAnimator>
{
};

namespace EyeClip
{
constexpr std::int32_t ACTIVATION = 0;
constexpr std::int32_t IDLE = 1;
} // namespace EyeClip

class EyeAnimator : public StateAnimator<EyeAnimator, EyeState>
{
public:
    EyeAnimator() = default;
    ~EyeAnimator() override;

    void Activate();
    bool IsActivated() const { return myIsActivated; }
    // Null unless an eye in the sky has been activated and carries one.
    EyeTrigger* GetEyeTrigger() const { return myEyeTrigger; }

    void OnStart() override;
    void OnUpdate(float aDeltaTime) override;

private:
    bool myIsActivated = false;
    EyeTrigger* myEyeTrigger = nullptr;
};

class EyeActivationState : public EyeState
{
public:
    std::string GetName() const override { return "Eye Activate"; }
    void OnEnter(EyeAnimator& aAnimator) override;
    void Update(EyeAnimator& aAnimator, float aDeltaTime) override;

private:
    float myTimer = 0.0f;
};

class EyeIdleState : public EyeState
{
public:
    std::string GetName() const override { return "Eye Idle"; }
    void OnEnter(EyeAnimator& aAnimator) override;
};
