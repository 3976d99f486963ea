// Every frame's wall time, present included, of the program's own frame loop on the shipped content:
// from launch through the logos, the title, the level select, the first level's load (request to its
// first drawn frame), its scripted run and its results; then every other level chosen in the level
// select and loaded, for the time each takes to its first drawn frame. At 1280 x 720 and 1920 x 1080,
// each a fresh process of the game's start, beside a bare SDL2 + GL 4.5 window's launch to its first
// presented frame (fresh processes too). The game runs as the play-through tests run it, windowed and
// with the game's debug features; its clock steps 1/60 s a frame, so the script is the same every run
// and a wait in game time (the logos, the level select's slide) lasts its frames, however long they
// take. The wall time is real. The bonus level's button is opened by giving the progress its keys.
//
// Usage: FrameTimeBenchmark [WIDTHxHEIGHT] [bare window runs]
// Runs from the build's bin folder (it reads settings/ beside itself) under the display to measure, e.g.
// SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy.
#include "Game/Support/GameSession.h"
#include "Game/Support/LevelSteps.h"
#include "Game/Support/SessionSteps.h"
#include "Menu/GameMenu.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/LevelSelectMenu.h"
#include "Session/LevelProgress.h"
#include "Session/LevelRegistry.h"
#include "Support/Figures.h"
#include "Support/FreshProcess.h"
#include "Support/PhaseFrames.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace
{
using GameTest::GameSession;
using QelBenchmark::PhaseFrame;

constexpr int FPS = GameSession::FRAMES_PER_SECOND;
constexpr double LAUNCH_FACTOR_GOAL = 3.0;
constexpr double LOAD_GOAL_MS = 200.0;
constexpr std::size_t MOST_LISTED_FRAMES = 200;
const char FIRST_LEVEL[] = "L_World1_Level1";
// The level select's levels beside the first, its test level among them; the bonus opens once all keys
// are held.
const char* const OTHER_LEVELS[] = {"L_World1_Level2", "L_World2_Level1", "L_World2_Level2",
                                    "L_World3_Level1", "L_World3_Level2", "L_World3_BonusLevel",
                                    "L_World3_Level3", "RenderTest"};

struct Resolution
{
    unsigned width;
    unsigned height;
    // No frame after the first may be longer.
    double frameGoal;
};
const Resolution RESOLUTIONS[] = {{1280, 720, 33.0}, {1920, 1080, 50.0}};

bool IsDrawingLevel(const GameSession& aSession, const std::string& aStem)
{
    const GameWorld& world = aSession.GetWorld();
    return !world.IsLoading() && world.GetCurrentScene() == GameTest::LevelPath(aStem) &&
           world.GetPlayer() != nullptr && aSession.Top<GameMenu>() != nullptr;
}

// Times the frames between the director's calls (so the script's own work is not in them) and tags
// each with the phase the program stood in when it ended.
class FrameRecorder
{
public:
    enum class Stage
    {
        LOGOS,
        TITLE,
        LEVEL_SELECT,
        LEVEL_LOAD,
        LEVEL_RUN,
        RESULTS,
        MENUS,
        OTHER_LOAD
    };

    FrameRecorder(const GameSession& aSession, const QelBenchmark::LaunchClock& aClock)
        : mySession(aSession), myClock(aClock)
    {
    }

    // At the director's start: the frame before has just been presented.
    void FrameEnded()
    {
        const long long now = QelBenchmark::MonotonicNanoseconds();
        if (myFrameStart == 0)
        {
            return;
        }
        if (myFrames.empty())
        {
            // At once: it is the launch's figure even when the script stops later.
            QelBenchmark::PrintFigure("first-present", myClock.Now());
        }
        const std::string phase = ClassifyEndedFrame(now);
        myFrames.push_back(
            {static_cast<int>(myFrames.size()), phase, static_cast<double>(now - myFrameStart) / 1e6});
    }

    // At the director's end: the next frame starts.
    void FrameBegins() { myFrameStart = QelBenchmark::MonotonicNanoseconds(); }

    // The frames from here on are menus until aStem's load starts (none when empty).
    void ExpectLoad(const std::string& aStem)
    {
        myStage = Stage::MENUS;
        myLoadingStem = aStem;
    }

    void PrintFigures() const
    {
        for (const PhaseFrame& frame : myFrames)
        {
            QelBenchmark::PrintFigure(QelBenchmark::FrameFigureName(frame.index, frame.phase),
                                      frame.milliseconds);
        }
        for (const auto& [stem, milliseconds] : myLoads)
        {
            QelBenchmark::PrintFigure("load." + stem, milliseconds);
        }
        for (const auto& [stem, milliseconds] : myHandOvers)
        {
            QelBenchmark::PrintFigure("handover." + stem, milliseconds);
        }
        for (const auto& [stem, milliseconds] : myAfterSlides)
        {
            QelBenchmark::PrintFigure("afterslide." + stem, milliseconds);
        }
    }

private:
    // Moves the stage on by what the program shows now, and names the ended frame's phase. A load's
    // first drawn frame is still the load's.
    std::string ClassifyEndedFrame(long long aNow)
    {
        const bool isRequested =
            mySession.GetWorld().IsLoading() || LevelRegistry::GetInstance().HasSceneRequest();
        switch (myStage)
        {
        case Stage::LOGOS:
            myStage = GameTest::IsAtTitle(mySession) ? Stage::TITLE : myStage;
            break;
        case Stage::TITLE:
            myStage = mySession.Top<LevelSelectMenu>() != nullptr ? Stage::LEVEL_SELECT : myStage;
            break;
        case Stage::LEVEL_SELECT:
        case Stage::MENUS:
            if (isRequested && (myStage == Stage::LEVEL_SELECT || !myLoadingStem.empty()))
            {
                myLoadStart = myFrameStart;
                myStage = myStage == Stage::MENUS ? Stage::OTHER_LOAD : Stage::LEVEL_LOAD;
            }
            break;
        case Stage::LEVEL_RUN:
            myStage = mySession.Top<LevelEndResultsMenu>() != nullptr ? Stage::RESULTS : myStage;
            break;
        default:
            break;
        }
        const bool isLoad = myStage == Stage::LEVEL_LOAD || myStage == Stage::OTHER_LOAD;
        const std::string stem = myStage == Stage::LEVEL_LOAD ? FIRST_LEVEL : myLoadingStem;
        const std::string phase = myStage == Stage::OTHER_LOAD ? "load-" + stem : Name(myStage);
        const GameWorld& world = mySession.GetWorld();
        if (isLoad && myHandOvers.count(stem) == 0 && !world.IsLoading() &&
            world.GetCurrentScene() == GameTest::LevelPath(stem))
        {
            myHandOvers[stem] = static_cast<double>(aNow - myLoadStart) / 1e6;
        }
        if (isLoad && myPushStart == 0 && mySession.Top<GameMenu>() != nullptr)
        {
            // The slide ends in this frame's update, which pushes the HUD.
            myPushStart = myFrameStart;
        }
        if (isLoad && IsDrawingLevel(mySession, stem))
        {
            myLoads[stem] = static_cast<double>(aNow - myLoadStart) / 1e6;
            myAfterSlides[stem] = static_cast<double>(aNow - myPushStart) / 1e6;
            myPushStart = 0;
            myStage = myStage == Stage::LEVEL_LOAD ? Stage::LEVEL_RUN : Stage::MENUS;
            myLoadingStem.clear();
        }
        return phase;
    }

    static std::string Name(Stage aStage)
    {
        switch (aStage)
        {
        case Stage::LOGOS:
            return "logos";
        case Stage::TITLE:
            return "title";
        case Stage::LEVEL_SELECT:
            return "level-select";
        case Stage::LEVEL_LOAD:
            return "level-load";
        case Stage::LEVEL_RUN:
            return "level-run";
        case Stage::RESULTS:
            return "results";
        default:
            return "menus";
        }
    }

    const GameSession& mySession;
    const QelBenchmark::LaunchClock& myClock;
    Stage myStage = Stage::LOGOS;
    std::string myLoadingStem;
    std::vector<PhaseFrame> myFrames;
    std::map<std::string, double> myLoads;
    // Request to the frame the world took the loaded level in; the rest of a load is the level
    // select's slide to the chosen button, in game time.
    std::map<std::string, double> myHandOvers;
    // The HUD's push (the slide's end) to the first drawn frame: the part of a load beyond the slide.
    std::map<std::string, double> myAfterSlides;
    long long myPushStart = 0;
    long long myFrameStart = 0;
    long long myLoadStart = 0;
};

// The bonus button opens only with all the keys held, which the first level alone does not give.
void OpenTheBonusLevel()
{
    const int missing = LevelSelectMenu::BONUS_KEY_TOTAL - CountProgressKeys();
    if (missing > 0)
    {
        LevelProgress::GetProcessProgress().RecordLevelProgress(GameTest::LevelPath("L_World3_BonusLevel"),
                                                                "0", missing);
    }
}

// The child's side of one resolution: the game's start, then the whole script; the frames go out as
// figures once the run is over.
int RunGame(unsigned aWidth, unsigned aHeight)
{
    const QelBenchmark::LaunchClock clock;
    GameSession session(GameSession::Options{aWidth, aHeight, true});
    if (!session.GetStartError().empty())
    {
        std::printf("[FrameTime] the game did not start: %s\n", session.GetStartError().c_str());
        return 1;
    }
    FrameRecorder recorder(session, clock);
    GameTest::SessionSteps steps;
    std::vector<GameTest::LevelOutcome> outcomes;
    steps.WaitFor("the logos give way to the title", 30 * FPS, GameTest::IsAtTitle);
    GameTest::AddChooseLevel(steps, FIRST_LEVEL);
    GameTest::AddPlayLevel(steps, FIRST_LEVEL, outcomes, 1);
    steps.Do("the bonus level opens",
             [&recorder](GameSession&)
             {
                 recorder.ExpectLoad("");
                 OpenTheBonusLevel();
             });
    for (const char* stem : OTHER_LEVELS)
    {
        const std::string name = stem;
        GameTest::AddReturnToTitle(steps, "the title before " + name);
        steps.Do("on to " + name, [&recorder, name](GameSession&) { recorder.ExpectLoad(name); });
        GameTest::AddChooseLevel(steps, name);
        steps.WaitFor(name + " is drawn", 60 * FPS,
                      [name](const GameSession& aSession)
                      {
                          if (aSession.GetWorld().IsLoading())
                          {
                              // The load's task gets the machine, as the play-through lets it.
                              std::this_thread::sleep_for(std::chrono::milliseconds(2));
                          }
                          return IsDrawingLevel(aSession, name);
                      });
    }
    session.Run(
        [&](GameSession& aSession)
        {
            recorder.FrameEnded();
            const bool isGoing = steps(aSession);
            recorder.FrameBegins();
            return isGoing;
        });
    recorder.PrintFigures();
    const Qel::Vector2<std::uint32_t> size = Qel::Engine::GetInstance()->GetRenderSize();
    QelBenchmark::PrintFigure("width", size.x);
    QelBenchmark::PrintFigure("height", size.y);
    if (!steps.GetFailure().empty() || !steps.IsFinished())
    {
        std::printf("[FrameTime] the script stopped at %s: %s\n", steps.GetStepName().c_str(),
                    steps.GetFailure().c_str());
        return 1;
    }
    return 0;
}

// The child's side of the floor: an SDL2 window with a GL 4.5 core context, cleared and presented once.
int RunBareWindow(unsigned aWidth, unsigned aHeight)
{
    const QelBenchmark::LaunchClock clock;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_Window* window = SDL_CreateWindow("bare", 0, 0, static_cast<int>(aWidth), static_cast<int>(aHeight),
                                          SDL_WINDOW_OPENGL);
    SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    // Through the context's own entry points: the program links no GL library of its own.
    const auto clearColor =
        reinterpret_cast<void (*)(GLfloat, GLfloat, GLfloat, GLfloat)>(SDL_GL_GetProcAddress("glClearColor"));
    const auto clear = reinterpret_cast<void (*)(GLbitfield)>(SDL_GL_GetProcAddress("glClear"));
    const bool isReady = context != nullptr && clearColor != nullptr && clear != nullptr;
    if (isReady)
    {
        clearColor(0.0f, 0.5f, 0.6f, 1.0f);
        clear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        clock.Mark("first-present");
    }
    if (context != nullptr)
    {
        SDL_GL_DeleteContext(context);
    }
    if (window != nullptr)
    {
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
    return isReady ? 0 : 1;
}

struct Verdicts
{
    bool launch = true;
    bool frames = true;
    bool loads = true;
};

// One resolution: the bare windows, then the game; its tables and verdicts. False when a run failed.
bool MeasureResolution(const Resolution& aResolution, int aBareRuns, Verdicts& outVerdicts)
{
    const std::vector<std::string> size = {std::to_string(aResolution.width),
                                           std::to_string(aResolution.height)};
    std::vector<double> bare;
    for (int run = 0; run < aBareRuns; ++run)
    {
        const QelBenchmark::FreshRun fresh = QelBenchmark::RunFresh({"--bare", size[0], size[1]}, {}, true);
        if (fresh.succeeded && fresh.figures.count("first-present") != 0)
        {
            bare.push_back(fresh.figures.at("first-present"));
        }
    }
    // The decode's complaints about the catalogue's repeated file go nowhere.
    const QelBenchmark::FreshRun game = QelBenchmark::RunFresh({"--run", size[0], size[1]}, {}, true);
    std::printf("%ux%u\n", aResolution.width, aResolution.height);
    if (!game.succeeded || game.figures.count("first-present") == 0 || bare.empty())
    {
        // The end of its output says where it stopped; the frames before are of no help.
        const std::size_t tail = game.output.size() > 4000 ? game.output.size() - 4000 : 0;
        std::printf("  the %s did not run through:\n%s\n", bare.empty() ? "bare window" : "game",
                    game.output.c_str() + tail);
        return false;
    }
    const std::vector<PhaseFrame> frames = QelBenchmark::FramesFromFigures(game.figures);
    std::printf("  %-28s %7s %10s %8s %8s %6s %6s\n", "phase", "frames", "median ms", "p99 ms", "max ms",
                ">33", ">50");
    for (const QelBenchmark::PhaseSummary& phase : QelBenchmark::SummarisePhases(frames))
    {
        std::printf("  %-28s %7zu %10.1f %8.1f %8.1f %6zu %6zu\n", phase.phase.c_str(), phase.frames,
                    phase.median, phase.p99, phase.max, phase.over33, phase.over50);
    }
    const std::vector<PhaseFrame> longFrames = QelBenchmark::FramesOver(frames, aResolution.frameGoal, 1);
    std::printf("  frames over %.0f ms after the first (index, phase, ms): %zu\n", aResolution.frameGoal,
                longFrames.size());
    for (std::size_t at = 0; at < longFrames.size() && at < MOST_LISTED_FRAMES; ++at)
    {
        std::printf("    %6d  %-28s %7.1f\n", longFrames[at].index, longFrames[at].phase.c_str(),
                    longFrames[at].milliseconds);
    }
    if (longFrames.size() > MOST_LISTED_FRAMES)
    {
        std::printf("    ... and %zu more\n", longFrames.size() - MOST_LISTED_FRAMES);
    }

    std::printf("  level loads, request to first drawn frame (ms):");
    double slowest = 0.0;
    std::string slowestStem;
    std::size_t slow = 0;
    std::size_t loads = 0;
    for (const auto& [name, value] : game.figures)
    {
        if (name.rfind("load.", 0) == 0)
        {
            std::printf(" %s %.0f", name.c_str() + 5, value);
            ++loads;
            slow += value >= LOAD_GOAL_MS ? 1 : 0;
            if (value > slowest)
            {
                slowest = value;
                slowestStem = name.substr(5);
            }
        }
    }
    std::printf("\n  of which request to the world's hand-over (ms):");
    for (const auto& [name, value] : game.figures)
    {
        if (name.rfind("handover.", 0) == 0)
        {
            std::printf(" %s %.0f", name.c_str() + 9, value);
        }
    }
    std::printf("\n  of which the HUD's push (the slide's end) to first drawn frame (ms):");
    for (const auto& [name, value] : game.figures)
    {
        if (name.rfind("afterslide.", 0) == 0)
        {
            std::printf(" %s %.0f", name.c_str() + 11, value);
        }
    }
    std::printf("\n");

    const double launch = game.figures.at("first-present");
    const double bareMedian = QelBenchmark::Median(bare);
    const std::size_t expectedLoads = 1 + std::size(OTHER_LEVELS);
    const bool launchMet = launch <= LAUNCH_FACTOR_GOAL * bareMedian;
    const bool framesMet = longFrames.empty();
    const bool loadsMet = loads == expectedLoads && slow == 0;
    std::printf("  goal: launch to first presented frame <= 3x the bare window: %.0f ms against 3 x %.0f ms "
                "(median of %zu) = %.0f ms: %s\n",
                launch, bareMedian, bare.size(), LAUNCH_FACTOR_GOAL * bareMedian,
                launchMet ? "met" : "MISSED");
    std::printf("  goal: no frame over %.0f ms after the first: %zu over of %zu: %s\n", aResolution.frameGoal,
                longFrames.size(), frames.size(), framesMet ? "met" : "MISSED");
    std::printf("  goal: every shipped level's load under %.0f ms: %zu of %zu loaded, %zu slow, slowest %s "
                "%.0f ms: %s\n\n",
                LOAD_GOAL_MS, loads, expectedLoads, slow, slowestStem.c_str(), slowest,
                loadsMet ? "met" : "MISSED");
    std::fflush(stdout);
    outVerdicts.launch = outVerdicts.launch && launchMet;
    outVerdicts.frames = outVerdicts.frames && framesMet;
    outVerdicts.loads = outVerdicts.loads && loadsMet;
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 3 && (std::string(argv[1]) == "--run" || std::string(argv[1]) == "--bare"))
    {
        const auto width = static_cast<unsigned>(std::atoi(argv[2]));
        const auto height = static_cast<unsigned>(std::atoi(argv[3]));
        return std::string(argv[1]) == "--run" ? RunGame(width, height) : RunBareWindow(width, height);
    }
    const std::string only = argc > 1 ? argv[1] : "";
    const int bareRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    std::printf("Frame-time benchmark: %u hardware threads, video driver %s, load average %s\n\n",
                std::thread::hardware_concurrency(), driver != nullptr ? driver : "default",
                QelBenchmark::LoadAverage().c_str());
    std::fflush(stdout);
    Verdicts verdicts;
    bool failed = false;
    for (const Resolution& resolution : RESOLUTIONS)
    {
        const std::string name = std::to_string(resolution.width) + "x" + std::to_string(resolution.height);
        if (only.empty() || only == name)
        {
            failed = !MeasureResolution(resolution, bareRuns, verdicts) || failed;
        }
    }
    std::printf("Launch %s, frames %s, loads %s; load average after %s\n", verdicts.launch ? "met" : "MISSED",
                verdicts.frames ? "met" : "MISSED", verdicts.loads ? "met" : "MISSED",
                QelBenchmark::LoadAverage().c_str());
    return failed ? 1 : 0;
}
