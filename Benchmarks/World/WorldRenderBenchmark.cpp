// Times the world render pass: the main thread's CPU time per frame (camera, lights, culling, the
// layer sort and every draw submitted) and its draw calls, for the first shipped level and for a
// generated level of 5,000 static tiles, and the wall time of the whole frame at 1920 x 1080, present
// included, so the software rasteriser's work shows there. Goals: under 4 ms of CPU for the large
// level, under 16.7 ms for the whole frame.
//
// Usage: WorldRenderBenchmark [frames]
// Runs from the build's bin folder: its asset root is a temporary folder with copies of the laid-out
// models, textures, clips and definitions and the two levels; it is removed afterwards.
#include "Camera/CameraController.h"
#include "Effects/VfxSystem.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "Support/BenchRunFolder.h"
#include "Support/TempGameRoot.h"
#include "Support/WorldFrames.h"
#include "World/GameWorld.h"
#include "World/WorldRenderPass.h"
#include "vek/Core/Engine.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using Json = nlohmann::json;

const char FIRST_LEVEL[] = "levels/L_World1_Level1.vks";
const char LARGE_LEVEL[] = "levels/L_Bench_Render_5000.vks";
constexpr unsigned LARGE_OBJECT_COUNT = 5000;

void Measure(Qel::Engine& anEngine, GameWorld& aWorld, const char* aLevel, int aFrames)
{
    QelBenchmark::LoadLevelTimed(aWorld, aLevel);
    if (aWorld.GetObjects().empty())
    {
        std::printf("%-32s did not load\n", aLevel);
        return;
    }
    CameraController camera;
    camera.ResetToDefaults();
    camera.SetSceneCameraTransform({0.0f, 350.0f, -4500.0f}, Qel::Quaternion());
    VfxSystem vfx;
    const QelBenchmark::FrameSamples samples = QelBenchmark::MeasureFrames(
        anEngine, 5, aFrames,
        [&](int) { RenderSceneObjects(aWorld.GetObjects(), camera, vfx, true, true, true); });
    std::printf(
        "%-32s %5zu objects  render pass CPU %6.3f ms (max %6.3f)  draw calls %5u  whole frame %7.2f ms\n",
        aLevel, aWorld.GetObjects().size(), QelBenchmark::Median(samples.cpu),
        *std::max_element(samples.cpu.begin(), samples.cpu.end()), samples.drawCalls,
        QelBenchmark::Median(samples.wall));
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QelBenchmark::TempGameRoot root;
    if (!root.Create(Qel::GetExecutableFolder(), "world-render-bench",
                     {"definitions", "models", "textures", "Animations"}, {FIRST_LEVEL}))
    {
        return 1;
    }
    QelBenchmark::WriteTileLevel(root.GetGameRoot(), LARGE_LEVEL, LARGE_OBJECT_COUNT, 0);
    if (!root.Use())
    {
        return 1;
    }
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
