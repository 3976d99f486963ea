// 10,000 sprites of about 7 x 7 pixels in one 1280 x 720 frame, clear and present included: the engine
// started from the run layout's settings, headless, one batch of coloured squares each frame; beside it
// the peer a user would pick instead, SDL2's own renderer (its OpenGL back end) drawing the same quads
// as one SDL_RenderGeometry call. Each side runs in a fresh process of its own, as a user's program
// would: the peer run after the engine in one process reads slower than it is. The "without present"
// rows end the frame with glFinish instead, so the present's own share shows as the difference.
//
// Run it from the run layout (it reads settings/Game.json beside itself):
//   SDL_VIDEODRIVER=offscreen ./SpriteBenchmark [rounds] [frames]
#include "Support/Figures.h"
#include "Support/FreshProcess.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int SPRITE_COUNT = 10000;
constexpr int FRAME_WIDTH = 1280;
constexpr int FRAME_HEIGHT = 720;
// A sprite's side as a fraction of the frame's height, as the drawer sizes sprites.
constexpr float SPRITE_SIDE = 0.01f;
// Shaders built and buffers made in the first frames are no part of a steady frame.
constexpr int WARM_UP_FRAMES = 30;
constexpr const char* FRAME_FIGURE = "frame-median";
constexpr const char* CPU_FIGURE = "cpu-median";
constexpr const char* DRAWS_FIGURE = "draw-calls";

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

// Prints the median wall time of aFrames frames after the warm-up, each drawn by aFrame, and the
// median CPU time the main thread spent on them (the rasteriser's threads are not in it).
void PrintFrameFigures(int aFrames, const std::function<void()>& aFrame)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int frame = 0; frame < WARM_UP_FRAMES + aFrames; ++frame)
    {
        const double cpuStart = QelBenchmark::ThreadCpuMilliseconds();
        const double wall = QelBenchmark::MillisecondsToRun(aFrame);
        if (frame >= WARM_UP_FRAMES)
        {
            walls.push_back(wall);
            cpus.push_back(QelBenchmark::ThreadCpuMilliseconds() - cpuStart);
        }
    }
    QelBenchmark::PrintFigure(FRAME_FIGURE, QelBenchmark::Median(walls));
    QelBenchmark::PrintFigure(CPU_FIGURE, QelBenchmark::Median(cpus));
}

// The child's side of the engine.
int RunOurs(bool aPresent, int aFrames)
{
    if (!Qel::LoadSettings("Game.json"))
    {
        std::fprintf(stderr, "no settings beside the program\n");
        return 1;
    }
    Qel::EngineCreateParameters& parameters = Qel::GetEngineCreateParameters();
    parameters.vsync = false;
    parameters.windowSize = {FRAME_WIDTH, FRAME_HEIGHT};
    parameters.renderSize = {FRAME_WIDTH, FRAME_HEIGHT};
    if (!Qel::Engine::Start())
    {
        Qel::Engine::Shutdown();
        return 1;
    }
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    Qel::SpriteDrawer& drawer = engine.GetGraphicsEngine()->GetSpriteDrawer();
    Qel::SpriteSharedData shared;
    shared.texture = engine.GetTextureManager()->GetWhiteSquare();
    const std::vector<Qel::Sprite2DInstanceData> sprites = MakeSprites();
    std::uint32_t drawCalls = 0;
    PrintFrameFigures(aFrames,
                      [&]
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
                      });
    QelBenchmark::PrintFigure(DRAWS_FIGURE, drawCalls);
    Qel::Engine::Shutdown();
    return 0;
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

// The child's side of the peer.
int RunPeer(bool aPresent, int aFrames)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "%s\n", SDL_GetError());
        return 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_Window* window = SDL_CreateWindow("peer", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          FRAME_WIDTH, FRAME_HEIGHT, SDL_WINDOW_OPENGL);
    SDL_Renderer* renderer =
        window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    SDL_RendererInfo info{};
    if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
        std::string(info.name) != "opengl")
    {
        std::fprintf(stderr, "no OpenGL renderer: %s\n", SDL_GetError());
        return 1;
    }
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    MakeGeometry(vertices, indices);
    PrintFrameFigures(aFrames,
                      [&]
                      {
                          SDL_SetRenderDrawColor(renderer, 3, 153, 176, 255);
                          SDL_RenderClear(renderer);
                          SDL_RenderGeometry(renderer, nullptr, vertices.data(),
                                             static_cast<int>(vertices.size()), indices.data(),
                                             static_cast<int>(indices.size()));
                          if (aPresent)
                          {
                              SDL_RenderPresent(renderer);
                          }
                          else
                          {
                              SDL_RenderFlush(renderer);
                              glFinish();
                          }
                      });
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return 0;
}

