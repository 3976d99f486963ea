// Start-up as a player feels it: from the moment the program is launched to its first presented
// frame, each run a fresh process. The phases (settings, window, GL context, shaders, engine
// textures, fonts, first present) are timed by taking the engine's start-up steps one by one; the
// whole is timed again through Engine::Start itself. Figures are medians and bests over the runs,
// against the goal of half a second.
//
// Run it from the run layout (it reads settings/Game.json beside itself), under the display to be
// measured: a virtual X server as the run script starts one, or SDL_VIDEODRIVER=offscreen.
#include "Support/FreshProcess.h"
#include "vek/Core/Engine.h"
#include "vek/Core/WindowHandler.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"
#include "vek/text/TextService.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int RUNS = 9;
constexpr double GOAL_MS = 500.0;

Qel::EngineCreateParameters& LoadParameters()
{
    if (!Qel::LoadSettings("Game.json"))
    {
        std::fprintf(stderr, "no settings beside the program; the built-in ones are used\n");
    }
    Qel::EngineCreateParameters& parameters = Qel::GetEngineCreateParameters();
    parameters.vsync = false;
    return parameters;
}

// The engine's own start-up steps, in its order, each timed.
int RunPhases()
{
    const QelBenchmark::LaunchClock clock;
    clock.Mark("launch");
    Qel::EngineCreateParameters parameters = LoadParameters();
    clock.Mark("settings");
    auto window = std::make_unique<Qel::WindowHandler>();
    if (!window->Create(parameters, parameters.instanceHandle, parameters.windowHandle))
    {
        return 1;
    }
    clock.Mark("window");
    auto device = std::make_unique<Qel::DX11>();
    if (!device->Init(*window))
    {
        return 1;
    }
    clock.Mark("gl-context");
    auto textures = std::make_unique<Qel::TextureManager>();
    auto graphics = std::make_unique<Qel::GraphicsEngine>();
    if (!graphics->Init(*textures))
    {
        return 1;
    }
    clock.Mark("shaders");
    textures->Init();
    clock.Mark("engine-textures");
    auto text = std::make_unique<Qel::TextService>();
    text->Init();
    clock.Mark("fonts");
    device->BeginFrame(parameters.clearColor);
    device->EndFrame(false);
    clock.Mark("first-present");
    text.reset();
    textures.reset();
    graphics.reset();
    device.reset();
    window.reset();
    return 0;
}

// The same through Engine::Start, as the game starts it.
int RunWhole()
{
    const QelBenchmark::LaunchClock clock;
    LoadParameters();
    if (!Qel::Engine::Start())
    {
        Qel::Engine::Shutdown();
        return 1;
    }
    Qel::Engine* engine = Qel::Engine::GetInstance();
    engine->BeginFrame();
    engine->EndFrame();
    clock.Mark("engine-first-present");
    Qel::Engine::Shutdown();
    return 0;
}

// Runs this program once in aMode and reads back its phase ends.
bool SpawnOnce(const char* aMode, std::map<std::string, double>& outPhases)
{
    const QelBenchmark::FreshRun run = QelBenchmark::RunFresh({aMode});
    outPhases = run.figures;
    return run.succeeded;
}
} // namespace

int main(int aCount, char** aArguments)
{
    if (aCount > 1 && std::strcmp(aArguments[1], "--phases") == 0)
    {
        return RunPhases();
    }
    if (aCount > 1 && std::strcmp(aArguments[1], "--whole") == 0)
    {
        return RunWhole();
    }
    static const char* const PHASES[] = {"launch",  "settings",        "window", "gl-context",
                                         "shaders", "engine-textures", "fonts",  "first-present"};
    std::map<std::string, std::vector<double>> ends;
    std::vector<double> wholes;
    for (int run = 0; run < RUNS; ++run)
    {
        std::map<std::string, double> phases;
        if (!SpawnOnce("--phases", phases) || phases.size() != std::size(PHASES))
        {
            std::fprintf(stderr, "run %d of the phases failed\n", run);
            return 1;
        }
        double previous = 0.0;
        for (const char* phase : PHASES)
        {
            ends[phase].push_back(phases[phase] - previous);
            previous = phases[phase];
        }
        ends["whole"].push_back(previous);
        std::map<std::string, double> whole;
        if (!SpawnOnce("--whole", whole) || whole.count("engine-first-present") == 0)
        {
            std::fprintf(stderr, "run %d through Engine::Start failed\n", run);
            return 1;
        }
        wholes.push_back(whole["engine-first-present"]);
    }
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    std::printf("Start-up, launch to first presented frame, %d fresh processes each (video driver: %s)\n",
                RUNS, driver != nullptr ? driver : "default");
    std::printf("%-34s %10s %10s\n", "phase", "median ms", "best ms");
    for (const char* phase : PHASES)
    {
        std::printf("%-34s %10.1f %10.1f\n", phase, QelBenchmark::Median(ends[phase]),
                    QelBenchmark::Best(ends[phase]));
    }
    std::printf("%-34s %10.1f %10.1f\n", "whole, step by step", QelBenchmark::Median(ends["whole"]),
                QelBenchmark::Best(ends["whole"]));
    std::printf("%-34s %10.1f %10.1f\n", "whole, through Engine::Start", QelBenchmark::Median(wholes),
                QelBenchmark::Best(wholes));
    const double median = QelBenchmark::Median(wholes);
    std::printf("goal: under %.0f ms; the median is %s (%.0f%% of it)\n", GOAL_MS,
                median < GOAL_MS ? "within it" : "over it", 100.0 * median / GOAL_MS);
    return 0;
}
