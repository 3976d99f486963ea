// An animator with a state machine over one family of states. Derived animators name themselves and
// their state family: class BossAnimator : public StateAnimator<BossAnimator, BossState>. Their
// destructor calls ExitCurrentState first, while their own members are still there for the last OnExit.
#pragma once

#include "Animator/Animator.h"
#include "Animator/StateMachine.h"

template <typename Derived, typename StateType>
class StateAnimator : public Animator
{
public:
    // Takes ownership of aNewState; see StateMachine::ChangeState. Null leaves no state.
    void ChangeState(StateType* aNewState) { myStateMachine.ChangeState(Self(), aNewState); }
    StateType* GetCurrentState() const { return myStateMachine.GetCurrentState(); }

protected:
    void UpdateCurrentState(float aDeltaTime) override { myStateMachine.Update(Self(), aDeltaTime); }
    // The current state's OnExit, then it is deleted.
    void ExitCurrentState() { myStateMachine.Clear(Self()); }

private:
    Derived& Self() { return static_cast<Derived&>(*this); }

    StateMachine<Derived, StateType> myStateMachine;
};
