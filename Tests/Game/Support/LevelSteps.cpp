#include "Game/Support/LevelSteps.h"

#include "Game/Support/LevelWatch.h"

#include "Menu/CreditsMenu.h"
#include "Menu/CreditsVideo.h"
#include "Menu/GameMenu.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/LevelSelectMenu.h"
#include "Menu/MainMenu.h"
#include "Menu/MenuState.h"
#include "Menu/SettingMenu.h"
#include "Player/PlayerAnimator.h"
#include "Session/LevelCounters.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "World/GameWorld.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <regex>
#include <thread>

namespace GameTest
{
namespace
{
constexpr int FPS = GameSession::FRAMES_PER_SECOND;
// A level's load runs on a task in real time, so its wait is bounded by time, not frames.
constexpr int LOAD_LIMIT_FRAMES = SessionSteps::UNTIL_WAIT_DEADLINE;

// The level on screen and running: loaded, its player there, the HUD on top.
bool IsPlaying(const GameSession& aSession, const std::string& aPath)
{
    const GameWorld& world = aSession.GetWorld();
    return !world.IsLoading() && world.GetCurrentScene() == aPath && world.GetPlayer() != nullptr &&
           aSession.Top<GameMenu>() != nullptr;
}

void WaitForTheLoadTask(const GameSession& aSession)
{
    if (aSession.GetWorld().IsLoading())
    {
        // The frames the load takes do not matter; the machine's time goes to the task.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Everything one level's run keeps between frames.
struct LevelRun
{
    std::string stem;
    std::optional<LevelScript> script;
    std::string scriptError;
    std::unique_ptr<LevelScriptPlayer> player;
    int framesAfterScript = 0;
    std::string tracedStep;
    int levelKeys = 0;
    int wispPoints = 0;
    int keyPoints = 0;
};
} // namespace

std::string LevelPath(const std::string& aStem)
{
    return "levels/" + aStem + ".vks";
}

void ReadLevelPoints(const std::string& aStem, int& aWispPoints, int& aKeyPoints)
{
    aWispPoints = RankSystem::DEFAULT_POINTS_PER_WISP;
    aKeyPoints = RankSystem::DEFAULT_POINTS_PER_KEY;
    std::ifstream map(GetLevelScriptFolder() / (aStem + ".txt"));
    const std::regex wisps(R"((^|\s)Wisps=(\d+))");
    const std::regex keys(R"((^|\s)Keys=(\d+))");
    std::string line;
    while (std::getline(map, line))
    {
        if (line.rfind("RankingSystem ", 0) != 0)
        {
            continue;
        }
        std::smatch match;
        if (std::regex_search(line, match, wisps))
        {
            aWispPoints = std::stoi(match[2]);
        }
        if (std::regex_search(line, match, keys))
        {
            aKeyPoints = std::stoi(match[2]);
        }
    }
}

bool IsAtTitle(const GameSession& aSession)
{
    const GameWorld& world = aSession.GetWorld();
    return aSession.GetStack().GetSize() == 1 && aSession.Top<MainMenu>() != nullptr && !world.IsLoading() &&
           world.GetCurrentScene().empty();
}

void AddChooseLevel(SessionSteps& aSteps, const std::string& aStem)
{
    const std::string path = LevelPath(aStem);
    aSteps.TapUntil("the title's Start button", MenuInput::KEY_W, 8,
                    [](const GameSession& aSession)
                    {
                        const MainMenu* title = aSession.Top<MainMenu>();
                        return title == nullptr || title->GetSelectedIndex() == MainMenu::BUTTON_START;
                    });
    aSteps.TapUntil("the level select", MenuInput::KEY_ENTER, 8,
                    [](const GameSession& aSession) { return aSession.Top<LevelSelectMenu>() != nullptr; });
    aSteps.TapUntil(aStem + "'s button", MenuInput::KEY_W, 20,
                    [&aSteps, path](const GameSession& aSession)
                    {
                        const LevelSelectMenu* menu = aSession.Top<LevelSelectMenu>();
                        if (menu == nullptr)
                        {
                            aSteps.Fail("the level select is gone");
                            return true;
                        }
                        const std::vector<std::string>& paths = menu->GetPaths();
                        const auto found = std::find(paths.begin(), paths.end(), path);
                        if (found == paths.end())
                        {
                            aSteps.Fail("the level select has no button for " + path);
                            return true;
                        }
                        return menu->GetFocus() == static_cast<int>(found - paths.begin());
                    });
    aSteps.Tap("choose " + aStem, MenuInput::KEY_ENTER);
}

void AddPlayLevel(SessionSteps& aSteps, const std::string& aStem, std::vector<LevelOutcome>& aOutcomes,
                  int aDrawInterval, const std::function<void(SessionSteps&)>& anAfterLoad)
{
    auto run = std::make_shared<LevelRun>();
    run->stem = aStem;
    ReadLevelPoints(aStem, run->wispPoints, run->keyPoints);
    const std::filesystem::path scriptPath = GetLevelScriptFolder() / (aStem + ".run");
    if (std::filesystem::exists(scriptPath))
    {
        run->script = LevelScript::Load(scriptPath, FPS, run->scriptError);
    }
    else
    {
        run->scriptError = "there is no scripted run " + scriptPath.string();
    }
    const std::string path = LevelPath(aStem);

    aSteps.Add(aStem + " loads", LOAD_LIMIT_FRAMES,
               [&aSteps, run, path, aDrawInterval](GameSession& aSession, int)
               {
                   if (!run->script.has_value())
                   {
                       aSteps.Fail(run->stem + ": " + run->scriptError);
                       return true;
                   }
                   WaitForTheLoadTask(aSession);
                   if (!IsPlaying(aSession, path))
                   {
                       return false;
                   }
                   run->player = std::make_unique<LevelScriptPlayer>(*run->script, SCRIPT_STEP_LIMIT_FRAMES);
                   run->framesAfterScript = 0;
                   run->levelKeys = CountTagged(aSession.GetWorld(), "Key");
                   aSession.SetDrawInterval(aDrawInterval);
                   return true;
               });
    if (anAfterLoad)
    {
        anAfterLoad(aSteps);
    }
    // The script's own limits end a lost run; this one only bounds a run whose steps keep finishing.
    const int limit = static_cast<int>(run->script.has_value() ? run->script->GetSteps().size() : 1) *
                          SCRIPT_STEP_LIMIT_FRAMES +
                      AFTER_SCRIPT_FRAMES;
    aSteps.Add(
        aStem + " is played from its script", limit,
        [&aSteps, &aOutcomes, run](GameSession& aSession, int)
        {
            GameWorld& world = aSession.GetWorld();
            const bool isBoss = run->stem == BOSS_LEVEL;
            const LevelEndResultsMenu* results = aSession.Top<LevelEndResultsMenu>();
            if ((isBoss && IsBossDead(world) && IsOutroRunning(world)) || (!isBoss && results != nullptr))
            {
                aSession.ReleaseAllKeys();
                aSession.SetDrawInterval(1);
                LevelOutcome outcome;
                outcome.stem = run->stem;
                outcome.score = results != nullptr ? results->GetScore() : RankSystem::GetGlobalScore();
                outcome.coins = GetCollectedCoinCount();
                outcome.keys = GetCollectedKeyCount();
                outcome.levelKeys = run->levelKeys;
                outcome.expectedScore =
                    run->script->GetExpectedCoins() * run->wispPoints + run->levelKeys * run->keyPoints;
                aOutcomes.push_back(outcome);
                return true;
            }
            if (world.GetPlayer() == nullptr)
            {
                aSteps.Fail(run->stem + ": the player is gone");
                return true;
            }
            const PlayerView view = ViewPlayer(*world.GetPlayer());
            const bool isGoing = run->player->Tick(view,
                                                   [&aSession](std::uint32_t aMessage, std::uint32_t aKey)
                                                   {
                                                       if (aMessage == WM_KEYDOWN)
                                                       {
                                                           aSession.KeyDown(aKey);
                                                       }
                                                       else
                                                       {
                                                           aSession.KeyUp(aKey);
                                                       }
                                                   });
            if (std::getenv("QEL_LEVEL_RUN_TRACE") != nullptr &&
                run->player->DescribeStep() != run->tracedStep)
            {
                run->tracedStep = run->player->DescribeStep();
                std::cout << "[PlayThrough] " << run->stem << " (" << view.position.x << ", "
                          << view.position.y << ") " << run->tracedStep << "\n";
            }
            if (!isGoing)
            {
                aSteps.Fail(run->stem + ": " + run->player->GetFailure());
                return true;
            }
            if (run->player->IsFinished() && ++run->framesAfterScript > AFTER_SCRIPT_FRAMES)
            {
                const PlayerView end = ViewPlayer(*world.GetPlayer());
                aSteps.Fail(run->stem + ": the run ended at (" + std::to_string(end.position.x) + ", " +
                            std::to_string(end.position.y) + ") without " +
                            (isBoss ? "the boss's death and the outro" : "the results"));
                return true;
            }
            return false;
        });
    if (std::string(aStem) != BOSS_LEVEL)
    {
        // The score counts up on the results screen before it is read.
        aSteps.WaitFor(aStem + "'s score counts up", 10 * FPS,
                       [](const GameSession& aSession)
                       {
                           const LevelEndResultsMenu* results = aSession.Top<LevelEndResultsMenu>();
                           return results == nullptr || results->GetShownScore() == results->GetScore();
                       });
        aSteps.Do(aStem + "'s shown score",
                  [&aOutcomes](GameSession& aSession)
                  {
                      if (const LevelEndResultsMenu* results = aSession.Top<LevelEndResultsMenu>())
                      {
                          aOutcomes.back().shownScore = results->GetShownScore();
                      }
                  });
    }
}

void AddReturnToTitle(SessionSteps& aSteps, const std::string& aName)
{
    aSteps.Add(aName, 120 * FPS,
               [](GameSession& aSession, int aFrame)
               {
                   aSession.ReleaseAllKeys();
                   if (aFrame % 2 == 1)
                   {
                       return false;
                   }
                   WaitForTheLoadTask(aSession);
                   if (IsAtTitle(aSession))
                   {
                       return true;
                   }
                   if (aSession.GetWorld().IsLoading())
                   {
                       return false;
                   }
                   std::uint32_t key = 0;
                   if (aSession.Top<CreditsVideo>() != nullptr)
                   {
                       key = MenuInput::KEY_SPACE;
                   }
                   else if (const SettingMenu* settings = aSession.Top<SettingMenu>())
                   {
                       const bool isOnBackToTitle = settings->GetFocus() == SettingMenu::FOCUS_BACK_TO_TITLE;
                       key = !settings->IsInGame() ? MenuInput::KEY_ESCAPE
                             : isOnBackToTitle     ? MenuInput::KEY_ENTER
                                                   : MenuInput::KEY_S;
                   }
                   else if (const LevelEndResultsMenu* results = aSession.Top<LevelEndResultsMenu>())
                   {
                       const MenuButton* button = results->GetCurrentButton();
                       const bool isOnReturn =
                           button != nullptr &&
                           button->GetIndex() == LevelEndResultsMenu::RETURN_TO_MENU_BUTTON;
                       key = isOnReturn ? MenuInput::KEY_ENTER : MenuInput::KEY_D;
                   }
                   else if (aSession.Top<MainMenu>() == nullptr)
                   {
                       // The HUD pauses, the level select and the credits go back.
                       key = MenuInput::KEY_ESCAPE;
                   }
                   if (key != 0)
                   {
                       aSession.KeyDown(key);
                   }
                   return false;
               });
}
} // namespace GameTest
