// Starts the engine from the run layout's settings with vertical sync off, for benchmarks that draw.
// On failure it marks the benchmark skipped and returns null; callers shut the engine down when done.
#pragma once

#include "vek/Core/Engine.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace QelBenchmark
{
// aAdjust, when given, changes the create parameters after the settings are read.
inline Qel::Engine* StartHeadlessEngine(benchmark::State& aState, const std::function<void()>& aAdjust = {})
{
    if (!Qel::LoadSettings("Game.json"))
    {
        aState.SkipWithError("no settings beside the program");
        return nullptr;
    }
    Qel::GetEngineCreateParameters().vsync = false;
    if (aAdjust)
    {
        aAdjust();
    }
    if (!Qel::Engine::Start())
    {
        aState.SkipWithError("the engine did not start");
        Qel::Engine::Shutdown();
        return nullptr;
    }
    return Qel::Engine::GetInstance();
}
} // namespace QelBenchmark
