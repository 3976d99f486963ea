// The player's states. Each chooses its clip on entry (the first level's "_preSpirit" variant where
// there is one, the "_left" variant while facing left where there is one); a timed state counts down
// the length of the clip it started. Transitions are tried in order and the first that holds wins.
#pragma once

#include "Player/PlayerState.h"

#include <string>

// Counts down the length of the clip chosen on entry.
class TimedPlayerState : public PlayerState
{
public:
    void Update(PlayerAnimator& anAnimator, float aDeltaTime) override;
    float GetTimer() const { return myTimer; }

protected:
    void PlayTimed(PlayerAnimator& anAnimator, int aClip);
    // Idle once the timer has run out.
    void IdleWhenTimerEnds(PlayerAnimator& anAnimator) const;

    float myTimer = 0.0f;
};

class PlayerIdleState : public PlayerState
{
public:
    std::string GetName() const override { return "Idle"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerWalkState : public PlayerState
{
public:
    std::string GetName() const override { return "Walking"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerRunState : public PlayerState
{
public:
    std::string GetName() const override { return "Running"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerGlideState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Gliding"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerJumpStartState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Jump Start"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerFallStartState : public PlayerState
{
public:
    std::string GetName() const override { return "Fall Start"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerFallState : public PlayerState
{
public:
    std::string GetName() const override { return "Falling"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerLandState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Landing"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override { IdleWhenTimerEnds(anAnimator); }
};

class PlayerWallGrabState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Wall Grab"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerWallSlideState : public PlayerState
{
public:
    std::string GetName() const override { return "Wall Slide"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerGroundPoundStartState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Ground Pound Start"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void Update(PlayerAnimator& anAnimator, float aDeltaTime) override;
};

class PlayerGroundPoundFallState : public PlayerState
{
public:
    std::string GetName() const override { return "Ground Pound Fall"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

class PlayerGroundPoundLandState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Ground Pound Land"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void Update(PlayerAnimator& anAnimator, float aDeltaTime) override;
};

class PlayerHurtState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Hurt"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override { IdleWhenTimerEnds(anAnimator); }
};

class PlayerDeathState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Death"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
    void CheckTransition(PlayerAnimator& anAnimator) override;
};

// The win pose at the level end: input stays locked until a scene load.
class PlayerVictoryState : public TimedPlayerState
{
public:
    std::string GetName() const override { return "Victory"; }
    void OnEnter(PlayerAnimator& anAnimator) override;
};
