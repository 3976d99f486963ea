// Frame times tagged with the phase of the program they fell in: the figures a child sends them back
// under, and what a table of them is made of (per phase in the order the phases came, and the long
// frames). A phase name holds no space and no dot.
#pragma once

#include "Support/Figures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace QelBenchmark
{
struct PhaseFrame
{
    int index = 0;
    std::string phase;
    double milliseconds = 0.0;
};

struct PhaseSummary
{
    std::string phase;
    std::size_t frames = 0;
    double median = 0.0;
    double p99 = 0.0;
    double max = 0.0;
    std::size_t over33 = 0;
    std::size_t over50 = 0;
};

// "frame.<index, six digits>.<phase>": the figure map keeps the frames in their order.
inline std::string FrameFigureName(int anIndex, const std::string& aPhase)
{
    char index[16];
    std::snprintf(index, sizeof(index), "%06d", anIndex);
    return std::string("frame.") + index + "." + aPhase;
}

inline std::vector<PhaseFrame> FramesFromFigures(const std::map<std::string, double>& someFigures)
{
    std::vector<PhaseFrame> frames;
    const std::string mark = "frame.";
    for (auto at = someFigures.lower_bound(mark); at != someFigures.end() && at->first.rfind(mark, 0) == 0;
         ++at)
    {
        const std::string& name = at->first;
        const std::size_t dot = name.find('.', mark.size());
        if (dot == std::string::npos || dot + 1 == name.size())
        {
            continue;
        }
        char* end = nullptr;
        const long index = std::strtol(name.c_str() + mark.size(), &end, 10);
        if (end != name.c_str() + dot)
        {
            continue;
        }
        frames.push_back({static_cast<int>(index), name.substr(dot + 1), at->second});
    }
    return frames;
}

inline std::vector<PhaseSummary> SummarisePhases(const std::vector<PhaseFrame>& someFrames)
{
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> times;
    for (const PhaseFrame& frame : someFrames)
    {
        if (times.count(frame.phase) == 0)
        {
            order.push_back(frame.phase);
        }
        times[frame.phase].push_back(frame.milliseconds);
    }
    std::vector<PhaseSummary> summaries;
    for (const std::string& phase : order)
    {
        const std::vector<double>& samples = times[phase];
        PhaseSummary summary;
        summary.phase = phase;
        summary.frames = samples.size();
        summary.median = Median(samples);
        summary.p99 = Percentile(samples, 0.99);
        summary.max = *std::max_element(samples.begin(), samples.end());
        summary.over33 = static_cast<std::size_t>(
            std::count_if(samples.begin(), samples.end(), [](double aTime) { return aTime > 33.0; }));
        summary.over50 = static_cast<std::size_t>(
            std::count_if(samples.begin(), samples.end(), [](double aTime) { return aTime > 50.0; }));
        summaries.push_back(summary);
    }
    return summaries;
}

// The frames longer than aLimit from the frame numbered aFirstIndex on.
inline std::vector<PhaseFrame> FramesOver(const std::vector<PhaseFrame>& someFrames, double aLimit,
                                          int aFirstIndex)
{
    std::vector<PhaseFrame> over;
    std::copy_if(someFrames.begin(), someFrames.end(), std::back_inserter(over),
                 [&](const PhaseFrame& aFrame)
                 { return aFrame.index >= aFirstIndex && aFrame.milliseconds > aLimit; });
    return over;
}
} // namespace QelBenchmark
