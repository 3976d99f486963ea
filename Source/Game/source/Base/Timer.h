// The game world's frame clock on the steady clock: the delta between two updates in float seconds
// and the time since construction in double seconds. Unlike the engine's frame timer the delta is
// not clamped. The counter source is borrowed and must outlive the timer. One owner thread.
#pragma once

#include "vek/Core/CounterSource.h"

#include <cstdint>

class Timer
{
public:
    explicit Timer(const Qel::CounterSource& aSource = Qel::GetSteadyClockCounter());

    void Update();
    float GetDeltaTime() const { return myDeltaTime; }
    // Read from the counter at the call, not at the last Update.
    double GetTotalTime() const;

private:
    const Qel::CounterSource* mySource;
    std::int64_t myStart;
    std::int64_t myPrevious;
    float myDeltaTime = 0.0f;
};