struct Side
{
    std::vector<double> frames;
    std::vector<double> cpus;
    double drawCalls = 0.0;
    bool failed = false;
};

// One fresh run of "--ours" or "--peer", its figures added to aSide.
void RunOnce(const char* aSide, bool aPresent, int aFrames, Side& outSide)
{
    const QelBenchmark::FreshRun run =
        QelBenchmark::RunFresh({aSide, aPresent ? "present" : "finish", std::to_string(aFrames)}, {}, true);
    if (!run.succeeded || run.figures.count(FRAME_FIGURE) == 0)
    {
        outSide.failed = true;
        return;
    }
    outSide.frames.push_back(run.figures.at(FRAME_FIGURE));
    outSide.cpus.push_back(run.figures.count(CPU_FIGURE) != 0 ? run.figures.at(CPU_FIGURE) : 0.0);
    if (run.figures.count(DRAWS_FIGURE) != 0)
    {
        outSide.drawCalls = run.figures.at(DRAWS_FIGURE);
    }
}

void PrintRow(const char* aName, const Side& anOurs, const Side& aPeer)
{
    if (anOurs.failed || aPeer.failed)
    {
        std::printf("%-18s %s\n", aName, anOurs.failed ? "the engine's run failed" : "the peer's run failed");
        return;
    }
    const double ours = QelBenchmark::Median(anOurs.frames);
    const double peer = QelBenchmark::Median(aPeer.frames);
    std::printf("%-18s %8.2f %8.2f %8.2f %6.0f | %8.2f %8.2f %8.2f | %6.2f%s\n", aName, ours,
                QelBenchmark::Best(anOurs.frames), QelBenchmark::Median(anOurs.cpus), anOurs.drawCalls, peer,
                QelBenchmark::Best(aPeer.frames), QelBenchmark::Median(aPeer.cpus), ours / peer,
                ours < peer ? "" : "  !");
}
} // namespace

int main(int aCount, char** aArguments)
{
    if (aCount > 3 && (std::string(aArguments[1]) == "--ours" || std::string(aArguments[1]) == "--peer"))
    {
        const bool present = std::string(aArguments[2]) == "present";
        const int frames = std::max(1, std::atoi(aArguments[3]));
        return std::string(aArguments[1]) == "--ours" ? RunOurs(present, frames) : RunPeer(present, frames);
    }
    const int rounds = aCount > 1 ? std::max(1, std::atoi(aArguments[1])) : 5;
    const int frames = aCount > 2 ? std::max(1, std::atoi(aArguments[2])) : 300;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    std::printf("Sprites: %d squares of %.0f pixels a frame at %dx%d, %d rounds of %d frames, each side in a "
                "fresh process, %u hardware threads, video driver %s, load average %s\n\n",
                SPRITE_COUNT, static_cast<double>(SPRITE_SIDE * FRAME_HEIGHT), FRAME_WIDTH, FRAME_HEIGHT,
                rounds, frames, std::thread::hardware_concurrency(), driver != nullptr ? driver : "default",
                QelBenchmark::LoadAverage().c_str());
    std::fflush(stdout);
    std::map<bool, Side> ours;
    std::map<bool, Side> peer;
    // The sides take turns, so a change in the machine's load falls on both alike.
    for (int round = 0; round < rounds; ++round)
    {
        for (const bool present : {true, false})
        {
            RunOnce("--ours", present, frames, ours[present]);
            RunOnce("--peer", present, frames, peer[present]);
        }
    }
    std::printf("%-18s %8s %8s %8s %6s | %8s %8s %8s | %6s\n", "ms a frame", "engine", "best", "main cpu",
                "draws", "SDL2", "best", "main cpu", "ratio");
    PrintRow("with present", ours[true], peer[true]);
    PrintRow("without present", ours[false], peer[false]);
    std::printf("\n(medians over the rounds of each process's median frame; main cpu: the main thread's CPU\n"
                "time in a frame, without the rasteriser's threads; ratio: the engine's median over SDL2's;\n"
                "! marks the engine not ahead)\nload average after: %s\n",
                QelBenchmark::LoadAverage().c_str());
    const bool failed = ours[true].failed || ours[false].failed || peer[true].failed || peer[false].failed;
    return failed ? 1 : 0;
}
