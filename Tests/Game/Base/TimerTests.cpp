#include "Base/Timer.h"
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

TEST(GameTimer, TotalTimeIsTheTimeSinceConstructionWithOrWithoutAnUpdate)
{
    QelTest::ManualCounter counter(1'000'000'000);
    Timer timer(counter);
    EXPECT_EQ(timer.GetTotalTime(), 0.0);
    counter.Advance(500'000'000);
    EXPECT_DOUBLE_EQ(timer.GetTotalTime(), 0.5);
    timer.Update();
    counter.Advance(250'000'000);
    EXPECT_DOUBLE_EQ(timer.GetTotalTime(), 0.75);
    EXPECT_FLOAT_EQ(timer.GetDeltaTime(), 0.5f) << "the delta still moves only with Update";
}
