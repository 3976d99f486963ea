// Sprites drawn per second and draw calls per frame for 10,000 sprites in one frame: the engine started
// from the run layout's settings, headless, one batch of white squares each frame.
#include "Support/HeadlessEngine.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace
{
constexpr int SPRITE_COUNT = 10000;

std::vector<Qel::Sprite2DInstanceData> MakeSprites()
{
    std::vector<Qel::Sprite2DInstanceData> sprites(SPRITE_COUNT);
    for (int i = 0; i < SPRITE_COUNT; ++i)
    {
        Qel::Sprite2DInstanceData& sprite = sprites[static_cast<std::size_t>(i)];
        sprite.position = {static_cast<float>(i % 100) / 100.0f, static_cast<float>(i / 100) / 100.0f};
        sprite.size = {0.01f, 0.01f};
        sprite.color = {static_cast<float>(i % 7) / 7.0f, 0.5f, 1.0f, 1.0f};
    }
    return sprites;
}

void DrawTenThousandSprites(benchmark::State& aState)
{
    Qel::Engine* started = QelBenchmark::StartHeadlessEngine(aState);
    if (started == nullptr)
    {
        return;
    }
    Qel::Engine& engine = *started;
    Qel::SpriteDrawer& drawer = engine.GetGraphicsEngine()->GetSpriteDrawer();
    Qel::SpriteSharedData shared;
    shared.texture = engine.GetTextureManager()->GetWhiteSquare();
    const std::vector<Qel::Sprite2DInstanceData> sprites = MakeSprites();

    std::uint32_t drawCalls = 0;
    for (auto _ : aState)
    {
        engine.BeginFrame();
        {
            Qel::SpriteBatchScope batch = drawer.BeginBatch(shared);
            batch.Draw2DArray(sprites.data(), sprites.size());
        }
        drawCalls = Qel::Engine::GetDrawCallsThisFrame();
        engine.EndFrame();
    }
    aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) * SPRITE_COUNT);
    aState.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls);
    aState.SetLabel("frames of 10000 sprites; items are sprites");
    Qel::Engine::Shutdown();
}
BENCHMARK(DrawTenThousandSprites)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
BENCHMARK_MAIN();
