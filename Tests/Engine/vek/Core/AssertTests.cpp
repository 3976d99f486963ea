#include "Support/AssertCapture.h"
#include "vek/Core/Assert.h"

#include <gtest/gtest.h>

namespace
{
int CheckedDivide(int aNumerator, int aDenominator)
{
    QEL_ASSERT(aDenominator != 0);
    return aDenominator != 0 ? aNumerator / aDenominator : 0;
}
} // namespace

TEST(Assert, CarriesTheConditionTextAndLetsTheFallbackRun)
{
    QelTest::AssertCapture capture;
    EXPECT_EQ(CheckedDivide(6, 3), 2);
    EXPECT_EQ(capture.GetCount(), 0);
    EXPECT_EQ(CheckedDivide(6, 0), 0);
    ASSERT_EQ(capture.GetCount(), 1);
    EXPECT_EQ(capture.GetFailures()[0], "aDenominator != 0");
    QEL_ASSERT(false && "Could not open the file");
    ASSERT_EQ(capture.GetCount(), 2);
    EXPECT_EQ(capture.GetFailures()[1], "false && \"Could not open the file\"");
}

#ifndef NDEBUG
TEST(AssertDeathTest, DefaultHandlerAbortsInDebugBuilds)
{
    EXPECT_DEATH(CheckedDivide(1, 0), "Assertion failed: aDenominator != 0");
}
#endif
