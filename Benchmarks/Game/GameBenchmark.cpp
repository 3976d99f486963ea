// The game's speed where players feel it, side by side in one run: the start-up from launch to the first
// presented frame (the game's own start: settings, engine, menus, world, its first frame) apart from the
// sound bank's decode, that decode on its own, and for every shipped level its load (cold, and from its
// packed cache) and its frames: the main thread's CPU time of the world's update and render submission,
// and the whole frame at 1920 x 1080, present included. Start-ups and loads each run in a fresh process
// of this program, as a game pays them once per process. Levels are played as loaded: the level's own
// player, holding right and jumping high every second, the world's camera following it, stepped at 1/60 s.
//
// Usage: GameBenchmark [rounds] [frames] [level name part]
// Runs from the build's bin folder (it reads settings/ beside itself), under the display to measure, e.g.
// SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy. The levels are loaded from a temporary copy of the
// laid-out asset root without its sounds, so no decode runs in the level processes; it is removed after.
#include "App/Go.h"
#include "Menu/StateStack.h"
#include "Platform/Window/ScreenMetrics.h"
#include "Platform/Window/WindowMessages.h"
#include "Sound/SoundBank.h"
#include "Support/Figures.h"
#include "Support/FreshProcess.h"
#include "Support/PixelCosts.h"
#include "Support/TempGameRoot.h"
#include "Support/WorldFrames.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using QelBenchmark::Median;
using QelBenchmark::Percentile;

constexpr double STARTUP_GOAL_MS = 500.0;
// The main thread's median, and the whole frame's median and 95th percentile.
constexpr double CPU_GOAL_MS = 3.0;
constexpr double FRAME_GOAL_MS = 1000.0 / 60.0;
constexpr double FRAME_P95_GOAL_MS = 20.0;
constexpr float STEP = 1.0f / 60.0f;
constexpr int WARM_UP_FRAMES = 10;
constexpr int PROFILED_FRAMES = 3;
constexpr std::uint32_t KEY_RIGHT = 39;
constexpr std::uint32_t KEY_JUMP = 32;
// Each second a full jump: the key held long enough for the whole height.
constexpr int JUMP_HOLD_FRAMES = 28;

// The game's frames, ended after the first one, its present timed.
class FirstFrameOnly
{
public:
    FirstFrameOnly(Qel::Engine& anEngine, const QelBenchmark::LaunchClock& aClock)
        : myEngine(anEngine), myClock(aClock)
    {
    }

    bool BeginFrame()
    {
        if (myHasBegun)
        {
            return false;
        }
        myHasBegun = true;
        return myEngine.BeginFrame();
    }

    void EndFrame()
    {
        myEngine.EndFrame();
        myClock.Mark("first-present");
    }

private:
    Qel::Engine& myEngine;
    const QelBenchmark::LaunchClock& myClock;
    bool myHasBegun = false;
};

// The child's side of a start-up: the game's start in its order (kept in step with Go), with the sound
// bank's first use taken first so its decode is timed on its own.
int RunStartup()
{
    const QelBenchmark::LaunchClock clock;
    clock.Mark("launch");
    Qel::LoadSettings("Game.json");
    const Platform::ScreenSize screen = Platform::GetPrimaryScreenSize();
    ApplyGameOverrides(screen.width, screen.height);
    clock.Mark("settings");
    SoundBank::GetInstance();
    clock.Mark("sound-bank");
    if (!Qel::Engine::Start())
    {
        Qel::Engine::Shutdown();
        return 1;
    }
    clock.Mark("engine");
    auto world = std::make_unique<GameWorld>();
    auto stack = std::make_unique<StateStack>();
    try
    {
        stack->Init();
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "the menus did not start: %s\n", error.what());
        return 1;
    }
    clock.Mark("menus");
    SetHookWorld(world.get());
    world->Init();
    clock.Mark("world");
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    FirstFrameOnly frames(engine, clock);
    RunFrameLoop(frames, *world, *stack);
    const Qel::Vector2<std::uint32_t> size = engine.GetRenderSize();
    QelBenchmark::PrintFigure("width", size.x);
    QelBenchmark::PrintFigure("height", size.y);
    stack.reset();
    SetHookWorld(nullptr);
    world.reset();
    Qel::Engine::Shutdown();
    return 0;
}

// The child's side of a level: one load from the copy in aFolder (the parent has removed or kept its
// cache), then aFrames frames played.
// The engine at the copy's 1920 x 1080, without vertical sync.
bool StartEngineOn(const fs::path& aFolder)
{
    QelBenchmark::TempGameRoot root;
    root.Adopt(aFolder);
    if (!root.Use())
    {
        return false;
    }
    Qel::GetEngineCreateParameters().vsync = false;
    if (!Qel::Engine::Start())
    {
        Qel::Engine::Shutdown();
        return false;
    }
    return true;
}

