// Times a playing frame on the main thread's CPU clock with drawing: the world's level update (camera,
// player, hover, every object with the collision system among them, effects, follow camera) and the
// world's render call submitting every draw, for the first shipped level and for a generated level of
// 5,000 objects: 4,950 tiles and 50 walking enemies with their moving boxes. The player runs right and
// jumps throughout. Goal: under 4 ms for the first level. The present that follows is timed apart, with
// the wall time of the whole frame, since the software rasteriser works there. On Mesa's software driver
// the draw calls also run the vertex shaders on the calling thread, so the render figure holds that work.
//
// Usage: LevelFrameBenchmark [frames]
// Runs from the build's bin folder: its run folder is a temporary one whose game root holds the laid-out
// assets, the first level and the generated one; it is removed afterwards.
#include "Animator/ClipIndices.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Menu/StateStack.h"
#include "Platform/Pad/PadBackend.h"
#include "Platform/Window/WindowMessages.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Sound/SoundBank.h"
#include "Support/BenchRunFolder.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
using QelBenchmark::Percentile;
using QelBenchmark::ThreadCpuMilliseconds;

constexpr float STEP = 1.0f / 60.0f;
constexpr int WARM_UP_FRAMES = 5;
const char FIRST_LEVEL[] = "levels/L_World1_Level1.vks";
const char LARGE_LEVEL[] = "levels/L_Bench_Frame_5000.vks";
constexpr unsigned LARGE_TILE_COUNT = 4950;
constexpr unsigned LARGE_ENEMY_COUNT = 50;

class NoPad final : public Platform::PadBackend
{
public:
    bool GetState(std::uint32_t aIndex, Platform::PadState& outState) override
    {
        static_cast<void>(aIndex);
        outState = Platform::PadState();
        return false;
    }
};

std::unique_ptr<GameObject> MakePlayer(NoPad& aPad)
{
    auto player = std::make_unique<GameObject>("Player");
    player->SetTag("Player");
    player->AddComponent<AnimatedMeshComponent>(PlayerAnimator::MODEL_PATH);
    auto* animator = player->AddComponent<PlayerAnimator>();
    animator->AddPlayerClips();
    auto* controller = player->AddComponent<PlayerController>(nullptr, aPad);
    controller->SetMaxSpeed(1000.0f);
    controller->SetAcceleration(3000.0f);
    controller->SetSprintMultiplier(1.3f);
    controller->SetGroundPoundDelay(0.3f);
    controller->SetTerminalVelocity(1500.0f);
    controller->SetGravity(3750.0f);
    controller->SetJumpForce(1650.0f);
    controller->SetJumpGracePeriod(0.1f);
    controller->SetWallJumpHorizontalForceMult(1.4f);
    controller->SetWallJumpVerticalForceMult(0.15f);
    controller->SetForgivingTimingDelay(0.1f);
    player->AddComponent<DamageableComponent>(2);
    player->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{80.0f, 160.0f, 80.0f},
                                               Qel::Vector3<float>{0.0f, 80.0f, 0.0f}, false, true);
    return player;
}

struct FrameTimes
{
    std::vector<double> update;
    std::vector<double> render;
    std::vector<double> frame;
    std::vector<double> present;
    std::vector<double> wall;
};

void Measure(Qel::Engine& anEngine, GameWorld& aWorld, const char* aName, int aFrames)
{
    using Clock = std::chrono::steady_clock;
    InputHandler& input = aWorld.GetInput();
    input.UpdateEvents(WM_KEYDOWN, 68, 0);
    FrameTimes times;
    std::uint32_t drawCalls = 0;
    for (int frame = 0; frame < aFrames + WARM_UP_FRAMES; ++frame)
    {
        // Jump every second, hold right throughout.
        input.UpdateEvents(frame % 60 == 0 ? WM_KEYDOWN : WM_KEYUP, 32, 0);
        input.Update();
        const Clock::time_point wallStart = Clock::now();
        anEngine.BeginFrame();
        const double start = ThreadCpuMilliseconds();
        aWorld.StepLevel(STEP);
        const double updated = ThreadCpuMilliseconds();
        aWorld.Render();
        const double rendered = ThreadCpuMilliseconds();
        drawCalls = Qel::Engine::GetDrawCallsThisFrame();
        anEngine.EndFrame();
        const double presented = ThreadCpuMilliseconds();
        // The first frames upload textures and build shaders.
        if (frame < WARM_UP_FRAMES)
        {
            continue;
        }
        times.update.push_back(updated - start);
        times.render.push_back(rendered - updated);
        times.frame.push_back(rendered - start);
        times.present.push_back(presented - rendered);
        times.wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count());
    }
    input.UpdateEvents(WM_KEYUP, 68, 0);
    std::printf("%s: %zu objects, %u draw calls in the last frame\n", aName, aWorld.GetObjects().size(),
                drawCalls);
    const auto line = [](const char* aPart, const std::vector<double>& someValues)
    {
        std::printf("  %-34s median %7.3f ms  p95 %7.3f ms  max %7.3f ms\n", aPart,
                    Percentile(someValues, 0.5), Percentile(someValues, 0.95), Percentile(someValues, 1.0));
    };
    line("update (world, collision)", times.update);
    line("render submission", times.render);
    line("frame CPU (update + render)", times.frame);
    line("present CPU", times.present);
    line("whole frame, wall", times.wall);
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 600;
    QelBenchmark::BenchRunFolder runFolder("level-frame-bench");
    if (!runFolder.Prepare({FIRST_LEVEL}))
    {
        return 1;
    }
    QelBenchmark::WriteTileLevel(runFolder.GetGameRoot(), LARGE_LEVEL, LARGE_TILE_COUNT, LARGE_ENEMY_COUNT);
    Qel::GetEngineCreateParameters().vsync = false;
    if (!Qel::Engine::Start())
    {
        std::fprintf(stderr, "the engine did not start\n");
        Qel::Engine::Shutdown();
        return 1;
    }
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    SoundBank::GetInstance();
    NoPad pad;
    {
        GameWorld world;
        StateStack stack;
        world.Init();
        // The player comes first and is kept by every level that follows, as in the game.
        GameWorld::SceneObjects start;
        start.push_back(MakePlayer(pad));
        world.ApplyLoadedScene(std::move(start), "levels/L_Bench_Start.vks");
        const Qel::Vector2<std::uint32_t> size = engine.GetRenderSize();
        std::printf("%d frames at 1/60 s, %ux%u, main-thread CPU time\n", frames, size.x, size.y);
        for (const char* level : {FIRST_LEVEL, LARGE_LEVEL})
        {
            if (QelBenchmark::LoadLevelAndWait(world, level))
            {
                Measure(engine, world, level, frames);
            }
            else
            {
                std::printf("%s did not load\n", level);
            }
        }
    }
    Qel::Engine::Shutdown();
    Qel::ResetSettings();
    return 0;
}
