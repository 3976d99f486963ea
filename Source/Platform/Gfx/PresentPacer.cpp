#include "Platform/Gfx/PresentPacer.h"

namespace Platform::Gfx
{
PresentPacer::Clock::duration PresentPacer::PeriodOfRefreshRate(int aRefreshRate)
{
    constexpr int FALLBACK_RATE = 60;
    // One part in a hundred short: a 59.94 Hz display reported as 60 still never waits on the pacer.
    constexpr double SHORTENING = 0.99;
    const int rate = aRefreshRate > 0 ? aRefreshRate : FALLBACK_RATE;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(SHORTENING / rate));
}

PresentPacer::Clock::time_point PresentPacer::OnPresent(Clock::time_point aNow, Clock::duration aPeriod)
{
    if (myDeadline == Clock::time_point{} || aNow > myDeadline + aPeriod)
    {
        myDeadline = aNow + aPeriod;
        return aNow;
    }
    const Clock::time_point wait = aNow < myDeadline ? myDeadline : aNow;
    myDeadline += aPeriod;
    return wait;
}
} // namespace Platform::Gfx
