#include "Support/AssertCapture.h"
#include "Support/ManualCounter.h"
#include "vek/Core/FrameTimer.h"

#include <gtest/gtest.h>

#include <vector>

using Qel::FrameTimer;
using QelTest::ManualCounter;

namespace
{
constexpr std::int64_t TEN_MHZ = 10'000'000;
constexpr std::int64_t NANOSECONDS = 1'000'000'000;

// Ticks once after advancing the counter and returns the elapsed ticks each update saw.
std::vector<std::uint64_t> TickAfter(FrameTimer& aTimer, ManualCounter& aCounter, std::int64_t aCounts)
{
    aCounter.Advance(aCounts);
    std::vector<std::uint64_t> steps;
    aTimer.Tick([&] { steps.push_back(aTimer.GetElapsedTicks()); });
    return steps;
}
} // namespace

TEST(FrameTimerVariableStep, CountsBecomeTicksOfAHundredNanoseconds)
{
    ManualCounter counter(NANOSECONDS);
    FrameTimer timer(counter);
    EXPECT_EQ(TickAfter(timer, counter, 16'666'667), std::vector<std::uint64_t>{166'666}) << "truncated";
    EXPECT_EQ(TickAfter(timer, counter, 5'000'000), std::vector<std::uint64_t>{50'000});
    EXPECT_EQ(timer.GetTotalTicks(), 216'666u);
    EXPECT_EQ(timer.GetFrameCount(), 2u);
    EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.005);
}

TEST(FrameTimerVariableStep, AStallIsClampedToATenthOfASecond)
{
    for (const std::int64_t frequency : {TEN_MHZ, NANOSECONDS, std::int64_t{3'579'545}})
    {
        SCOPED_TRACE(frequency);
        ManualCounter counter(frequency);
        FrameTimer timer(counter);
        const std::vector<std::uint64_t> steps = TickAfter(timer, counter, 2 * frequency);
        ASSERT_EQ(steps.size(), 1u);
        // frequency / 10 counts, truncated twice.
        EXPECT_NEAR(static_cast<double>(steps[0]), 1'000'000.0, 3.0);
    }
}

TEST(FrameTimerVariableStep, ACounterRunningBackwardsCountsAsTheLongestStep)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    EXPECT_EQ(TickAfter(timer, counter, -500), std::vector<std::uint64_t>{1'000'000});
    EXPECT_EQ(TickAfter(timer, counter, 100), std::vector<std::uint64_t>{100});
}

TEST(FrameTimerVariableStep, ALowerMaximumDeltaClampsSooner)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    timer.SetMaximumDelta(1000);
    EXPECT_EQ(TickAfter(timer, counter, 5000), std::vector<std::uint64_t>{1000});
}

TEST(FrameTimerFixedStep, NearTheTargetSnapsToExactlyOneStep)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    timer.SetFixedTimeStep(true);
    EXPECT_EQ(TickAfter(timer, counter, 166'668), std::vector<std::uint64_t>{166'666});
    EXPECT_EQ(timer.GetLeftOverTicks(), 0u);
    EXPECT_EQ(TickAfter(timer, counter, 164'200), std::vector<std::uint64_t>{166'666})
        << "2466 below still snaps";
    EXPECT_EQ(timer.GetLeftOverTicks(), 0u);
}

TEST(FrameTimerFixedStep, BeyondTheSnapWindowTheRestIsCarried)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    timer.SetFixedTimeStep(true);
    EXPECT_EQ(TickAfter(timer, counter, 170'000), std::vector<std::uint64_t>{166'666});
    EXPECT_EQ(timer.GetLeftOverTicks(), 3'334u);
    EXPECT_EQ(timer.GetTotalTicks(), 166'666u);
}

TEST(FrameTimerFixedStep, AShortTickCallsNoUpdateUntilEnoughHasGathered)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    timer.SetFixedTimeStep(true);
    ASSERT_EQ(TickAfter(timer, counter, 170'000).size(), 1u);
    const std::uint64_t elapsedBefore = timer.GetElapsedTicks();
    EXPECT_TRUE(TickAfter(timer, counter, 100'000).empty());
    EXPECT_EQ(timer.GetElapsedTicks(), elapsedBefore);
    EXPECT_EQ(timer.GetFrameCount(), 1u);
    EXPECT_EQ(timer.GetLeftOverTicks(), 103'334u);
    EXPECT_EQ(TickAfter(timer, counter, 100'000).size(), 1u);
    EXPECT_EQ(timer.GetLeftOverTicks(), 203'334u - 166'666u);
}

TEST(FrameTimerFixedStep, AClampedStallRunsSeveralStepsInOneTick)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    timer.SetFixedTimeStep(true);
    std::vector<std::uint64_t> leftOverSeen;
    counter.Advance(5 * TEN_MHZ);
    timer.Tick([&] { leftOverSeen.push_back(timer.GetLeftOverTicks()); });
    // A tenth of a second holds six sixtieths with 4 ticks to spare; each step takes its share first.
    ASSERT_EQ(leftOverSeen.size(), 6u);
    EXPECT_EQ(leftOverSeen.front(), 1'000'000u - 166'666u);
    EXPECT_EQ(leftOverSeen.back(), 4u);
    EXPECT_EQ(timer.GetFrameCount(), 6u);
    EXPECT_EQ(timer.GetTotalTicks(), 6u * 166'666u);
}

TEST(FrameTimerFramesPerSecond, TheCountOfTheLastFullSecondIsReported)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    for (int i = 0; i < 9; ++i)
    {
        TickAfter(timer, counter, TEN_MHZ / 10);
        EXPECT_EQ(timer.GetFramesPerSecond(), 0u);
    }
    TickAfter(timer, counter, TEN_MHZ / 10);
    EXPECT_EQ(timer.GetFramesPerSecond(), 10u);
    // A stall counts fully towards the second although its step is clamped.
    TickAfter(timer, counter, TEN_MHZ + TEN_MHZ / 2);
    EXPECT_EQ(timer.GetFramesPerSecond(), 1u);
    for (int i = 0; i < 4; ++i)
    {
        TickAfter(timer, counter, TEN_MHZ / 10);
    }
    EXPECT_EQ(timer.GetFramesPerSecond(), 1u);
    TickAfter(timer, counter, TEN_MHZ / 10);
    EXPECT_EQ(timer.GetFramesPerSecond(), 5u);
}

TEST(FrameTimerFramesPerSecond, FixedTicksWithoutAStepAreNoFrames)
{
    ManualCounter counter(TEN_MHZ);
    FrameTimer timer(counter);
    timer.SetFixedTimeStep(true);
    int ticksWithAStep = 0;
    for (int i = 0; i < 100; ++i)
    {
        ticksWithAStep += TickAfter(timer, counter, TEN_MHZ / 100).empty() ? 0 : 1;
    }
    // A hundred ticks of a hundredth of a second hold sixty steps, never two in one tick.
    EXPECT_EQ(timer.GetFrameCount(), 60u);
    EXPECT_EQ(ticksWithAStep, 60);
    EXPECT_EQ(timer.GetFramesPerSecond(), 60u);
}

TEST(FrameTimerSource, AZeroFrequencyIsReportedAndDoesNotDivideByZero)
{
    QelTest::AssertCapture capture;
    ManualCounter counter(0);
    FrameTimer timer(counter);
    EXPECT_EQ(capture.GetCount(), 1);
    counter.Advance(5);
    timer.Tick([] {});
    EXPECT_EQ(timer.GetFrameCount(), 1u);
}

TEST(FrameTimerSource, TheSteadyClockMovesForwardInNanoseconds)
{
    const Qel::CounterSource& clock = Qel::GetSteadyClockCounter();
    EXPECT_EQ(clock.GetFrequency(), NANOSECONDS);
    const std::int64_t first = clock.GetCount();
    EXPECT_GE(clock.GetCount(), first);
}
