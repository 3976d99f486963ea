// Skinned instances drawn per 60 fps frame of CPU time: the engine started headless, a frame of 256
// instances of the skinned fixture, each advancing its own player, writing its bone palette and drawing
// through the skinned PBR shader. The figure counts the main thread's CPU time for posing and draw
// submission; the software rasteriser's own threads and the present are left out of it but shown as
// the frame's wall time.
#include "Support/HeadlessEngine.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/model/ModelFactory.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <vector>

namespace
{
constexpr int INSTANCE_COUNT = 256;
constexpr double FRAME_SECONDS = 1.0 / 60.0;

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Placed
{
    Qel::AnimatedModelInstance instance;
    Qel::AnimationPlayer player;
};

void SetTheScene(Qel::GraphicsStateStack& aStack, const Qel::MeshBounds& aBounds)
{
    Qel::Camera camera;
    camera.SetPerspectiveProjection(60.0f, {640.0f, 360.0f}, 1.0f, 100000.0f);
    camera.SetTransform(Qel::Matrix4x4::CreateTranslation({0.0f, 0.0f, -40.0f * aBounds.myRadius}));
    aStack.SetCamera(camera);
    Qel::DirectionalLight light;
    light.color = {1.0f, 1.0f, 1.0f, 1.0f};
    light.intensity = 1.0f;
    aStack.SetDirectionalLight(light);
}

void DrawSkinnedInstances(benchmark::State& aState)
{
    Qel::Engine* engine = QelBenchmark::StartHeadlessEngine(aState);
    if (engine == nullptr)
    {
        return;
    }
    Qel::ModelFactory& factory = *Qel::ModelFactory::GetInstance();
    Qel::ModelDrawer& drawer = *engine->GetGraphicsEngine()->GetModelDrawer();
    const Qel::AnimatedModelInstance prototype = factory.GetAnimatedModelInstance(QEL_SKINNED_MODEL);
    if (!prototype.GetModel())
    {
        aState.SkipWithError("the skinned fixture did not load");
        Qel::Engine::Shutdown();
        return;
    }
    const Qel::MeshBounds bounds = prototype.GetModel()->myMeshes[0].myBounds;
    std::vector<Placed> placed(
        INSTANCE_COUNT,
        Placed{prototype, factory.GetAnimationPlayer(QEL_SKINNED_MODEL, prototype.GetModel())});
    for (int i = 0; i < INSTANCE_COUNT; ++i)
    {
        Placed& one = placed[static_cast<std::size_t>(i)];
        one.player.myIsLooping = true;
        one.player.myState = Qel::AnimationState::Playing;
        one.player.myTime = 0.01f * static_cast<float>(i);
        const float spacing = 2.5f * bounds.myRadius;
        one.instance.myTransform = Qel::Matrix4x4::CreateTranslation(
            {spacing * static_cast<float>(i % 16 - 8), spacing * static_cast<float>(i / 16 - 8), 0.0f});
    }

    double cpuSeconds = 0.0;
    std::uint32_t drawCalls = 0;
    for (auto _ : aState)
    {
        engine->BeginFrame();
        SetTheScene(engine->GetGraphicsEngine()->GetGraphicsStateStack(), bounds);
        const double start = ThreadCpuSeconds();
        for (Placed& one : placed)
        {
            one.player.Update(static_cast<float>(FRAME_SECONDS));
            one.instance.SetPose(one.player);
            drawer.DrawAnimatedModelPbr(one.instance);
        }
        cpuSeconds += ThreadCpuSeconds() - start;
        drawCalls = Qel::Engine::GetDrawCallsThisFrame();
        engine->EndFrame();
    }
    const double perInstance =
        cpuSeconds / static_cast<double>(std::max<std::int64_t>(aState.iterations(), 1)) / INSTANCE_COUNT;
    aState.counters["instances_per_60fps_frame"] = perInstance > 0.0 ? FRAME_SECONDS / perInstance : 0.0;
    aState.counters["cpu_us_per_instance"] = perInstance * 1e6;
    aState.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls);
    aState.SetLabel("frames of 256 skinned instances; time is the whole frame with software rasterising");
    Qel::Engine::Shutdown();
}
BENCHMARK(DrawSkinnedInstances)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
