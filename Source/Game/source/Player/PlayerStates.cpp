#include "Player/PlayerStates.h"

#include "Animator/ClipIndices.h"
#include "Components/DamageableComponent.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"

namespace
{
// The "_preSpirit" variant follows its clip.
int PreSpirit(const PlayerAnimator& anAnimator)
{
    return anAnimator.GetPlayerController().IsPreSpirit() ? 1 : 0;
}

// The "_left" variant comes first.
int FacingRight(const PlayerAnimator& anAnimator)
{
    return anAnimator.GetPlayerController().IsFacingRight() ? 1 : 0;
}
} // namespace

void TimedPlayerState::Update(PlayerAnimator& anAnimator, float aDeltaTime)
{
    static_cast<void>(anAnimator);
    myTimer -= aDeltaTime;
}

void TimedPlayerState::PlayTimed(PlayerAnimator& anAnimator, int aClip)
{
    anAnimator.PlayAnimation(aClip);
    myTimer = anAnimator.GetCurrentClipLength();
}

void TimedPlayerState::IdleWhenTimerEnds(PlayerAnimator& anAnimator) const
{
    if (myTimer <= 0.0f)
    {
        anAnimator.ChangeState(new PlayerIdleState());
    }
}

void PlayerIdleState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::IDLE + PreSpirit(anAnimator));
}

void PlayerIdleState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (controller.IsRising())
    {
        anAnimator.ChangeState(new PlayerJumpStartState());
    }
    else if (controller.IsRunning())
    {
        anAnimator.ChangeState(new PlayerRunState());
    }
    else if (controller.HasMoveInput())
    {
        anAnimator.ChangeState(new PlayerWalkState());
    }
    else if (controller.IsGroundPounding())
    {
        anAnimator.ChangeState(new PlayerGroundPoundStartState());
    }
}

void PlayerWalkState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::WALK + PreSpirit(anAnimator));
}

void PlayerWalkState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (controller.IsRising())
    {
        anAnimator.ChangeState(new PlayerJumpStartState());
    }
    else if (controller.IsRunning())
    {
        anAnimator.ChangeState(new PlayerRunState());
    }
    else if (controller.HasMoveInput())
    {
        if (controller.IsFalling() && !controller.CanJump())
        {
            anAnimator.ChangeState(new PlayerFallStartState());
        }
        else if (controller.IsOnWall())
        {
            anAnimator.ChangeState(new PlayerWallGrabState());
        }
    }
    else
    {
        anAnimator.ChangeState(new PlayerGlideState());
    }
}

void PlayerRunState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::RUN);
}

void PlayerRunState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (controller.IsRising())
    {
        anAnimator.ChangeState(new PlayerJumpStartState());
    }
    else if (controller.IsMoving() && !controller.IsRunning())
    {
        anAnimator.ChangeState(new PlayerWalkState());
    }
    else if (controller.IsRunning())
    {
        if (controller.IsFalling() && !controller.CanJump())
        {
            anAnimator.ChangeState(new PlayerFallState());
        }
    }
    else
    {
        anAnimator.ChangeState(new PlayerGlideState());
    }
}

void PlayerGlideState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::STOP + PreSpirit(anAnimator));
}

void PlayerGlideState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (myTimer <= 0.0f)
    {
        anAnimator.ChangeState(new PlayerIdleState());
    }
    else if (controller.IsFalling() && !controller.CanJump())
    {
        anAnimator.ChangeState(new PlayerFallStartState());
    }
}

void PlayerJumpStartState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::JUMP + PreSpirit(anAnimator));
}

void PlayerJumpStartState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (myTimer <= 0.0f)
    {
        anAnimator.ChangeState(new PlayerFallStartState());
    }
    else if (controller.IsGroundPounding())
    {
        anAnimator.ChangeState(new PlayerGroundPoundStartState());
    }
    else if (controller.IsOnWall())
    {
        anAnimator.ChangeState(new PlayerWallGrabState());
    }
}

void PlayerFallStartState::OnEnter(PlayerAnimator& anAnimator)
{
    // Still rising: the fall that follows a jump; otherwise the player walked off an edge.
    if (anAnimator.GetPlayerController().IsRising())
    {
        anAnimator.PlayAnimation(PlayerClip::FALL_START + PreSpirit(anAnimator));
    }
    else
    {
        anAnimator.PlayAnimation(PlayerClip::EDGE_FALL_START);
    }
}