// The child's side of the floor under every level's frame: frames that draw nothing, cleared and
// presented.
int RunEmptyFrames(const fs::path& aFolder, int aFrames)
{
    if (!StartEngineOn(aFolder))
    {
        return 1;
    }
    const QelBenchmark::FrameSamples samples =
        QelBenchmark::MeasureFrames(*Qel::Engine::GetInstance(), WARM_UP_FRAMES, aFrames, [](int) {});
    QelBenchmark::PrintFigure("wall-median", Median(samples.wall));
    Qel::Engine::Shutdown();
    Qel::ResetSettings();
    return 0;
}

int RunLevel(const fs::path& aFolder, const std::string& aLevel, int aFrames)
{
    if (!StartEngineOn(aFolder))
    {
        return 1;
    }
    int result = 0;
    {
        // The copy holds no sounds, so this decodes nothing; it is start-up, not the level's load.
        SoundBank::GetInstance();
        GameWorld world;
        StateStack stack;
        try
        {
            stack.Init();
        }
        catch (const std::exception& error)
        {
            std::fprintf(stderr, "the menus did not start: %s\n", error.what());
        }
        world.Init();
        // The player's clips load in the background from the world's start, and a player who picks a
        // level from the menus finds them loaded: the first hand-over would wait for them otherwise.
        QelBenchmark::PrintFigure("clip-wait",
                                  QelBenchmark::MillisecondsToRun([&] { world.ApplyLoadedScene({}, ""); }));
        const QelBenchmark::LoadTiming load = QelBenchmark::LoadLevelTimed(world, aLevel);
        QelBenchmark::PrintFigure("load-background", load.background);
        QelBenchmark::PrintFigure("load-hand-over", load.handOver);
        QelBenchmark::PrintFigure("objects", static_cast<double>(world.GetObjects().size()));
        QelBenchmark::PrintFigure("has-player", world.GetPlayer() != nullptr ? 1.0 : 0.0);
        result = world.GetCurrentScene() == aLevel ? 0 : 1;
        if (aFrames > 0 && result == 0)
        {
            InputHandler& input = world.GetInput();
            input.UpdateEvents(WM_KEYDOWN, KEY_RIGHT, 0);
            int followed = 0;
            std::vector<double> update;
            std::vector<double> render;
            const QelBenchmark::FrameSamples samples = QelBenchmark::MeasureFrames(
                *Qel::Engine::GetInstance(), WARM_UP_FRAMES, aFrames,
                [&](int aFrame)
                {
                    input.UpdateEvents(aFrame % 60 < JUMP_HOLD_FRAMES ? WM_KEYDOWN : WM_KEYUP, KEY_JUMP, 0);
                    input.Update();
                    const double start = QelBenchmark::ThreadCpuMilliseconds();
                    world.StepLevel(STEP);
                    const double stepped = QelBenchmark::ThreadCpuMilliseconds();
                    world.Render();
                    if (aFrame >= WARM_UP_FRAMES)
                    {
                        update.push_back(stepped - start);
                        render.push_back(QelBenchmark::ThreadCpuMilliseconds() - stepped);
                    }
                    followed += aFrame >= WARM_UP_FRAMES && world.GetCamera().IsFollowEnabled() ? 1 : 0;
                });
            QelBenchmark::PrintFigure("cpu-median", Median(samples.cpu));
            QelBenchmark::PrintFigure("cpu-p95", Percentile(samples.cpu, 0.95));
            QelBenchmark::PrintFigure("cpu-update-median", Median(update));
            QelBenchmark::PrintFigure("cpu-render-median", Median(render));
            QelBenchmark::PrintFigure("wall-median", Median(samples.wall));
            QelBenchmark::PrintFigure("wall-p95", Percentile(samples.wall, 0.95));
            QelBenchmark::PrintFigure("draw-calls", samples.drawCalls);
            QelBenchmark::PrintFigure("followed", static_cast<double>(followed) / aFrames);
            if (GameObject* player = world.GetPlayer())
            {
                QelBenchmark::PrintFigure("player-x",
                                          static_cast<double>(player->GetTransform().GetPosition().x));
            }
            QelBenchmark::PrintPixelCosts(*Qel::Engine::GetInstance(), PROFILED_FRAMES,
                                          [&] { world.Render(); });
        }
    }
    Qel::Engine::Shutdown();
    Qel::ResetSettings();
    return result;
}

// A figure against its goal: "12.3 !" when it is over the goal.
std::string AgainstGoal(double aValue, double aGoal, int aDecimals = 1)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.*f", aDecimals, aValue);
    return std::string(text) + (aValue <= aGoal ? "  " : " !");
}

