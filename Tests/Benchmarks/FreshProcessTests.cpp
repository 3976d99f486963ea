// A benchmark's fresh processes: their figures read back, their exit status, the environment they are
// given (the launch time among it) and their standard error kept or silenced.
#include "Support/FreshProcess.h"

#include <gtest/gtest.h>

namespace
{
QelBenchmark::FreshRun RunShell(const std::string& aScript,
                                const std::vector<std::string>& someVariables = {}, bool aQuiet = false)
{
    return QelBenchmark::RunFresh({"-c", aScript}, someVariables, aQuiet, "/bin/sh");
}

TEST(BenchmarkFreshProcess, FiguresAndTheExitStatusComeBack)
{
    const QelBenchmark::FreshRun run = RunShell("echo starting; echo '@figure load 4.5'; echo done");
    EXPECT_TRUE(run.succeeded);
    ASSERT_EQ(run.figures.count("load"), 1u);
    EXPECT_DOUBLE_EQ(run.figures.at("load"), 4.5);
    EXPECT_NE(run.output.find("starting"), std::string::npos);

    const QelBenchmark::FreshRun failing = RunShell("echo '@figure load 1'; exit 3");
    EXPECT_FALSE(failing.succeeded);
    EXPECT_DOUBLE_EQ(failing.figures.at("load"), 1.0);

    const QelBenchmark::FreshRun missing = QelBenchmark::RunFresh({}, {}, false, "/no/such/program");
    EXPECT_FALSE(missing.succeeded);
    EXPECT_TRUE(missing.figures.empty());
}

TEST(BenchmarkFreshProcess, GivenVariablesReplaceInheritedOnesAndTheLaunchTimeIsFresh)
{
    setenv("QEL_BENCH_TEST_VALUE", "1", 1);
    setenv("QEL_BENCH_TEST_KEPT", "7", 1);
    setenv(QelBenchmark::SPAWN_TIME_VARIABLE, "5", 1);
    const long long before = QelBenchmark::MonotonicNanoseconds();
    const QelBenchmark::FreshRun run =
        RunShell("echo \"@figure value $QEL_BENCH_TEST_VALUE\"; echo \"@figure kept $QEL_BENCH_TEST_KEPT\";"
                 "echo \"@figure count $(env | grep -c '^QEL_BENCH_TEST_VALUE=')\";"
                 "echo \"@figure launch $" +
                     std::string(QelBenchmark::SPAWN_TIME_VARIABLE) + "\"",
                 {"QEL_BENCH_TEST_VALUE=2"});
    const long long after = QelBenchmark::MonotonicNanoseconds();
    unsetenv("QEL_BENCH_TEST_VALUE");
    unsetenv("QEL_BENCH_TEST_KEPT");
    unsetenv(QelBenchmark::SPAWN_TIME_VARIABLE);
    ASSERT_TRUE(run.succeeded) << run.output;
    EXPECT_DOUBLE_EQ(run.figures.at("value"), 2.0);
    EXPECT_DOUBLE_EQ(run.figures.at("kept"), 7.0);
    EXPECT_DOUBLE_EQ(run.figures.at("count"), 1.0);
    // Not the inherited 5, but the moment of this spawn.
    EXPECT_GE(run.figures.at("launch"), static_cast<double>(before));
    EXPECT_LE(run.figures.at("launch"), static_cast<double>(after));
}

TEST(BenchmarkFreshProcess, StandardErrorIsNeverReadAsOutput)
{
    for (const bool quiet : {false, true})
    {
        const QelBenchmark::FreshRun run =
            RunShell("echo '@figure hidden 1' >&2; echo '@figure shown 2'", {}, quiet);
        EXPECT_TRUE(run.succeeded);
        EXPECT_EQ(run.figures.count("hidden"), 0u);
        EXPECT_EQ(run.figures.count("shown"), 1u);
    }
}
} // namespace
