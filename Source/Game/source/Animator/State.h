// The states of the characters' state machines. A state chooses clips, counts down its timer and
// decides the next state; it is made anew for every change and owned by its animator's state machine
// from the change until the next one. Two families: states that decide in CheckTransition after their
// Update (player, walking enemies), and states that decide inside Update (boss, eye). Every operation a
// state does not override does nothing. Main thread.
#pragma once

#include <string>

class State
{
public:
    State() = default;
    virtual ~State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // The state's display name, for logs and debugging.
    virtual std::string GetName() const = 0;
};

// Six operations: the machine runs Update, then CheckTransition on whichever state is current by then.
template <typename AnimatorType>
class TransitionState : public State
{
public:
    virtual void Update(AnimatorType& aAnimator, float aDeltaTime)
    {
        static_cast<void>(aAnimator);
        static_cast<void>(aDeltaTime);
    }
    virtual void CheckTransition(AnimatorType& aAnimator) { static_cast<void>(aAnimator); }
    virtual void OnEnter(AnimatorType& aAnimator) { static_cast<void>(aAnimator); }
    virtual void OnExit(AnimatorType& aAnimator) { static_cast<void>(aAnimator); }
};

// Five operations: Update also decides the transitions.
template <typename AnimatorType>
class SelfTransitionState : public State
{
public:
    virtual void Update(AnimatorType& aAnimator, float aDeltaTime)
    {
        static_cast<void>(aAnimator);
        static_cast<void>(aDeltaTime);
    }
    virtual void OnEnter(AnimatorType& aAnimator) { static_cast<void>(aAnimator); }
    virtual void OnExit(AnimatorType& aAnimator) { static_cast<void>(aAnimator); }
};
