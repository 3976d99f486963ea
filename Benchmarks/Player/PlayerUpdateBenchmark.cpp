// The player's cost per 60 fps frame on the main thread: the player object built as the game builds
// it, running on the ground with sprint held, updated (animator with its state machine, controller,
// hit points, collision box) and posed, then its draw submitted. The figures are the thread's CPU time
// for the update and for the draw submission apart; the software rasteriser's own threads and the
// present are left out of them but shown as the frame's wall time.
#include "Base/InputHandler.h"
#include "Builders/PlayerBuilder.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Support/HeadlessEngine.h"
#include "vek/graphics/Camera.h"
#include "vek/graphics/GraphicsEngine.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace
{
constexpr float FRAME_SECONDS = 1.0f / 60.0f;
constexpr std::uint32_t KEY_SHIFT = 16;
constexpr std::uint32_t KEY_D = 68;

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void SetTheScene(Qel::GraphicsStateStack& aStack)
{
    Qel::Camera camera;
    camera.SetPerspectiveProjection(60.0f, {640.0f, 360.0f}, 1.0f, 10000.0f);
    camera.SetTransform(Qel::Matrix4x4::CreateTranslation({0.0f, 75.0f, -400.0f}));
    aStack.SetCamera(camera);
}

void UpdateAndDrawRunningPlayer(benchmark::State& aState)
{
    Qel::Engine* engine = QelBenchmark::StartHeadlessEngine(aState);
    if (engine == nullptr)
    {
        return;
    }
    SceneObjectData data;
    data.name = "Player";
    data.tag = "Player";
    data.model = PlayerAnimator::MODEL_PATH;
    std::unique_ptr<GameObject> player = BuildPlayerObject(data);
    InputHandler input;
    PlayerController* controller = player->GetComponent<PlayerController>();
    const PlayerAnimator* animator = player->GetComponent<PlayerAnimator>();
    if (controller == nullptr || animator == nullptr)
    {
        aState.SkipWithError("the player has no controller or animator");
        Qel::Engine::Shutdown();
        return;
    }
    controller->SetInputHandler(&input);
    player->Start(engine);
    controller->OnContact(PlayerController::SIDE_GROUND);
    input.UpdateEvents(WM_KEYDOWN, KEY_D, 0);
    // Past the start-up delay and into the run, so every measured frame runs the whole update.
    for (int frame = 0; frame < 60; ++frame)
    {
        if (frame == 40)
        {
            input.UpdateEvents(WM_KEYDOWN, KEY_SHIFT, 0);
        }
        input.Update();
        player->Update(FRAME_SECONDS);
    }

    double updateSeconds = 0.0;
    double drawSeconds = 0.0;
    for (auto _ : aState)
    {
        engine->BeginFrame();
        SetTheScene(engine->GetGraphicsEngine()->GetGraphicsStateStack());
        const double start = ThreadCpuSeconds();
        input.Update();
        player->Update(FRAME_SECONDS);
        const double updated = ThreadCpuSeconds();
        player->Render();
        drawSeconds += ThreadCpuSeconds() - updated;
        updateSeconds += updated - start;
        engine->EndFrame();
        // Back to the origin so the player stays in view; the run's speed is kept.
        player->GetTransform().SetPosition({0.0f, 0.0f, 0.0f});
    }
    const double frames = static_cast<double>(std::max<std::int64_t>(aState.iterations(), 1));
    aState.counters["update_us_per_frame"] = updateSeconds / frames * 1e6;
    aState.counters["draw_submit_us_per_frame"] = drawSeconds / frames * 1e6;
    aState.counters["share_of_60fps_frame_pct"] =
        (updateSeconds + drawSeconds) / frames / static_cast<double>(FRAME_SECONDS) * 100.0;
    aState.counters["clip"] = static_cast<double>(animator->GetCurrentAnimationIndex());
    aState.SetLabel("the running player; time is the whole frame with software rasterising");
    player.reset();
    Qel::Engine::Shutdown();
}
BENCHMARK(UpdateAndDrawRunningPlayer)->Unit(benchmark::kMillisecond)->UseRealTime();

// The controller and the state machine alone, with no engine, mesh or pose: the movement logic's cost.
void UpdateControllerOnly(benchmark::State& aState)
{
    GameObject player("Player");
    InputHandler input;
    PlayerController* controller = player.AddComponent<PlayerController>(&input);
    controller->SetMaxSpeed(1000.0f);
    controller->SetAcceleration(3000.0f);
    controller->SetSprintMultiplier(1.3f);
    controller->SetTerminalVelocity(1500.0f);
    controller->SetGravity(3750.0f);
    controller->SetJumpForce(1650.0f);
    player.Start(nullptr);
    controller->OnContact(PlayerController::SIDE_GROUND);
    input.UpdateEvents(WM_KEYDOWN, KEY_D, 0);
    for (auto _ : aState)
    {
        input.Update();
        player.Update(FRAME_SECONDS);
        benchmark::DoNotOptimize(player.GetTransform().GetPosition());
    }
}
BENCHMARK(UpdateControllerOnly);
} // namespace

BENCHMARK_MAIN();
