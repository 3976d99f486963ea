// Owns an animator's current state and changes it. States change themselves from inside their own
// OnEnter, Update and CheckTransition, so the machine never touches a state after a change without
// reading the current one again:
// - a change asked for while another change is running (from an OnExit or OnEnter) is queued and made
//   by the running change as soon as the state it is entering has finished OnEnter, so a chain of
//   changes two or more deep exits and enters every state in order;
// - a state left from inside the machine's Update (its own Update or CheckTransition is running)
//   stays alive until Update returns, then is deleted; a state left otherwise is deleted at once;
// - Update runs CheckTransition on the state that is current after Update, in the same frame.
// A null current state is allowed everywhere (animators that dance without states). Main thread.
#pragma once

#include <memory>
#include <utility>
#include <vector>

template <typename AnimatorType, typename StateType>
class StateMachine
{
public:
    StateMachine() = default;
    StateMachine(const StateMachine&) = delete;
    StateMachine& operator=(const StateMachine&) = delete;

    StateType* GetCurrentState() const { return myCurrent.get(); }

    // Takes ownership of aNewState. The current state's OnExit runs, it is deleted, aNewState becomes
    // current and its OnEnter runs (when not null). Passing the current (or already queued) state again
    // does nothing.
    void ChangeState(AnimatorType& aAnimator, StateType* aNewState)
    {
        if (aNewState == myCurrent.get() || (myHasPending && aNewState == myPending.get()))
        {
            return;
        }
        if (myIsChanging)
        {
            // The newest request wins; a queued state that was never entered is simply dropped.
            myPending.reset(aNewState);
            myHasPending = true;
            return;
        }
        myIsChanging = true;
        std::unique_ptr<StateType> next(aNewState);
        for (;;)
        {
            if (myCurrent != nullptr)
            {
                myCurrent->OnExit(aAnimator);
            }
            if (myUpdateDepth > 0)
            {
                Retire(std::move(myCurrent));
            }
            myCurrent = std::move(next);
            if (myCurrent != nullptr)
            {
                myCurrent->OnEnter(aAnimator);
            }
            if (!myHasPending)
            {
                break;
            }
            myHasPending = false;
            next = std::move(myPending);
            if (next != nullptr && next.get() == myCurrent.get())
            {
                static_cast<void>(next.release());
                break;
            }
        }
        myIsChanging = false;
    }

    // The current state's Update, then (for states that have one) CheckTransition on the state that
    // is current after it.
    void Update(AnimatorType& aAnimator, float aDeltaTime)
    {
        const DepthGuard guard(*this);
        if (StateType* state = myCurrent.get())
        {
            state->Update(aAnimator, aDeltaTime);
        }
        if constexpr (requires(StateType & aState, AnimatorType & anAnimator) {
                          aState.CheckTransition(anAnimator);
                      })
        {
            if (StateType* state = myCurrent.get())
            {
                state->CheckTransition(aAnimator);
            }
        }
    }

    // The animator's end: the current state's OnExit, then it is deleted. A state that this last
    // OnExit changes to is entered and then deleted without an OnExit of its own.
    void Clear(AnimatorType& aAnimator)
    {
        ChangeState(aAnimator, nullptr);
        myCurrent.reset();
    }

private:
    // Counts the Updates on the stack (a state may update its animator again); states left inside them
    // die when the outermost one returns.
    class DepthGuard
    {
    public:
        explicit DepthGuard(StateMachine& aMachine) : myMachine(aMachine) { ++myMachine.myUpdateDepth; }
        ~DepthGuard()
        {
            if (--myMachine.myUpdateDepth == 0)
            {
                myMachine.myRetired.clear();
            }
        }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        StateMachine& myMachine;
    };

    void Retire(std::unique_ptr<StateType> aState)
    {
        if (aState != nullptr)
        {
            myRetired.push_back(std::move(aState));
        }
    }

    std::unique_ptr<StateType> myCurrent;
    std::unique_ptr<StateType> myPending;
    bool myHasPending = false;
    bool myIsChanging = false;
    int myUpdateDepth = 0;
    std::vector<std::unique_ptr<StateType>> myRetired;
};
