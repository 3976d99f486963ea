// Medians and percentiles as the benchmark tables print them, the figures read back from a child's
// output among its log lines, and frame times per phase.
#include "Support/FreshProcess.h"
#include "Support/PhaseFrames.h"

#include <gtest/gtest.h>

namespace
{
TEST(BenchmarkFigures, PercentilesTakeTheNearestRankOfTheSortedSamples)
{
    EXPECT_EQ(QelBenchmark::Median({}), 0.0);
    EXPECT_EQ(QelBenchmark::Median({7.0}), 7.0);
    EXPECT_EQ(QelBenchmark::Median({9.0, 1.0, 5.0}), 5.0);
    // An even count gives the lower middle sample, not the upper one or a mean.
    EXPECT_EQ(QelBenchmark::Median({4.0, 1.0, 3.0, 2.0}), 2.0);

    std::vector<double> twenty;
    for (int value = 20; value >= 1; --value)
    {
        twenty.push_back(value);
    }
    EXPECT_EQ(QelBenchmark::Percentile(twenty, 0.95), 19.0);
    EXPECT_EQ(QelBenchmark::Percentile(twenty, 1.0), 20.0);
    EXPECT_EQ(QelBenchmark::Percentile(twenty, 0.0), 1.0);
    EXPECT_EQ(QelBenchmark::Percentile(twenty, 0.05), 1.0);
    EXPECT_EQ(QelBenchmark::Percentile(twenty, 0.06), 2.0);
    // Out of range shares are clamped.
    EXPECT_EQ(QelBenchmark::Percentile(twenty, 3.0), 20.0);
    EXPECT_EQ(QelBenchmark::Best({3.0, -1.5, 2.0}), -1.5);
    EXPECT_EQ(QelBenchmark::Best({}), 0.0);
}

TEST(BenchmarkFigures, FiguresAreFoundAmongLogLinesAndTheLastOfANameWins)
{
    const std::string output = "[GameWorld] Loaded 12 objects from scene: levels/A.vks\n"
                               "@figure load 12.5\n"
                               "[Engine] something@figure cpu 0.25\n"
                               "@figure load 13.75\n"
                               "@figure broken\n"
                               "@figure novalue x\n"
                               "@figure  3.0\n"
                               "@figure tail -2e-3";
    const std::map<std::string, double> figures = QelBenchmark::ParseFigures(output);
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_DOUBLE_EQ(figures.at("load"), 13.75);
    EXPECT_DOUBLE_EQ(figures.at("cpu"), 0.25);
    EXPECT_DOUBLE_EQ(figures.at("tail"), -0.002);
    EXPECT_TRUE(QelBenchmark::ParseFigures("").empty());
}

TEST(BenchmarkFigures, TheLaunchClockCountsFromTheSpawnTimeItIsGiven)
{
    const long long now = QelBenchmark::MonotonicNanoseconds();
    setenv(QelBenchmark::SPAWN_TIME_VARIABLE, std::to_string(now - 2'000'000'000LL).c_str(), 1);
    const QelBenchmark::LaunchClock launched;
    unsetenv(QelBenchmark::SPAWN_TIME_VARIABLE);
    const QelBenchmark::LaunchClock own;
    const double launchedNow = launched.Now();
    const double ownNow = own.Now();
    // Bounded by the time the test itself has taken, in milliseconds, however long that was.
    const double taken = static_cast<double>(QelBenchmark::MonotonicNanoseconds() - now) / 1e6;
    EXPECT_GE(launchedNow, 2000.0);
    EXPECT_LE(launchedNow, 2000.0 + taken);
    EXPECT_GE(ownNow, 0.0);
    EXPECT_LE(ownNow, taken);
}

TEST(BenchmarkFigures, ThreadCpuTimeGrowsOnlyWithWork)
{
    const double start = QelBenchmark::ThreadCpuMilliseconds();
    volatile double sink = 0.0;
    for (int step = 0; step < 20'000'000; ++step)
    {
        sink = sink + static_cast<double>(step);
    }
    EXPECT_GT(QelBenchmark::ThreadCpuMilliseconds(), start);
    // A wait uses no CPU time.
    const double beforeSleep = QelBenchmark::ThreadCpuMilliseconds();
    const double slept = QelBenchmark::MillisecondsToRun([] { usleep(50'000); });
    EXPECT_GE(slept, 50.0);
    EXPECT_LT(QelBenchmark::ThreadCpuMilliseconds() - beforeSleep, slept);
}
TEST(BenchmarkFigures, PhaseFramesComeBackInTheirOrderAndAreSummedUpPerPhase)
{
    // Twelve frames, so that frame 10 has to sort after frame 9.
    const std::vector<std::pair<std::string, double>> sent = {
        {"logos", 100.0},    {"logos", 40.0},     {"logos", 20.0},     {"level-run", 60.0},
        {"level-run", 30.0}, {"results", 51.0},   {"level-run", 10.0}, {"level-run", 10.0},
        {"level-run", 10.0}, {"level-run", 10.0}, {"load-L_A", 34.0},  {"logos", 1.0}};
    std::string output = "[GameWorld] a log line\n@figure first-present 812.5\n@figure frame.x.logos 9\n";
    for (std::size_t index = 0; index < sent.size(); ++index)
    {
        output += std::string(QelBenchmark::FIGURE_MARK) +
                  QelBenchmark::FrameFigureName(static_cast<int>(index), sent[index].first) + " " +
                  std::to_string(sent[index].second) + "\n";
    }
    EXPECT_EQ(QelBenchmark::FrameFigureName(12, "title"), "frame.000012.title");

    const std::vector<QelBenchmark::PhaseFrame> frames =
        QelBenchmark::FramesFromFigures(QelBenchmark::ParseFigures(output));
    ASSERT_EQ(frames.size(), sent.size());
    for (std::size_t index = 0; index < sent.size(); ++index)
    {
        EXPECT_EQ(frames[index].index, static_cast<int>(index));
        EXPECT_EQ(frames[index].phase, sent[index].first);
        EXPECT_DOUBLE_EQ(frames[index].milliseconds, sent[index].second);
    }

    // A phase met again later adds to its row; rows keep the order phases first came in.
    const std::vector<QelBenchmark::PhaseSummary> phases = QelBenchmark::SummarisePhases(frames);
    ASSERT_EQ(phases.size(), 4u);
    EXPECT_EQ(phases[0].phase, "logos");
    EXPECT_EQ(phases[0].frames, 4u);
    EXPECT_DOUBLE_EQ(phases[0].median, 20.0);
    EXPECT_DOUBLE_EQ(phases[0].p99, 100.0);
    EXPECT_DOUBLE_EQ(phases[0].max, 100.0);
    EXPECT_EQ(phases[0].over33, 2u);
    EXPECT_EQ(phases[0].over50, 1u);
    EXPECT_EQ(phases[1].phase, "level-run");
    EXPECT_EQ(phases[1].frames, 6u);
    EXPECT_DOUBLE_EQ(phases[1].median, 10.0);
    EXPECT_EQ(phases[2].phase, "results");
    EXPECT_EQ(phases[2].over50, 1u);
    EXPECT_EQ(phases[3].phase, "load-L_A");
    EXPECT_EQ(phases[3].over33, 1u);
    EXPECT_EQ(phases[3].over50, 0u);

    // The first frame is left out of the long ones however long it was.
    std::vector<int> over;
    for (const QelBenchmark::PhaseFrame& frame : QelBenchmark::FramesOver(frames, 33.0, 1))
    {
        over.push_back(frame.index);
    }
    EXPECT_EQ(over, (std::vector<int>{1, 3, 5, 10}));
    EXPECT_EQ(QelBenchmark::FramesOver(frames, 50.0, 0).size(), 3u);
    EXPECT_TRUE(QelBenchmark::SummarisePhases({}).empty());
}
} // namespace
