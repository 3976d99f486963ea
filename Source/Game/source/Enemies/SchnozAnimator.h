// The walking enemies' animator: walk, hurt and death clips chosen by its states from what the
// controller reports. On the bonus level the enemies only dance, with no state and a still controller.
#pragma once

#include "Animator/State.h"
#include "Animator/StateAnimator.h"

#include <cstdint>

class SchnozAnimator;
class SchnozController;

class SchnozState : public TransitionState<SchnozAnimator>
{
};

// Both kinds share one index list; the small kind repeats its clips to fill it.
namespace SchnozClip
{
constexpr std::int32_t WALK_HURT_RIGHT = 0;
constexpr std::int32_t WALK_HURT_LEFT = 1;
constexpr std::int32_t WALK_RIGHT = 2;
constexpr std::int32_t WALK_LEFT = 3;
constexpr std::int32_t DAMAGED = 4;
constexpr std::int32_t DEATH = 5;
constexpr std::int32_t DANCE = 6;
} // namespace SchnozClip

class SchnozAnimator : public StateAnimator<SchnozAnimator, SchnozState>
{
public:
    SchnozAnimator() = default;
    ~SchnozAnimator() override;

    void OnStart() override;

    // After a restore: the controller enabled again and a fresh walk.
    void StartWalking();

    SchnozController* GetSchnozController();

private:
    SchnozController* mySchnozController = nullptr;
};
