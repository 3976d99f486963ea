// Sprites drawn per second and draw calls per frame for 10,000 sprites of about 7 x 7 pixels in one
// 1280 x 720 frame, clear and present included: the engine started from the run layout's settings,
// headless, one batch of coloured squares each frame. Beside it, the peer a user would pick instead:
// SDL2's own renderer (its OpenGL back end) drawing the same quads as one SDL_RenderGeometry call.
// The "NoPresent" variants end the frame with glFinish instead of the present, so the present's own
// share (the copy of the back buffer to the window) shows as the difference.
#include "Support/HeadlessEngine.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

namespace
{
constexpr int SPRITE_COUNT = 10000;
constexpr int FRAME_WIDTH = 1280;
constexpr int FRAME_HEIGHT = 720;
// A sprite's side as a fraction of the frame's height, as the drawer sizes sprites.
constexpr float SPRITE_SIDE = 0.01f;

std::vector<Qel::Sprite2DInstanceData> MakeSprites()
{
    std::vector<Qel::Sprite2DInstanceData> sprites(SPRITE_COUNT);
    for (int i = 0; i < SPRITE_COUNT; ++i)
    {
        Qel::Sprite2DInstanceData& sprite = sprites[static_cast<std::size_t>(i)];
        sprite.position = {static_cast<float>(i % 100) / 100.0f, static_cast<float>(i / 100) / 100.0f};
        sprite.size = {SPRITE_SIDE, SPRITE_SIDE};
        sprite.color = {static_cast<float>(i % 7) / 7.0f, 0.5f, 1.0f, 1.0f};
    }
    return sprites;
}

Qel::Engine* StartAt720p(benchmark::State& aState)
{
    return QelBenchmark::StartHeadlessEngine(
        aState,
        []
        {
            Qel::GetEngineCreateParameters().windowSize = {FRAME_WIDTH, FRAME_HEIGHT};
            Qel::GetEngineCreateParameters().renderSize = {FRAME_WIDTH, FRAME_HEIGHT};
        });
}

void DrawSprites(benchmark::State& aState, bool aPresent)
{
    Qel::Engine* started = StartAt720p(aState);
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
        if (aPresent)
        {
            engine.EndFrame();
        }
        else
        {
            glFinish();
        }
    }
    aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) * SPRITE_COUNT);
    aState.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls);
    aState.SetLabel("frames of 10000 sprites; items are sprites");
    Qel::Engine::Shutdown();
}

void DrawTenThousandSprites(benchmark::State& aState)
{
    DrawSprites(aState, true);
}

void DrawTenThousandSpritesNoPresent(benchmark::State& aState)
{
    DrawSprites(aState, false);
}

// The same squares for SDL's renderer: four corners and six indices each, colours as sRGB bytes.
void MakeGeometry(std::vector<SDL_Vertex>& outVertices, std::vector<int>& outIndices)
{
    const float side = SPRITE_SIDE * static_cast<float>(FRAME_HEIGHT);
    for (const Qel::Sprite2DInstanceData& sprite : MakeSprites())
    {
        const float x = sprite.position.x * static_cast<float>(FRAME_WIDTH) - side * 0.5f;
        const float y = sprite.position.y * static_cast<float>(FRAME_HEIGHT) - side * 0.5f;
        const SDL_Color colour{static_cast<Uint8>(sprite.color.r * 255.0f),
                               static_cast<Uint8>(sprite.color.g * 255.0f),
                               static_cast<Uint8>(sprite.color.b * 255.0f), 255};
        const int first = static_cast<int>(outVertices.size());
        outVertices.push_back({{x, y}, colour, {0.0f, 0.0f}});
        outVertices.push_back({{x + side, y}, colour, {1.0f, 0.0f}});
        outVertices.push_back({{x + side, y + side}, colour, {1.0f, 1.0f}});
        outVertices.push_back({{x, y + side}, colour, {0.0f, 1.0f}});
        for (const int corner : {0, 1, 2, 0, 2, 3})
        {
            outIndices.push_back(first + corner);
        }
    }
}

void SdlRendererSprites(benchmark::State& aState, bool aPresent)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        aState.SkipWithError(SDL_GetError());
        return;
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_Window* window = SDL_CreateWindow("peer", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          FRAME_WIDTH, FRAME_HEIGHT, SDL_WINDOW_OPENGL);
    SDL_Renderer* renderer =
        window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (renderer == nullptr)
    {
        aState.SkipWithError(SDL_GetError());
        if (window != nullptr)
        {
            SDL_DestroyWindow(window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return;
    }
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    MakeGeometry(vertices, indices);
    for (auto _ : aState)
    {
        SDL_SetRenderDrawColor(renderer, 3, 153, 176, 255);
        SDL_RenderClear(renderer);
        SDL_RenderGeometry(renderer, nullptr, vertices.data(), static_cast<int>(vertices.size()),
                           indices.data(), static_cast<int>(indices.size()));
        if (aPresent)
        {
            SDL_RenderPresent(renderer);
        }
        else
        {
            SDL_RenderFlush(renderer);
            glFinish();
        }
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    aState.SetItemsProcessed(static_cast<std::int64_t>(aState.iterations()) * SPRITE_COUNT);
    aState.SetLabel(std::string("SDL_RenderGeometry, ") + (info.name != nullptr ? info.name : "?") +
                    " back end");
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void PeerSdlRendererSprites(benchmark::State& aState)
{
    SdlRendererSprites(aState, true);
}

void PeerSdlRendererSpritesNoPresent(benchmark::State& aState)
{
    SdlRendererSprites(aState, false);
}

BENCHMARK(DrawTenThousandSprites)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PeerSdlRendererSprites)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DrawTenThousandSpritesNoPresent)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PeerSdlRendererSpritesNoPresent)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
BENCHMARK_MAIN();