struct LevelFigures
{
    std::vector<double> cold;
    std::vector<double> cached;
    std::vector<double> coldHandOver;
    std::vector<double> cachedHandOver;
    std::map<std::string, double> frames;
    bool failed = false;
};

void PrintStartup(int aRuns, bool& outFailed)
{
    std::map<std::string, std::vector<double>> ends;
    std::map<std::string, double> last;
    for (int run = 0; run < aRuns; ++run)
    {
        // The decode's complaints about the catalogue's repeated file go nowhere.
        const QelBenchmark::FreshRun fresh = QelBenchmark::RunFresh({"--startup"}, {}, true);
        if (!fresh.succeeded || fresh.figures.count("first-present") == 0)
        {
            std::fprintf(stderr, "start-up run %d failed:\n%s\n", run, fresh.output.c_str());
            outFailed = true;
            return;
        }
        const std::map<std::string, double>& at = fresh.figures;
        const double decode = at.at("sound-bank") - at.at("settings");
        ends["decode"].push_back(decode);
        ends["without"].push_back(at.at("first-present") - decode);
        ends["whole"].push_back(at.at("first-present"));
        ends["launch"].push_back(at.at("launch"));
        ends["settings"].push_back(at.at("settings") - at.at("launch"));
        ends["engine"].push_back(at.at("engine") - at.at("sound-bank"));
        ends["menus"].push_back(at.at("menus") - at.at("engine"));
        ends["world"].push_back(at.at("world") - at.at("menus"));
        ends["frame"].push_back(at.at("first-present") - at.at("world"));
        last = at;
    }
    std::printf(
        "Start-up, %d fresh processes, at %.0fx%.0f as the game chooses       median ms   best ms  goal\n",
        aRuns, last["width"], last["height"]);
    std::printf("  launch to first presented frame, without the decode  %9s %9.1f  < %.0f\n",
                AgainstGoal(Median(ends["without"]), STARTUP_GOAL_MS).c_str(),
                QelBenchmark::Best(ends["without"]), STARTUP_GOAL_MS);
    std::printf("  sound bank decode, on its own                        %9.1f %9.1f\n",
                Median(ends["decode"]), QelBenchmark::Best(ends["decode"]));
    std::printf("  the two together                                    %9.1f %9.1f\n", Median(ends["whole"]),
                QelBenchmark::Best(ends["whole"]));
    std::printf(
        "  phases: launch %.1f, settings %.1f, engine %.1f, menus %.1f, world %.1f, first frame %.1f\n",
        Median(ends["launch"]), Median(ends["settings"]), Median(ends["engine"]), Median(ends["menus"]),
        Median(ends["world"]), Median(ends["frame"]));
}

LevelFigures MeasureLevel(const QelBenchmark::TempGameRoot& aRoot, const std::string& aLevel, int aRounds,
                          int aFrames)
{
    LevelFigures figures;
    const fs::path cacheFile = aRoot.GetSceneCacheFolder() / (fs::path(aLevel).stem().string() + ".vkscache");
    for (int round = 0; round < aRounds && !figures.failed; ++round)
    {
        for (const bool isCached : {false, true})
        {
            if (!isCached)
            {
                fs::remove(cacheFile);
            }
            else if (!fs::exists(cacheFile))
            {
                std::fprintf(stderr, "%s: the cold load wrote no packed cache\n", aLevel.c_str());
            }
            const int frames = isCached && round == 0 ? aFrames : 0;
            const QelBenchmark::FreshRun fresh = QelBenchmark::RunFresh(
                {"--level", aRoot.GetFolder().string(), aLevel, std::to_string(frames)}, {}, true);
            if (!fresh.succeeded || fresh.figures.count("load-background") == 0)
            {
                std::fprintf(stderr, "%s did not load:\n%s\n", aLevel.c_str(), fresh.output.c_str());
                figures.failed = true;
                break;
            }
            const double load = fresh.figures.at("load-background") + fresh.figures.at("load-hand-over");
            (isCached ? figures.cached : figures.cold).push_back(load);
            (isCached ? figures.cachedHandOver : figures.coldHandOver)
                .push_back(fresh.figures.at("load-hand-over"));
            if (frames > 0)
            {
                figures.frames = fresh.figures;
            }
        }
    }
    return figures;
}

