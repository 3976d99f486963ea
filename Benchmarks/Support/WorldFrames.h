// A level's road through the world as benchmarks time it: the load (the background task, then the
// hand-over a frame pays on the main thread), and engine frames with the main thread's CPU time of the
// work done between the frame's begin and end beside the wall time of the whole frame, present included.
#pragma once

#include "Support/Figures.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace QelBenchmark
{
struct LoadTiming
{
    // From the start of the load until its finished task is taken.
    double background = 0.0;
    // The poll that hands the objects over to the world.
    double handOver = 0.0;

    double Total() const { return background + handOver; }
};

// Loads aLevel through the world as the game does, polling as a frame would.
inline LoadTiming LoadLevelTimed(GameWorld& aWorld, const std::string& aLevel)
{
    using Clock = std::chrono::steady_clock;
    const auto milliseconds = [](Clock::duration aDuration)
    {
        return std::chrono::duration<double, std::milli>(aDuration).count();
    };
    const Clock::time_point start = Clock::now();
    aWorld.StartSceneLoadAsync(aLevel, true);
    LoadTiming timing;
    while (aWorld.IsLoading())
    {
        const Clock::time_point pollStart = Clock::now();
        aWorld.PollSceneLoad();
        const Clock::time_point pollEnd = Clock::now();
        if (!aWorld.IsLoading())
        {
            timing.background = milliseconds(pollStart - start);
            timing.handOver = milliseconds(pollEnd - pollStart);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return timing;
}

struct FrameSamples
{
    // The main thread's CPU time of each frame's work.
    std::vector<double> cpu;
    // Each whole frame, from before its begin to after its present.
    std::vector<double> wall;
    // Of the last frame.
    std::uint32_t drawCalls = 0;
};

// aWarmUp + aFrames engine frames with aWork in each; the warm-up frames (shaders built, textures
// uploaded on first use) are not kept.
inline FrameSamples MeasureFrames(Qel::Engine& anEngine, int aWarmUp, int aFrames,
                                  const std::function<void(int)>& aWork)
{
    FrameSamples samples;
    for (int frame = 0; frame < aWarmUp + aFrames; ++frame)
    {
        const long long frameStart = MonotonicNanoseconds();
        anEngine.BeginFrame();
        const double cpuStart = ThreadCpuMilliseconds();
        aWork(frame);
        const double cpuEnd = ThreadCpuMilliseconds();
        samples.drawCalls = Qel::Engine::GetDrawCallsThisFrame();
        anEngine.EndFrame();
        if (frame >= aWarmUp)
        {
            samples.cpu.push_back(cpuEnd - cpuStart);
            samples.wall.push_back(static_cast<double>(MonotonicNanoseconds() - frameStart) / 1e6);
        }
    }
    return samples;
}
} // namespace QelBenchmark
