// The engine's frame clock: turns counter readings into steps of 100-nanosecond ticks, clamps long
// stalls to a tenth of a second, optionally runs fixed steps, and counts frames per second. The
// counter source is borrowed and must outlive the timer. Main thread only.
#pragma once

#include "vek/Core/CounterSource.h"

#include <cstdint>

namespace Qel
{
class FrameTimer
{
public:
    static constexpr std::uint64_t TICKS_PER_SECOND = 10'000'000;
    // A sixtieth of a second.
    static constexpr std::uint64_t DEFAULT_TARGET_ELAPSED_TICKS = 166'666;

    explicit FrameTimer(const CounterSource& aSource = GetSteadyClockCounter());

    // Reads the counter and calls aUpdate once per step taken: once in variable mode, zero or more
    // times in fixed mode.
    template <typename Update>
    void Tick(Update&& aUpdate)
    {
        const std::uint32_t steps = Advance();
        for (std::uint32_t i = 0; i < steps; ++i)
        {
            TakeStep();
            aUpdate();
        }
        FinishTick();
    }

    std::uint64_t GetElapsedTicks() const { return myElapsedTicks; }
    double GetElapsedSeconds() const { return TicksToSeconds(myElapsedTicks); }
    std::uint64_t GetTotalTicks() const { return myTotalTicks; }
    std::uint64_t GetLeftOverTicks() const { return myLeftOverTicks; }
    std::uint32_t GetFrameCount() const { return myFrameCount; }
    std::uint32_t GetFramesPerSecond() const { return myFramesPerSecond; }

    void SetFixedTimeStep(bool aIsFixed) { myIsFixedTimeStep = aIsFixed; }
    void SetTargetElapsedTicks(std::uint64_t aTicks);
    // The longest step, in counts of the source; longer gaps are cut to it.
    void SetMaximumDelta(std::uint64_t aCounts) { myMaximumDelta = aCounts; }

    static constexpr double TicksToSeconds(std::uint64_t aTicks)
    {
        return static_cast<double>(aTicks) / static_cast<double>(TICKS_PER_SECOND);
    }

private:
    // Reads the counter and returns how many steps this tick takes.
    std::uint32_t Advance();
    void TakeStep();
    void FinishTick();

    const CounterSource* mySource;
    std::int64_t myFrequency;
    std::int64_t myLastCount;
    std::uint64_t myMaximumDelta;
    std::uint64_t myElapsedTicks = 0;
    std::uint64_t myTotalTicks = 0;
    std::uint64_t myLeftOverTicks = 0;
    std::uint32_t myFrameCount = 0;
    std::uint32_t myFramesPerSecond = 0;
    std::uint32_t myFramesThisSecond = 0;
    std::uint64_t mySecondCounter = 0;
    bool myIsFixedTimeStep = false;
    std::uint64_t myTargetElapsedTicks = DEFAULT_TARGET_ELAPSED_TICKS;

    // The step length and mode of the tick in progress.
    std::uint64_t myStepTicks = 0;
    bool myIsTickFixed = false;
    std::uint32_t myFrameCountAtTickStart = 0;
};
} // namespace Qel
