// The cost of a frame with 512 live effects (a full pool): updating them, and updating and drawing them
// through a perspective camera, with the engine started headless from the run layout's settings. Seven
// in eight effects are world-space (drifting, one batch each), the rest on screen (one batch per sheet).
#include "Effects/VfxSystem.h"
#include "Support/HeadlessEngine.h"
#include "vek/graphics/GraphicsEngine.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
constexpr const char* WORLD_ID = "benchmark_world";
constexpr const char* SCREEN_ID = "benchmark_screen";

// Two looping definitions of the game's landing dust sheet (a stand-in checker if it is not built).
bool DefineEffects(VfxSystem& aSystem)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qel-effects-benchmark";
    std::filesystem::create_directories(folder);
    const auto write = [&folder](const char* anId, const char* someKeys)
    {
        const std::filesystem::path path = folder / (std::string(anId) + ".json");
        std::ofstream(path)
            << R"({"id": ")" << anId
            << R"(", "texture": "T_VFX_PlayerLand.dds", "columns": 4, "rows": 2, "loop": true, )" << someKeys
            << "}";
        return path;
    };
    const bool isWorld = aSystem.ParseDefinition(
        write(WORLD_ID, R"("motion": "floating", "driftStrength": 20, "size": [2, 2])"));
    const bool isScreen = aSystem.ParseDefinition(write(SCREEN_ID, R"("space": "screen", "size": [64, 64])"));
    std::filesystem::remove_all(folder);
    return isWorld && isScreen;
}

void Fill(VfxSystem& aSystem)
{
    for (std::size_t index = aSystem.GetActiveCount(); index < VfxSystem::POOL_SIZE; ++index)
    {
        const float spread = static_cast<float>(index % 64);
        VfxSpawnParams params;
        params.worldPosition = {spread - 32.0f, static_cast<float>(index % 16) - 8.0f, 20.0f + spread};
        params.screenPosition = {spread * 20.0f, static_cast<float>(index % 9) * 80.0f};
        params.facing = index % 2 == 0 ? 1.0f : -1.0f;
        aSystem.Spawn(index % 8 == 7 ? SCREEN_ID : WORLD_ID, params);
    }
}

struct Session
{
    Qel::Engine* engine = nullptr;
    VfxSystem system;
};

bool Begin(benchmark::State& aState, Session& aSession)
{
    std::ostringstream quiet;
    std::streambuf* previous = std::cout.rdbuf(quiet.rdbuf());
    aSession.engine = QelBenchmark::StartHeadlessEngine(aState);
    const bool isDefined = aSession.engine != nullptr && DefineEffects(aSession.system);
    if (isDefined)
    {
        Fill(aSession.system);
    }
    std::cout.rdbuf(previous);
    if (aSession.engine != nullptr && !isDefined)
    {
        aState.SkipWithError("the effect definitions did not parse");
    }
    return isDefined && aSession.system.GetActiveCount() == VfxSystem::POOL_SIZE;
}

void UpdateFullPool(benchmark::State& aState)
{
    Session session;
    if (Begin(aState, session))
    {
        for (auto _ : aState)
        {
            session.system.Update(1.0f / 60.0f);
            benchmark::DoNotOptimize(session.system.GetInstances().data());
        }
        aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) *
                                 static_cast<std::int64_t>(VfxSystem::POOL_SIZE));
        aState.SetLabel("frames of 512 live effects; items are effects");
    }
    Qel::Engine::Shutdown();
}

void UpdateAndDrawFullPool(benchmark::State& aState)
{
    Session session;
    if (Begin(aState, session))
    {
        Qel::Camera camera;
        camera.SetPerspectiveProjection(90.0f, {1280.0f, 720.0f}, 1.0f, 1000.0f);
        std::uint32_t drawCalls = 0;
        for (auto _ : aState)
        {
            session.engine->BeginFrame();
            session.engine->GetGraphicsEngine()->GetGraphicsStateStack().SetCamera(camera);
            session.system.Update(1.0f / 60.0f);
            session.system.Render();
            drawCalls = Qel::Engine::GetDrawCallsThisFrame();
            session.engine->EndFrame();
        }
        aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) *
                                 static_cast<std::int64_t>(VfxSystem::POOL_SIZE));
        aState.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls);
        aState.SetLabel("frames of 512 live effects, engine frame included; items are effects");
    }
    Qel::Engine::Shutdown();
}

// The engine's own frame without effects, to subtract from the figure above.
void EmptyFrame(benchmark::State& aState)
{
    Session session;
    if (Begin(aState, session))
    {
        for (auto _ : aState)
        {
            session.engine->BeginFrame();
            session.engine->EndFrame();
        }
        aState.SetLabel("an engine frame without effects");
    }
    Qel::Engine::Shutdown();
}

BENCHMARK(UpdateFullPool)->Unit(benchmark::kMicrosecond);
BENCHMARK(UpdateAndDrawFullPool)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
BENCHMARK_MAIN();