void PlayerFallStartState::CheckTransition(PlayerAnimator& anAnimator)
{
    if (anAnimator.GetPlayerController().IsFalling())
    {
        anAnimator.ChangeState(new PlayerFallState());
    }
}

void PlayerFallState::OnEnter(PlayerAnimator& anAnimator)
{
    const int current = anAnimator.GetCurrentAnimationIndex();
    const bool followsJump =
        current == PlayerClip::FALL_START || current == PlayerClip::FALL_START_PRE_SPIRIT;
    anAnimator.PlayAnimation((followsJump ? PlayerClip::FALL : PlayerClip::EDGE_FALL) +
                             PreSpirit(anAnimator));
}

void PlayerFallState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (controller.IsOnWall())
    {
        anAnimator.ChangeState(new PlayerWallGrabState());
    }
    else if (controller.CanJump())
    {
        anAnimator.ChangeState(new PlayerLandState());
    }
    else if (controller.IsGroundPounding())
    {
        anAnimator.ChangeState(new PlayerGroundPoundStartState());
    }
}

void PlayerLandState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::JUMP_LEAVE + PreSpirit(anAnimator));
}

void PlayerWallGrabState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::WALL_GRAB_LEFT + FacingRight(anAnimator));
}

void PlayerWallGrabState::CheckTransition(PlayerAnimator& anAnimator)
{
    if (myTimer <= 0.0f)
    {
        anAnimator.ChangeState(new PlayerWallSlideState());
    }
}

void PlayerWallSlideState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::WALL_SLIDE_LEFT + FacingRight(anAnimator));
}

void PlayerWallSlideState::CheckTransition(PlayerAnimator& anAnimator)
{
    const PlayerController& controller = anAnimator.GetPlayerController();
    if (controller.IsRising())
    {
        anAnimator.ChangeState(new PlayerJumpStartState());
    }
    else if (!controller.IsOnWall())
    {
        anAnimator.ChangeState(new PlayerIdleState());
    }
}

void PlayerGroundPoundStartState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::GROUND_POUND_START);
}

void PlayerGroundPoundStartState::Update(PlayerAnimator& anAnimator, float aDeltaTime)
{
    TimedPlayerState::Update(anAnimator, aDeltaTime);
    if (myTimer <= 0.0f)
    {
        anAnimator.ChangeState(new PlayerGroundPoundFallState());
    }
}

void PlayerGroundPoundFallState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::GROUND_POUND_FALL);
}

void PlayerGroundPoundFallState::CheckTransition(PlayerAnimator& anAnimator)
{
    if (!anAnimator.GetPlayerController().IsGroundPounding())
    {
        anAnimator.ChangeState(new PlayerGroundPoundLandState());
    }
}

void PlayerGroundPoundLandState::OnEnter(PlayerAnimator& anAnimator)
{
    PlayTimed(anAnimator, PlayerClip::GROUND_POUND_END);
}

void PlayerGroundPoundLandState::Update(PlayerAnimator& anAnimator, float aDeltaTime)
{
    TimedPlayerState::Update(anAnimator, aDeltaTime);
    if (myTimer <= 0.0f)
    {
        anAnimator.ChangeState(new PlayerIdleState());
    }
}

void PlayerHurtState::OnEnter(PlayerAnimator& anAnimator)
{
    const DamageableComponent* damageable = anAnimator.GetDamageable();
    if (damageable != nullptr && damageable->IsDead())
    {
        anAnimator.ChangeState(new PlayerDeathState());
        return;
    }
    const bool isOnGround = anAnimator.GetPlayerController().CanJump();
    PlayTimed(anAnimator, isOnGround ? PlayerClip::DAMAGE_ON_GROUND : PlayerClip::DAMAGE_IN_AIR);
}

void PlayerDeathState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.GetPlayerController().SetFacingRight(true);
    PlayTimed(anAnimator, PlayerClip::DEATH);
}

void PlayerDeathState::CheckTransition(PlayerAnimator& anAnimator)
{
    if (myTimer <= 0.0f)
    {
        anAnimator.RequestRespawn();
        anAnimator.ChangeState(new PlayerIdleState());
    }
}

void PlayerVictoryState::OnEnter(PlayerAnimator& anAnimator)
{
    anAnimator.PlayAnimation(PlayerClip::WIN);
    anAnimator.GetPlayerController().LockInput();
    myTimer = anAnimator.GetCurrentClipLength();
}