void PrintLevels(const std::vector<std::pair<std::string, LevelFigures>>& someLevels, int aRounds,
                 int aFrames)
{
    std::printf(
        "\nLevels: load = background task + hand-over, fresh process each, median of %d (hand-over in "
        "brackets);\n%d frames after %d warm-up at 1/60 s, 1920x1080; ! = goal missed\n",
        aRounds, aFrames, WARM_UP_FRAMES);
    std::printf("%-22s %7s %16s %16s %9s %9s %9s %9s %6s %6s\n", "level", "objects", "load cold ms",
                "load cached ms", "CPU med", "CPU p95", "frame med", "frame p95", "draws", "follow");
    std::printf("%-22s %7s %16s %16s %9s %9s %9s %9s %6s %6s\n", "", "", "", "", "<= 3 ms", "", "<= 16.7",
                "<= 20", "", "");
    for (const auto& [level, figures] : someLevels)
    {
        const std::string name = fs::path(level).stem().string();
        if (figures.failed)
        {
            std::printf("%-22s did not load\n", name.c_str());
            continue;
        }
        std::map<std::string, double> frames = figures.frames;
        char cold[32];
        char cached[32];
        std::snprintf(cold, sizeof(cold), "%.0f (%.0f)", Median(figures.cold), Median(figures.coldHandOver));
        std::snprintf(cached, sizeof(cached), "%.0f (%.0f)", Median(figures.cached),
                      Median(figures.cachedHandOver));
        std::printf("%-22s %7.0f %16s %16s", name.c_str(), frames["objects"], cold, cached);
        if (frames.count("cpu-median") == 0)
        {
            std::printf("  (no frames)\n");
            continue;
        }
        std::printf(" %9s %7.2f   %9s %9s %6.0f %5.0f%%\n",
                    AgainstGoal(frames["cpu-median"], CPU_GOAL_MS, 2).c_str(), frames["cpu-p95"],
                    AgainstGoal(frames["wall-median"], FRAME_GOAL_MS).c_str(),
                    AgainstGoal(frames["wall-p95"], FRAME_P95_GOAL_MS).c_str(), frames["draw-calls"],
                    100.0 * frames["followed"]);
        if (frames["has-player"] < 1.0)
        {
            std::printf("%-22s   (no player in the level)\n", "");
        }
    }
    std::printf("\nMain-thread CPU, median split (ms): world update / render submission; the player's x at "
                "the end\n");
    for (const auto& [level, figures] : someLevels)
    {
        std::map<std::string, double> frames = figures.frames;
        if (frames.count("cpu-update-median") != 0)
        {
            std::printf("  %-22s %6.2f / %6.2f   x %8.0f\n", fs::path(level).stem().c_str(),
                        frames["cpu-update-median"], frames["cpu-render-median"], frames["player-x"]);
        }
    }
    std::printf(
        "\nPixels of the last frame per pixel shader, each draw finished alone: fragments drawn per screen\n"
        "pixel (passed the depth test), draws, ms\n");
    for (const auto& [level, figures] : someLevels)
    {
        const auto rows = QelBenchmark::CollectPixelCosts(figures.frames);
        if (!rows.empty())
        {
            std::map<std::string, double> frames = figures.frames;
            std::printf("  %s: all threads' CPU %.1f ms a frame\n", fs::path(level).stem().c_str(),
                        frames["process-cpu"]);
            QelBenchmark::PrintPixelCostTable(rows);
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--startup")
    {
        return RunStartup();
    }
    if (argc > 3 && std::string(argv[1]) == "--empty")
    {
        return RunEmptyFrames(argv[2], std::atoi(argv[3]));
    }
    if (argc > 4 && std::string(argv[1]) == "--level")
    {
        return RunLevel(argv[2], argv[3], std::atoi(argv[4]));
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 240;
    const std::string only = argc > 3 ? argv[3] : "";
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const std::string loadBefore = QelBenchmark::LoadAverage();
    std::printf(
        "Game benchmark: %d rounds, %d frames, %u hardware threads, video driver %s, load average %s\n\n",
        rounds, frames, std::thread::hardware_concurrency(), driver != nullptr ? driver : "default",
        loadBefore.c_str());
    std::fflush(stdout);

    bool failed = false;
    if (only.empty())
    {
        PrintStartup(2 * rounds + 1, failed);
        std::fflush(stdout);
    }

    QelBenchmark::TempGameRoot root;
    if (!root.Create(Qel::GetExecutableFolder(), "game-bench", {}, {}))
    {
        return 1;
    }
    std::vector<std::pair<std::string, LevelFigures>> levels;
    for (const std::string& level : root.GetLevels())
    {
        if (level.find(only) != std::string::npos)
        {
            levels.emplace_back(level, MeasureLevel(root, level, rounds, frames));
            failed = failed || levels.back().second.failed;
        }
    }
    PrintLevels(levels, rounds, frames);
    const QelBenchmark::FreshRun empty =
        QelBenchmark::RunFresh({"--empty", root.GetFolder().string(), std::to_string(frames)}, {}, true);
    if (empty.figures.count("wall-median") != 0)
    {
        std::printf("\nAn empty frame at 1920x1080 (clear and present only): %.2f ms median\n",
                    empty.figures.at("wall-median"));
    }
    std::printf("\nload average after: %s\n", QelBenchmark::LoadAverage().c_str());
    return failed ? 1 : 0;
}
