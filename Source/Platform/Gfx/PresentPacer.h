// Paces presents to the display's refresh where the driver presents at once even with vsync asked
// for (a virtual X server, the software renderer): without it such a game draws as fast as it can on
// every core. A driver that does wait for the refresh returns from its present on time already, so
// the pacer never holds it back; its period is kept a little short of the refresh for that reason.
#pragma once

#include <chrono>

namespace Platform::Gfx
{
class PresentPacer
{
public:
    using Clock = std::chrono::steady_clock;

    // The refresh rate the display reports; 0 or less (unknown) counts as 60 Hz.
    static Clock::duration PeriodOfRefreshRate(int aRefreshRate);

    // Called as each frame is ready to be presented, at aNow: the time to wait until before presenting it
    // (aNow itself when it need not wait). A frame more than a period late starts the count anew, so a
    // slow frame is never made up for with a burst of fast ones.
    Clock::time_point OnPresent(Clock::time_point aNow, Clock::duration aPeriod);

    // Forgets the count, as when vsync is turned off.
    void Reset() { myDeadline = {}; }

private:
    Clock::time_point myDeadline{};
};
} // namespace Platform::Gfx
