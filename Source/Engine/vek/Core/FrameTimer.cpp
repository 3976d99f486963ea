#include "vek/Core/FrameTimer.h"

#include "vek/Core/Assert.h"

namespace Qel
{
namespace
{
// A quarter of a millisecond: fixed steps this close to the target are taken as exactly the target,
// so a display running at almost the target rate does not drift.
constexpr std::uint64_t SNAP_TICKS = FrameTimer::TICKS_PER_SECOND / 4000;

std::int64_t SafeFrequency(const CounterSource& aSource)
{
    const std::int64_t frequency = aSource.GetFrequency();
    QEL_ASSERT(frequency > 0 && "A counter source needs a positive frequency");
    return frequency > 0 ? frequency : 1;
}
} // namespace

FrameTimer::FrameTimer(const CounterSource& aSource)
    : mySource(&aSource), myFrequency(SafeFrequency(aSource)), myLastCount(aSource.GetCount()),
      myMaximumDelta(static_cast<std::uint64_t>(myFrequency / 10))
{
}

void FrameTimer::SetTargetElapsedTicks(std::uint64_t aTicks)
{
    QEL_ASSERT(aTicks > 0 && "A fixed step needs a positive length");
    myTargetElapsedTicks = aTicks > 0 ? aTicks : DEFAULT_TARGET_ELAPSED_TICKS;
}

std::uint32_t FrameTimer::Advance()
{
    const std::int64_t reading = mySource->GetCount();
    // Unsigned on purpose: a counter that ran backwards counts as a long stall and is clamped.
    std::uint64_t deltaCounts = static_cast<std::uint64_t>(reading - myLastCount);
    myLastCount = reading;
    mySecondCounter += deltaCounts;

    if (deltaCounts > myMaximumDelta)
    {
        deltaCounts = myMaximumDelta;
    }
    std::uint64_t deltaTicks = deltaCounts * TICKS_PER_SECOND / static_cast<std::uint64_t>(myFrequency);
    myFrameCountAtTickStart = myFrameCount;

    if (!myIsFixedTimeStep)
    {
        myLeftOverTicks = 0;
        myStepTicks = deltaTicks;
        myIsTickFixed = false;
        return 1;
    }

    const std::uint64_t distance = deltaTicks > myTargetElapsedTicks ? deltaTicks - myTargetElapsedTicks
                                                                     : myTargetElapsedTicks - deltaTicks;
    if (distance < SNAP_TICKS)
    {
        deltaTicks = myTargetElapsedTicks;
    }
    myLeftOverTicks += deltaTicks;
    myIsTickFixed = true;
    myStepTicks = myTargetElapsedTicks;
    return static_cast<std::uint32_t>(myLeftOverTicks / myTargetElapsedTicks);
}

void FrameTimer::TakeStep()
{
    myElapsedTicks = myStepTicks;
    myTotalTicks += myStepTicks;
    if (myIsTickFixed)
    {
        myLeftOverTicks -= myStepTicks;
    }
    ++myFrameCount;
}

void FrameTimer::FinishTick()
{
    if (myFrameCount != myFrameCountAtTickStart)
    {
        ++myFramesThisSecond;
    }
    const std::uint64_t frequency = static_cast<std::uint64_t>(myFrequency);
    if (mySecondCounter >= frequency)
    {
        myFramesPerSecond = myFramesThisSecond;
        myFramesThisSecond = 0;
        mySecondCounter %= frequency;
    }
}
} // namespace Qel
