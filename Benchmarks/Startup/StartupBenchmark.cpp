// Start-up as a player feels it: from the moment the program is launched to its first presented
// frame, each run a fresh process. The phases (settings, window, GL context, shaders, engine
// textures, fonts, first present) are timed by taking the engine's start-up steps one by one; the
// whole is timed again through Engine::Start itself. Figures are medians and bests over the runs,
// against the goal of half a second.
//
// Run it from the run layout (it reads settings/Game.json beside itself), under the display to be
// measured: a virtual X server as the run script starts one, or SDL_VIDEODRIVER=offscreen.
#include "vek/Core/Engine.h"
#include "vek/Core/WindowHandler.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"
#include "vek/text/TextService.h"

#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace
{
constexpr int RUNS = 9;
constexpr double GOAL_MS = 500.0;
constexpr const char* SPAWN_TIME_VARIABLE = "QEL_STARTUP_SPAWN_NS";

long long MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// The child's side: prints "<phase> <milliseconds since the launch>" lines as each phase ends.
class PhaseClock
{
public:
    PhaseClock()
    {
        const char* spawned = std::getenv(SPAWN_TIME_VARIABLE);
        mySpawn = spawned != nullptr ? std::atoll(spawned) : MonotonicNanoseconds();
    }

    void Mark(const char* aPhase) const
    {
        std::printf("%s %.3f\n", aPhase, static_cast<double>(MonotonicNanoseconds() - mySpawn) / 1e6);
    }

private:
    long long mySpawn = 0;
};

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
    const PhaseClock clock;
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
    const PhaseClock clock;
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

// Runs this program once in aMode and reads back its phase lines.
bool SpawnOnce(const char* aSelf, const char* aMode, std::map<std::string, double>& outPhases)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
    {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const std::string time = std::string(SPAWN_TIME_VARIABLE) + "=" + std::to_string(MonotonicNanoseconds());
    std::vector<std::string> environment{time};
    for (char** variable = environ; *variable != nullptr; ++variable)
    {
        if (std::strncmp(*variable, SPAWN_TIME_VARIABLE, std::strlen(SPAWN_TIME_VARIABLE)) != 0)
        {
            environment.emplace_back(*variable);
        }
    }
    std::vector<char*> envp;
    for (std::string& variable : environment)
    {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::string self = aSelf;
    std::string mode = aMode;
    char* argv[] = {self.data(), mode.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, aSelf, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0)
    {
        close(pipeEnds[0]);
        return false;
    }
    std::string output;
    char buffer[4096];
    for (ssize_t got = 0; (got = read(pipeEnds[0], buffer, sizeof(buffer))) > 0;)
    {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    char name[64];
    double milliseconds = 0.0;
    for (const char* line = output.c_str(); *line != '\0';)
    {
        if (std::sscanf(line, "%63s %lf", name, &milliseconds) == 2)
        {
            outPhases[name] = milliseconds;
        }
        const char* next = std::strchr(line, '\n');
        line = next != nullptr ? next + 1 : line + std::strlen(line);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> aValues)
{
    std::sort(aValues.begin(), aValues.end());
    return aValues.empty() ? 0.0 : aValues[aValues.size() / 2];
}

double Best(const std::vector<double>& aValues)
{
    return aValues.empty() ? 0.0 : *std::min_element(aValues.begin(), aValues.end());
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
    const char* self = "/proc/self/exe";
    static const char* const PHASES[] = {"launch",  "settings",        "window", "gl-context",
                                         "shaders", "engine-textures", "fonts",  "first-present"};
    std::map<std::string, std::vector<double>> ends;
    std::vector<double> wholes;
    for (int run = 0; run < RUNS; ++run)
    {
        std::map<std::string, double> phases;
        if (!SpawnOnce(self, "--phases", phases) || phases.size() != std::size(PHASES))
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
        if (!SpawnOnce(self, "--whole", whole) || whole.count("engine-first-present") == 0)
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
        std::printf("%-34s %10.1f %10.1f\n", phase, Median(ends[phase]), Best(ends[phase]));
    }
    std::printf("%-34s %10.1f %10.1f\n", "whole, step by step", Median(ends["whole"]), Best(ends["whole"]));
    std::printf("%-34s %10.1f %10.1f\n", "whole, through Engine::Start", Median(wholes), Best(wholes));
    const double median = Median(wholes);
    std::printf("goal: under %.0f ms; the median is %s (%.0f%% of it)\n", GOAL_MS,
                median < GOAL_MS ? "within it" : "over it", 100.0 * median / GOAL_MS);
    return 0;
}
