// The game played as a person would, through the program's own frame loop at a fixed 60 frames a
// second with real content: the logos, the title, the settings on the pad, the level select, levels
// played from the scripted runs committed beside their maps, a pause with a settings change, a retry
// from the results, the bonus level once all 12 keys are held, the boss, the outro and the credits
// film, the credits screen, and Quit. It checks the game-state codes on the way, every results screen's
// score against the level's pickups, and the progress file at the end.
#include "Game/Support/LevelSteps.h"
#include "Menu/CreditsMenu.h"
#include "Menu/CreditsVideo.h"
#include "Menu/GameMenu.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/MainMenu.h"
#include "Menu/SettingMenu.h"
#include "Session/LevelProgress.h"
#include "Sound/SoundBank.h"
#include "World/GameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>

namespace
{
using GameTest::GameSession;
using GameTest::LevelOutcome;
using GameTest::SessionSteps;

constexpr int FPS = GameSession::FRAMES_PER_SECOND;
// While a level plays its world is drawn once every this many frames: the frames between still run
// the whole update, and the menus, the loading screen and the film are drawn every frame. It keeps
// the run to a few minutes on a software renderer.
constexpr int LEVEL_DRAW_INTERVAL = 4;

const char FIRST_LEVEL[] = "L_World1_Level1";
// Level-select order up to the boss, with the bonus played once the keys are all held.
const char* const MAIN_LEVELS[] = {"L_World1_Level1", "L_World1_Level2", "L_World2_Level1",
                                   "L_World2_Level2", "L_World3_Level1", "L_World3_Level2"};
const char BONUS_LEVEL[] = "L_World3_BonusLevel";
const char BOSS_LEVEL[] = "L_World3_Level3";

std::string Describe(const std::vector<GameState>& someStates)
{
    std::ostringstream text;
    for (const GameState state : someStates)
    {
        text << state << ' ';
    }
    return text.str();
}

// aExpected appears in aTrace in order, with anything between.
bool ContainsInOrder(const std::vector<GameState>& aTrace, const std::vector<GameState>& aExpected)
{
    auto at = aTrace.begin();
    for (const GameState state : aExpected)
    {
        at = std::find(at, aTrace.end(), state);
        if (at == aTrace.end())
        {
            return false;
        }
        ++at;
    }
    return true;
}

class PlayThrough : public testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(mySession.GetStartError(), "") << "the program did not start"; }

    // The logos run their time, then the title is alone on the stack.
    void AddSplash()
    {
        mySteps.WaitFor("the logos give way to the title", 30 * FPS,
                        [](const GameSession& aSession) { return GameTest::IsAtTitle(aSession); });
    }

    // On the pad: the title's settings, the mute box ticked and cleared again, B back to the title.
    void AddPadSettings()
    {
        mySteps.Do("plug the pad in",
                   [this](GameSession& aSession)
                   {
                       if (aSession.PlugPad() == nullptr)
                       {
                           mySteps.Fail("SDL would not attach a virtual pad");
                       }
                   });
        // SDL opens the controller and reads its first state in the frames after it is attached.
        mySteps.Add("the pad is found", 4, [](GameSession&, int aFrame) { return aFrame >= 3; });
        mySteps.TapPad("d-pad down to Settings", SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        mySteps.TapPad("A on Settings", SDL_CONTROLLER_BUTTON_A);
        mySteps.WaitFor("the settings over the title", 2,
                        [](const GameSession& aSession) { return aSession.Top<SettingMenu>() != nullptr; });
        mySteps.TapPad("d-pad down to the mute box", SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        mySteps.TapPad("A ticks the mute box", SDL_CONTROLLER_BUTTON_A);
        mySteps.Do("muted",
                   [this](GameSession&) { myWasMutedOnThePad = SoundBank::GetInstance().IsMuted(); });
        mySteps.TapPad("A clears the mute box", SDL_CONTROLLER_BUTTON_A);
        mySteps.Do("unmuted",
                   [this](GameSession&) { myWasUnmutedOnThePad = !SoundBank::GetInstance().IsMuted(); });
        mySteps.TapPad("B closes the settings", SDL_CONTROLLER_BUTTON_B);
        mySteps.WaitFor("the title again", 3,
                        [](const GameSession& aSession) { return GameTest::IsAtTitle(aSession); });
        // A plugged pad drives the player instead of the keyboard the scripts use.
        mySteps.Do("unplug the pad", [](GameSession& aSession) { aSession.UnplugPad(); });
    }

    // Escape pauses the level; in the pause menu A held on the volume moves its knob down; Escape resumes.
    void AddPauseWithVolumeChange(SessionSteps& aSteps)
    {
        aSteps.Tap("Escape pauses", MenuInput::KEY_ESCAPE);
        aSteps.WaitFor("the pause menu", 3,
                       [](const GameSession& aSession)
                       {
                           const SettingMenu* menu = aSession.Top<SettingMenu>();
                           return menu != nullptr && menu->IsInGame() && aSession.GetStack().IsGamePaused();
                       });
        aSteps.Do("the volume before",
                  [this](GameSession&) { myVolumeBefore = SoundBank::GetInstance().GetMasterVolume(); });
        aSteps.Add("A held on the volume", 13,
                   [](GameSession& aSession, int aFrame)
                   {
                       if (aFrame == 0)
                       {
                           aSession.KeyDown(MenuInput::KEY_A);
                       }
                       else if (aFrame == 11)
                       {
                           aSession.KeyUp(MenuInput::KEY_A);
                       }
                       return aFrame >= 12;
                   });
        aSteps.Do("the volume after",
                  [this](GameSession&) { myVolumeAfter = SoundBank::GetInstance().GetMasterVolume(); });
        aSteps.Tap("Escape resumes", MenuInput::KEY_ESCAPE);
        aSteps.WaitFor("the level runs again", 3,
                       [](const GameSession& aSession) {
                           return aSession.Top<GameMenu>() != nullptr && !aSession.GetStack().IsGamePaused();
                       });
    }

    // On the results screen: A or D onto the button, then Enter.
    void AddResultsButton(const std::string& aName, int aButton)
    {
        mySteps.TapUntil(aName, MenuInput::KEY_A, 4,
                         [aButton](const GameSession& aSession)
                         {
                             const LevelEndResultsMenu* results = aSession.Top<LevelEndResultsMenu>();
                             return results == nullptr ||
                                    (results->GetCurrentButton() != nullptr &&
                                     results->GetCurrentButton()->GetIndex() == aButton);
                         });
        mySteps.Tap(aName + ": Enter", MenuInput::KEY_ENTER);
    }

    void AddTitleButton(const std::string& aName, int aButton)
    {
        mySteps.TapUntil(aName, MenuInput::KEY_S, 6,
                         [aButton](const GameSession& aSession)
                         {
                             const MainMenu* title = aSession.Top<MainMenu>();
                             return title != nullptr && title->GetSelectedIndex() == aButton;
                         });
        mySteps.Tap(aName + ": Enter", MenuInput::KEY_ENTER);
    }

    // The first level from the level select, paused once, retried from its results, then Next.
    void AddFirstLevelWithPauseAndRetry()
    {
        GameTest::AddChooseLevel(mySteps, FIRST_LEVEL);
        GameTest::AddPlayLevel(mySteps, FIRST_LEVEL, myOutcomes, LEVEL_DRAW_INTERVAL,
                               [this](SessionSteps& aSteps) { AddPauseWithVolumeChange(aSteps); });
        AddResultsButton("Retry on the results", LevelEndResultsMenu::RETRY_BUTTON);
        GameTest::AddPlayLevel(mySteps, FIRST_LEVEL, myOutcomes, LEVEL_DRAW_INTERVAL);
        AddResultsButton("Next on the results", LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
    }

    // The credits screen from the title and back, then Quit.
    void AddCreditsAndQuit()
    {
        AddTitleButton("the title's Credits", MainMenu::BUTTON_CREDITS);
        mySteps.WaitFor("the credits screen", 3,
                        [](const GameSession& aSession) { return aSession.Top<CreditsMenu>() != nullptr; });
        mySteps.Tap("Escape leaves the credits", MenuInput::KEY_ESCAPE);
        mySteps.WaitFor("the title after the credits", 3,
                        [](const GameSession& aSession) { return GameTest::IsAtTitle(aSession); });
        AddTitleButton("the title's Quit", MainMenu::BUTTON_QUIT);
        mySteps.WaitFor("the game quits", 3, [](const GameSession& aSession) { return aSession.HasQuit(); });
    }

    void Run()
    {
        mySession.Run(std::ref(mySteps));
        std::cout << "[PlayThrough] " << mySession.GetFrame() << " frames, game states "
                  << Describe(mySession.GetStateTrace()) << "\n";
        for (const LevelOutcome& outcome : myOutcomes)
        {
            std::cout << "[PlayThrough] " << outcome.stem << ": score " << outcome.score << " (wisps "
                      << outcome.coins << ", keys " << outcome.keys << " of " << outcome.levelKeys << ")\n";
        }
        ASSERT_EQ(mySteps.GetFailure(), "");
        ASSERT_TRUE(mySession.HasQuit()) << "stopped at " << mySteps.GetStepName();
    }

    // Each results screen showed the level's pickups at the level's points, counted all the way up, with
    // all of the level's keys.
    void ExpectScores() const
    {
        for (const LevelOutcome& outcome : myOutcomes)
        {
            EXPECT_EQ(outcome.score, outcome.expectedScore) << outcome.stem;
            EXPECT_EQ(outcome.keys, outcome.levelKeys) << outcome.stem;
            if (outcome.stem != BOSS_LEVEL)
            {
                EXPECT_EQ(outcome.shownScore, outcome.score) << outcome.stem;
            }
        }
    }

    // The progress file holds each played level's best score and keys.
    ProgressTables ExpectProgress() const
    {
        const ProgressRead read = ReadProgressTables(mySession.GetProgressFile());
        EXPECT_TRUE(read.tables.has_value()) << mySession.GetProgressFile() << ": " << read.error;
        if (!read.tables.has_value())
        {
            return {};
        }
        for (const LevelOutcome& outcome : myOutcomes)
        {
            const std::string path = GameTest::LevelPath(outcome.stem);
            const auto points = read.tables->points.find(path);
            const auto keys = read.tables->keys.find(path);
            // A level that scored nothing has no entry.
            EXPECT_EQ(points != read.tables->points.end() ? points->second : 0, outcome.expectedScore)
                << path;
            if (outcome.levelKeys > 0)
            {
                EXPECT_EQ(keys != read.tables->keys.end() ? keys->second : -1, outcome.levelKeys) << path;
            }
        }
        return *read.tables;
    }

    GameSession mySession;
    SessionSteps mySteps;
    std::vector<LevelOutcome> myOutcomes;
    bool myWasMutedOnThePad = false;
    bool myWasUnmutedOnThePad = false;
    float myVolumeBefore = 0.0f;
    float myVolumeAfter = 0.0f;
};

TEST_F(PlayThrough, TheFirstLevelAndEveryMenu)
{
    AddSplash();
    AddPadSettings();
    AddFirstLevelWithPauseAndRetry();
    mySteps.WaitFor("the next level is asked for", 10 * FPS,
                    [](const GameSession& aSession)
                    {
                        const GameWorld& world = aSession.GetWorld();
                        return world.GetLoadingScene() == GameTest::LevelPath(MAIN_LEVELS[1]) ||
                               world.GetCurrentScene() == GameTest::LevelPath(MAIN_LEVELS[1]);
                    });
    GameTest::AddReturnToTitle(mySteps, "Back to Title from the pause menu");
    AddCreditsAndQuit();
    ASSERT_NO_FATAL_FAILURE(Run());

    EXPECT_TRUE(myWasMutedOnThePad);
    EXPECT_TRUE(myWasUnmutedOnThePad);
    EXPECT_LT(myVolumeAfter, myVolumeBefore) << "A on the volume did not turn it down";
    ASSERT_EQ(myOutcomes.size(), 2u) << "the first run and the retry";
    EXPECT_EQ(myOutcomes[0].score, myOutcomes[1].score) << "the retry scored differently";
    EXPECT_GT(myOutcomes[0].score, 0);
    ExpectScores();
    ExpectProgress();
    // Title, level select, scene change, playing, pause, playing, results, the retry's scene change and
    // play and results, Next's scene change, back at the title, the credits, the title.
    const std::vector<GameState> expected = {0, 2, 3, 4, 5, 4, 6, 3, 4, 6, 3, 0, 1, 0};
    EXPECT_TRUE(ContainsInOrder(mySession.GetStateTrace(), expected)) << Describe(mySession.GetStateTrace());
}

TEST_F(PlayThrough, TheWholeGame)
{
    AddSplash();
    AddPadSettings();
    AddFirstLevelWithPauseAndRetry();
    for (std::size_t index = 1; index < std::size(MAIN_LEVELS); ++index)
    {
        GameTest::AddPlayLevel(mySteps, MAIN_LEVELS[index], myOutcomes, LEVEL_DRAW_INTERVAL);
        if (index + 1 < std::size(MAIN_LEVELS))
        {
            AddResultsButton(std::string("Next after ") + MAIN_LEVELS[index],
                             LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
        }
    }
    GameTest::AddReturnToTitle(mySteps, "Return to Menu once every key is held");
    mySteps.Do("the bonus opens",
               [this](GameSession&)
               {
                   if (CountProgressKeys() != MenuState::BONUS_KEY_TOTAL)
                   {
                       mySteps.Fail("the bonus stays locked with " + std::to_string(CountProgressKeys()) +
                                    " keys");
                   }
               });
    GameTest::AddChooseLevel(mySteps, BONUS_LEVEL);
    GameTest::AddPlayLevel(mySteps, BONUS_LEVEL, myOutcomes, LEVEL_DRAW_INTERVAL);
    GameTest::AddReturnToTitle(mySteps, "Return to Menu after the bonus");
    GameTest::AddChooseLevel(mySteps, BOSS_LEVEL);
    GameTest::AddPlayLevel(mySteps, BOSS_LEVEL, myOutcomes, LEVEL_DRAW_INTERVAL);
    mySteps.WaitFor("the outro gives way to the credits film", 60 * FPS,
                    [](const GameSession& aSession) { return aSession.Top<CreditsVideo>() != nullptr; });
    mySteps.WaitFor("the film plays to its end and the title comes back", 60 * FPS,
                    [](const GameSession& aSession) { return GameTest::IsAtTitle(aSession); });
    AddCreditsAndQuit();
    ASSERT_NO_FATAL_FAILURE(Run());

    ExpectScores();
    const ProgressTables progress = ExpectProgress();
    int keys = 0;
    for (const auto& [level, count] : progress.keys)
    {
        keys += count;
    }
    EXPECT_EQ(keys, MenuState::BONUS_KEY_TOTAL);
    const std::vector<GameState> expected = {0, 2, 3, 4, 5, 4, 6, 3, 4, 6, 3, 4, 6,
                                             0, 2, 3, 4, 6, 0, 2, 3, 4, 0, 1, 0};
    EXPECT_TRUE(ContainsInOrder(mySession.GetStateTrace(), expected)) << Describe(mySession.GetStateTrace());
}
} // namespace
