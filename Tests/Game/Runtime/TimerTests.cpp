#include "Runtime/Timer.h"
#include "Support/ManualCounter.h"

#include <gtest/gtest.h>

TEST(GameTimer, DeltaIsTheTimeBetweenUpdatesAndIsNotClamped)
{
    QelTest::ManualCounter counter(1'000'000'000);
    Timer timer(counter);
    EXPECT_EQ(timer.GetDeltaTime(), 0.0f);
    counter.Advance(16'000'000);
    timer.Update();
    EXPECT_FLOAT_EQ(timer.GetDeltaTime(), 0.016f);
    counter.Advance(3'000'000'000);
    timer.Update();
    EXPECT_FLOAT_EQ(timer.GetDeltaTime(), 3.0f);
    EXPECT_DOUBLE_EQ(timer.GetTotalTime(), 3.016);
}

TEST(GameTimer, TotalTimeMovesOnlyWithUpdate)
{
    QelTest::ManualCounter counter(1'000'000'000);
    Timer timer(counter);
    counter.Advance(500'000'000);
    EXPECT_EQ(timer.GetTotalTime(), 0.0);
    timer.Update();
    const double first = timer.GetTotalTime();
    counter.Advance(250'000'000);
    EXPECT_EQ(timer.GetTotalTime(), first);
    EXPECT_DOUBLE_EQ(first, 0.5);
}
