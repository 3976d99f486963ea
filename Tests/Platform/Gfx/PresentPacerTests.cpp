#include "Platform/Gfx/PresentPacer.h"

#include <gtest/gtest.h>

using Platform::Gfx::PresentPacer;
using namespace std::chrono_literals;

namespace
{
PresentPacer::Clock::time_point At(std::chrono::microseconds aTime)
{
    return PresentPacer::Clock::time_point{} + 1h + aTime;
}
} // namespace

TEST(PresentPacer, PresentsThatReturnAtOnceWaitForTheirPeriod)
{
    PresentPacer pacer;
    const auto period = std::chrono::duration_cast<PresentPacer::Clock::duration>(10ms);
    EXPECT_EQ(pacer.OnPresent(At(0us), period), At(0us)) << "the first frame never waits";
    // A frame drawn in 2 ms waits out the rest of its period, and the next is timed from that deadline.
    EXPECT_EQ(pacer.OnPresent(At(2ms), period), At(10ms));
    EXPECT_EQ(pacer.OnPresent(At(12ms), period), At(20ms));
    // A frame that comes after its deadline but within a period goes on at once; the count holds.
    EXPECT_EQ(pacer.OnPresent(At(33ms), period), At(33ms));
    EXPECT_EQ(pacer.OnPresent(At(34ms), period), At(40ms));
}

TEST(PresentPacer, ADriverThatWaitsForTheRefreshIsNeverHeldBack)
{
    PresentPacer pacer;
    const auto refresh = std::chrono::microseconds(16667);
    const PresentPacer::Clock::duration period = PresentPacer::PeriodOfRefreshRate(60);
    EXPECT_LT(period, refresh);
    for (int frame = 0; frame < 600; ++frame)
    {
        const auto now = At(refresh * frame);
        EXPECT_EQ(pacer.OnPresent(now, period), now) << frame;
    }
}

TEST(PresentPacer, ALongStallStartsTheCountAnewInsteadOfABurst)
{
    PresentPacer pacer;
    const auto period = std::chrono::duration_cast<PresentPacer::Clock::duration>(10ms);
    pacer.OnPresent(At(0us), period);
    EXPECT_EQ(pacer.OnPresent(At(500ms), period), At(500ms));
    EXPECT_EQ(pacer.OnPresent(At(501ms), period), At(510ms));
    pacer.Reset();
    EXPECT_EQ(pacer.OnPresent(At(511ms), period), At(511ms));
    EXPECT_EQ(PresentPacer::PeriodOfRefreshRate(0), PresentPacer::PeriodOfRefreshRate(60));
    EXPECT_LT(PresentPacer::PeriodOfRefreshRate(144), PresentPacer::PeriodOfRefreshRate(60));
}
