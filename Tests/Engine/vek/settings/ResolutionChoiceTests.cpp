#include "vek/settings/ResolutionChoice.h"

#include <gtest/gtest.h>

using Qel::Vector2;
using Size = Qel::Vector2<std::uint32_t>;

TEST(ResolutionChoice, TheNearestCandidateToTheScreenIsTaken)
{
    EXPECT_EQ(Qel::ChooseResolution(1366, 768), Size(1280, 720));
    EXPECT_EQ(Qel::ChooseResolution(1920, 1200), Size(1920, 1080));
    EXPECT_EQ(Qel::ChooseResolution(3840, 2160), Size(2560, 1440));
    EXPECT_EQ(Qel::ChooseResolution(800, 600), Size(1280, 720));
    EXPECT_EQ(Qel::ChooseResolution(2560, 1440), Size(2560, 1440));
}

TEST(ResolutionChoice, AnExactTieGoesToTheGreaterHeight)
{
    // 1600x900 lies 320 by 180 from both 1280x720 and 1920x1080.
    EXPECT_EQ(Qel::ChooseResolution(1600, 900), Size(1920, 1080));
    const Size reversed[] = {{1920, 1080}, {1280, 720}};
    EXPECT_EQ(Qel::ChooseResolution(1600, 900, reversed), Size(1920, 1080));
}

TEST(ResolutionChoice, DegenerateScreensStillGetACandidate)
{
    EXPECT_EQ(Qel::ChooseResolution(0, 0), Size(1280, 720));
    EXPECT_EQ(Qel::ChooseResolution(-5000, 100), Size(1280, 720));
    EXPECT_EQ(Qel::ChooseResolution(2147483647, 2147483647), Size(2560, 1440));
    EXPECT_EQ(Qel::ChooseResolution(1920, 1080, {}), Size(0, 0));
}

TEST(SizeRatiosFromRenderSize, LandscapeAndPortraitGiveTheSameRatios)
{
    for (const Size size : {Size(1920, 1080), Size(1080, 1920)})
    {
        const Qel::SizeRatios ratios = Qel::ComputeSizeRatios(size.x, size.y);
        EXPECT_FLOAT_EQ(ratios.largerBySmaller, 1.7777778f);
        EXPECT_FLOAT_EQ(ratios.smallerByLarger, 0.5625f);
        EXPECT_EQ(ratios.largerBySmallerVector, Vector2<float>(1.0f, ratios.largerBySmaller));
        EXPECT_EQ(ratios.smallerByLargerVector, Vector2<float>(1.0f, 0.5625f));
    }
}

TEST(SizeRatiosFromRenderSize, AZeroSideGivesOnesInsteadOfInfinity)
{
    for (const Size size : {Size(0, 720), Size(1280, 0), Size(0, 0)})
    {
        const Qel::SizeRatios ratios = Qel::ComputeSizeRatios(size.x, size.y);
        EXPECT_EQ(ratios.largerBySmaller, 1.0f);
        EXPECT_EQ(ratios.smallerByLarger, 1.0f);
    }
}
