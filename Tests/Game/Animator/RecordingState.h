// A state for the state machine tests: it writes what happens to it into a shared log ("enter A",
// "update A", "check A", "exit A", "delete A") and runs the hooks a test gives it, which may change
// state from inside any operation.
#pragma once

#include "Animator/State.h"
#include "Animator/StateAnimator.h"

#include <functional>
#include <string>
#include <vector>

class RecordingState;

// An animator of recording states; its start-up is the one every animator with states follows.
class RecordingAnimator : public StateAnimator<RecordingAnimator, RecordingState>
{
public:
    ~RecordingAnimator() override { ExitCurrentState(); }
    void OnStart() override;

    using Animator::CreatePlayersForClips;
    // The state machine's step alone, without clips or a mesh.
    using StateAnimator::UpdateCurrentState;
};

class RecordingState : public TransitionState<RecordingAnimator>
{
public:
    using Hook = std::function<void(RecordingAnimator&)>;

    RecordingState(std::string aName, std::vector<std::string>& aLog) : myName(std::move(aName)), myLog(aLog)
    {
    }
    ~RecordingState() override { myLog.push_back("delete " + myName); }

    std::string GetName() const override { return myName; }
    void Update(RecordingAnimator& aAnimator, float aDeltaTime) override
    {
        myLog.push_back("update " + myName + " at " + std::to_string(TimeOf(aAnimator)));
        static_cast<void>(aDeltaTime);
        Run(onUpdate, aAnimator);
        // Touches the state after a change it may have made: the machine must keep it alive.
        ++myUpdates;
    }
    void CheckTransition(RecordingAnimator& aAnimator) override
    {
        myLog.push_back("check " + myName);
        Run(onCheck, aAnimator);
        ++myChecks;
    }
    void OnEnter(RecordingAnimator& aAnimator) override
    {
        myLog.push_back("enter " + myName);
        Run(onEnter, aAnimator);
        ++myEnters;
    }
    void OnExit(RecordingAnimator& aAnimator) override
    {
        myLog.push_back("exit " + myName);
        Run(onExit, aAnimator);
    }

    Hook onEnter;
    Hook onUpdate;
    Hook onCheck;
    Hook onExit;

private:
    static float TimeOf(RecordingAnimator& aAnimator)
    {
        const Qel::AnimationPlayer* player = aAnimator.GetCurrentAnimationPlayer();
        return player != nullptr ? player->myTime : -1.0f;
    }
    static void Run(const Hook& aHook, RecordingAnimator& aAnimator)
    {
        if (aHook)
        {
            aHook(aAnimator);
        }
    }

    std::string myName;
    std::vector<std::string>& myLog;
    int myUpdates = 0;
    int myChecks = 0;
    int myEnters = 0;
};
