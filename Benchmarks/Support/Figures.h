// What benchmark figures are made of: the clocks (monotonic, and the calling thread's CPU time), medians
// and percentiles of samples, and the machine's load average to print beside them.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace QelBenchmark
{
inline long long MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// The CPU time the calling thread has used; work done by other threads (a driver's) is not in it.
inline double ThreadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// The wall time aWork takes, in milliseconds.
template <typename Work>
double MillisecondsToRun(Work&& aWork)
{
    const auto start = std::chrono::steady_clock::now();
    aWork();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The nearest-rank percentile: the smallest sample with at least aShare (0..1] of the samples at or
// below it. The median of an even count is the lower middle sample. 0 for no samples.
inline double Percentile(std::vector<double> someValues, double aShare)
{
    if (someValues.empty())
    {
        return 0.0;
    }
    std::sort(someValues.begin(), someValues.end());
    const double rank = std::ceil(std::clamp(aShare, 0.0, 1.0) * static_cast<double>(someValues.size()));
    const std::size_t index = rank < 1.0 ? 0 : static_cast<std::size_t>(rank) - 1;
    return someValues[std::min(index, someValues.size() - 1)];
}

inline double Median(std::vector<double> someValues)
{
    return Percentile(std::move(someValues), 0.5);
}

inline double Best(const std::vector<double>& someValues)
{
    return someValues.empty() ? 0.0 : *std::min_element(someValues.begin(), someValues.end());
}

// The 1-, 5- and 15-minute load averages, as the kernel reports them.
inline std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one;
    std::string five;
    std::string fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}
} // namespace QelBenchmark
