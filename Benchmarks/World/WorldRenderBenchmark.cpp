// Times the world render pass: the main thread's CPU time per frame (camera, lights, culling, the
// layer sort and every draw submitted) and its draw calls, for the first shipped level and for a
// generated level of 5,000 static tiles, and the wall time of the whole frame at 1920 x 1080, present
// included, so the software rasteriser's work shows there. Goals: under 4 ms of CPU for the large
// level, under 16.7 ms for the whole frame.
//
// Usage: WorldRenderBenchmark [frames]
// Runs from the build's bin folder: its run folder is a temporary one whose game root holds the laid-out
// assets, the first level and the generated one; it is removed afterwards.
#include "Camera/CameraController.h"
#include "Effects/VfxSystem.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "Support/BenchRunFolder.h"
#include "World/GameWorld.h"
#include "World/WorldRenderPass.h"
#include "vek/Core/Engine.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
using QelBenchmark::LoadLevelAndWait;
using QelBenchmark::ThreadCpuMilliseconds;

const char FIRST_LEVEL[] = "levels/L_World1_Level1.vks";
const char LARGE_LEVEL[] = "levels/L_Bench_Render_5000.vks";
constexpr unsigned LARGE_OBJECT_COUNT = 5000;

double Median(const std::vector<double>& someValues)
{
    return QelBenchmark::Percentile(someValues, 0.5);
}

void Measure(Qel::Engine& anEngine, GameWorld& aWorld, const char* aLevel, int aFrames)
{
    if (!LoadLevelAndWait(aWorld, aLevel))
    {
        std::printf("%-32s did not load\n", aLevel);
        return;
    }
    CameraController camera;
    camera.ResetToDefaults();
    camera.SetSceneCameraTransform({0.0f, 350.0f, -4500.0f}, Qel::Quaternion());
    VfxSystem vfx;
    std::vector<double> cpu;
    std::vector<double> wall;
    std::uint32_t drawCalls = 0;
    for (int frame = 0; frame < aFrames + 5; ++frame)
    {
        const Clock::time_point frameStart = Clock::now();
        anEngine.BeginFrame();
        const double cpuStart = ThreadCpuMilliseconds();
        RenderSceneObjects(aWorld.GetObjects(), camera, vfx, true, true, true);
        const double cpuEnd = ThreadCpuMilliseconds();
        drawCalls = Qel::Engine::GetDrawCallsThisFrame();
        anEngine.EndFrame();
        // The first frames upload textures and build shaders.
        if (frame >= 5)
        {
            cpu.push_back(cpuEnd - cpuStart);
            wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count());
        }
    }
    std::printf(
        "%-32s %5zu objects  render pass CPU %6.3f ms (max %6.3f)  draw calls %5u  whole frame %7.2f ms\n",
        aLevel, aWorld.GetObjects().size(), Median(cpu), *std::max_element(cpu.begin(), cpu.end()), drawCalls,
        Median(wall));
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QelBenchmark::BenchRunFolder runFolder("world-render-bench");
    if (!runFolder.Prepare({FIRST_LEVEL}))
    {
        return 1;
    }
    QelBenchmark::WriteTileLevel(runFolder.GetGameRoot(), LARGE_LEVEL, LARGE_OBJECT_COUNT, 0);
    Qel::GetEngineCreateParameters().vsync = false;
    if (!Qel::Engine::Start())
    {
        std::fprintf(stderr, "the engine did not start\n");
        Qel::Engine::Shutdown();
        return 1;
    }
    {
        SoundBank::GetInstance();
        GameWorld world;
        StateStack stack;
        world.Init();
        const Qel::Vector2<std::uint32_t> size = Qel::Engine::GetInstance()->GetRenderSize();
        std::printf("%d frames at %ux%u, median of each; the camera stands 4500 in front of the start\n",
                    frames, size.x, size.y);
        Measure(*Qel::Engine::GetInstance(), world, FIRST_LEVEL, frames);
        Measure(*Qel::Engine::GetInstance(), world, LARGE_LEVEL, frames);
    }
    Qel::Engine::Shutdown();
    Qel::ResetSettings();
    return 0;
}
