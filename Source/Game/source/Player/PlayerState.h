// The base of the player's states: they choose the player's clips from the controller's movement and
// change to the next state from CheckTransition (or, for a few timed ones, from Update).
#pragma once

#include "Animator/State.h"

class PlayerAnimator;

class PlayerState : public TransitionState<PlayerAnimator>
{
};
