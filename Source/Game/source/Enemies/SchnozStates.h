// The walking enemies' states: walk (with footsteps) until stomped, a hurt clip when the armour
// breaks, and death, which hides the enemy once its clip has played.
#pragma once

#include "Enemies/SchnozAnimator.h"

class SchnozWalkState : public SchnozState
{
public:
    std::string GetName() const override { return "Schnoz Walking"; }
    void OnEnter(SchnozAnimator& aAnimator) override;
    void Update(SchnozAnimator& aAnimator, float aDeltaTime) override;
    void CheckTransition(SchnozAnimator& aAnimator) override;
    void OnExit(SchnozAnimator& aAnimator) override;

private:
    void PlayWalkClip(SchnozAnimator& aAnimator);

    bool myWasFacingRight = false;
};

class SchnozHurtState : public SchnozState
{
public:
    std::string GetName() const override { return "Schnoz Hurt"; }
    void OnEnter(SchnozAnimator& aAnimator) override;
    void Update(SchnozAnimator& aAnimator, float aDeltaTime) override;
    void CheckTransition(SchnozAnimator& aAnimator) override;

private:
    float myTimer = 0.0f;
};

class SchnozDeathState : public SchnozState
{
public:
    std::string GetName() const override { return "Schnoz Ded"; }
    void OnEnter(SchnozAnimator& aAnimator) override;
    void Update(SchnozAnimator& aAnimator, float aDeltaTime) override;

private:
    float myTimer = 0.0f;
};
