// A run of the whole program written as steps that the session's director takes one after another:
// each step is called once a frame until it says it is done, and the run fails, naming the step, when
// a step takes longer than its limit or fails itself. Main thread.
#pragma once

#include "Game/Support/GameSession.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace GameTest
{
class SessionSteps
{
public:
    // Called once a frame with the frames the step has had before; true when the step is done.
    using Step = std::function<bool(GameSession&, int aFrameInStep)>;
    using Condition = std::function<bool(const GameSession&)>;
    // A limit for steps that wait on work running in real time beside the frames (a level's load on a
    // task): the wait deadline, not a count of frames, which pass faster on a quicker machine.
    static constexpr int UNTIL_WAIT_DEADLINE = -1;

    void Add(std::string aName, int aLimitFrames, Step aStep);

    // Something to do once.
    void Do(std::string aName, std::function<void(GameSession&)> anAction);
    // Frames go by until the condition holds.
    void WaitFor(std::string aName, int aLimitFrames, Condition aCondition);
    // A key goes down for a frame and up the next; the menu on top has acted on it when the step ends.
    void Tap(std::string aName, std::uint32_t aKey);
    // Taps aKey until the condition holds.
    void TapUntil(std::string aName, std::uint32_t aKey, int aLimitTaps, Condition aCondition);
    // A pad button is held for a frame and let go the next, as Tap does with a key.
    void TapPad(std::string aName, SDL_GameControllerButton aButton);

    // The director: false once every step is done or the run has failed.
    bool operator()(GameSession& aSession);
    // Fails the run from inside a step; the first failure is the one kept.
    void Fail(const std::string& aWhy);

    bool IsFinished() const { return myStep >= mySteps.size(); }
    const std::string& GetFailure() const { return myFailure; }
    // The step running, for messages.
    std::string GetStepName() const;

private:
    struct Entry
    {
        std::string name;
        int limitFrames = 0;
        Step step;
        std::chrono::steady_clock::time_point started{};
    };

    std::vector<Entry> mySteps;
    std::size_t myStep = 0;
    int myFrameInStep = 0;
    std::string myFailure;
};
} // namespace GameTest
