// Every shipped level played from its start by the scripted run committed beside its map, through the
// real world and state stack at a fixed 60 frames a second: the run reaches the level's exit and its
// results (the boss level: the boss dies and the outro starts), with all of the level's keys and the
// wisps its script expects, and no enemy turning on the spot on the way. QEL_LEVEL_RUN_TRACE=1 prints
// the player's path, for writing scripts.
#include "Boss/BossAnimator.h"
#include "Game/Support/LevelWatch.h"
#include "Game/Support/StackStates.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/StateStack.h"
#include "Session/LevelCounters.h"
#include "Session/LevelRegistry.h"
#include "Support/ManualCounter.h"
#include "Support/WorkingFolder.h"
#include "World/GameWorld.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

namespace
{
using namespace GameTest;

// Every shipped level but the render-test scene, which has no exit to reach.
const char* const LEVELS[] = {"L_World1_Level1",     "L_World1_Level2", "L_World2_Level1", "L_World2_Level2",
                              "L_World3_BonusLevel", "L_World3_Level1", "L_World3_Level2", "L_World3_Level3"};

std::string ReadShipped(const std::string& aName)
{
    std::ifstream file(Qel::GetExecutableFolder() / "settings" / aName);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class LevelRun : public testing::TestWithParam<const char*>
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Qel::LoadSettings("Game.json")); }
    static void TearDownTestSuite() { Qel::ModelFactory::DestroyInstance(); }

    void SetUp() override
    {
        myFolder.WriteFile("settings/UISettings.json", ReadShipped("UISettings.json"));
        myFolder.WriteFile("settings/Dialogues.json", ReadShipped("Dialogues.json"));
        std::filesystem::create_directories(myFolder.GetPath() / "Source/Game/data/settings");
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        myStack.Init();
        myWorld.Init();
        StackStates(myStack, 3);
    }

    void TearDown() override
    {
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        LevelRegistry::GetInstance().SetCurrentScene("");
    }

    void Frame()
    {
        myStack.Update(myWorld.GetInput());
        myWorld.Update(myStack);
        myClock.Advance(1);
    }

    bool Load(const std::string& aScene)
    {
        LevelRegistry::GetInstance().SetSceneRequest(aScene);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        do
        {
            Frame();
            if (myWorld.IsLoading())
            {
                // The load runs on a task in real time; the frames it takes do not matter.
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        } while ((myWorld.IsLoading() || myWorld.GetCurrentScene() != aScene) &&
                 std::chrono::steady_clock::now() < deadline);
        return !myWorld.IsLoading() && myWorld.GetCurrentScene() == aScene && myWorld.GetPlayer() != nullptr;
    }

    bool ResultsShown() const
    {
        return dynamic_cast<LevelEndResultsMenu*>(myStack.GetState(myStack.GetSize() - 1)) != nullptr;
    }

    void TraceEnemies() const
    {
        for (const auto& object : myWorld.GetObjects())
        {
            const std::string& tag = object->GetTag();
            if (object->IsActive() && (tag == "Schnoz_II" || tag == "Schnoz_III" || tag == "Boss"))
            {
                const Qel::Vector3<float> position = object->GetTransform().GetPosition();
                std::cout << "    " << object->GetName() << " (" << position.x << ", " << position.y << ")";
                if (const BossAnimator* boss = object->GetComponent<BossAnimator>())
                {
                    const auto* state = boss->GetCurrentState();
                    std::cout << " " << (state != nullptr ? state->GetName() : "-") << ", hits left "
                              << boss->GetHitsLeft();
                }
                std::cout << "\n";
            }
        }
    }

    QelTest::ManualCounter myClock{RUN_FRAMES_PER_SECOND};
    QelTest::WorkingFolder myFolder;
    StateStack myStack;
    GameWorld myWorld{myClock};
};

TEST_P(LevelRun, TheScriptedRunReachesTheExitWithTheLevelsKeys)
{
    const std::string stem = GetParam();
    std::string error;
    const std::optional<LevelScript> script =
        LevelScript::Load(GetLevelScriptFolder() / (stem + ".run"), RUN_FRAMES_PER_SECOND, error);
    ASSERT_TRUE(script.has_value()) << error;
    ASSERT_TRUE(Load("levels/" + stem + ".vks")) << "the level did not load";
    const int levelCoins = CountTagged(myWorld, "Coin");
    const int levelKeys = CountTagged(myWorld, "Key");
    // The load task fetched everything: a file read during play is a long frame.
    Qel::ModelFactory& models = *Qel::ModelFactory::GetInstance();
    const std::size_t loadedModels = models.GetModelCount();
    const std::size_t loadedClips = models.GetAnimationCount();

    const bool isBossLevel = stem == BOSS_LEVEL;
    const bool trace = std::getenv("QEL_LEVEL_RUN_TRACE") != nullptr;
    LevelScriptPlayer player(*script, SCRIPT_STEP_LIMIT_FRAMES);
    std::string lastStep;
    EnemyTurnWatch turns;
    int framesAfterScript = 0;
    int frame = 0;
    const auto finished = [&]
    {
        return isBossLevel ? IsBossDead(myWorld) && IsOutroRunning(myWorld) : ResultsShown();
    };
    while (!finished() && framesAfterScript < AFTER_SCRIPT_FRAMES)
    {
        const PlayerView view = ViewPlayer(*myWorld.GetPlayer());
        ASSERT_TRUE(player.Tick(view, myWorld.GetInput())) << stem << ": " << player.GetFailure();
        if (trace && (player.DescribeStep() != lastStep || frame % 30 == 0))
        {
            lastStep = player.DescribeStep();
            std::cout << "[LevelRun] " << stem << " frame " << frame << " (" << view.position.x << ", "
                      << view.position.y << ")" << (view.isGrounded ? " ground " : " air ") << lastStep
                      << " coins " << GetCollectedCoinCount() << " keys " << GetCollectedKeyCount() << " "
                      << PlayerStateName(myWorld) << "\n";
            TraceEnemies();
        }
        framesAfterScript += player.IsFinished() ? 1 : 0;
        Frame();
        turns.Watch(myWorld);
        ++frame;
    }
    EXPECT_EQ(turns.GetFailure(), "") << stem;
    EXPECT_EQ(models.GetModelCount(), loadedModels) << stem << ": a model was loaded during play";
    EXPECT_EQ(models.GetAnimationCount(), loadedClips) << stem << ": a clip was loaded during play";
    const PlayerView end = ViewPlayer(*myWorld.GetPlayer());
    if (trace)
    {
        std::cout << "[LevelRun] " << stem << " done at frame " << frame << "\n";
    }
    ASSERT_TRUE(finished()) << stem << ": the run ended at (" << end.position.x << ", " << end.position.y
                            << ") without "
                            << (isBossLevel ? "the boss's death and the outro" : "the results");
    EXPECT_EQ(GetCollectedKeyCount(), levelKeys) << stem;
    EXPECT_LE(GetCollectedCoinCount(), levelCoins) << stem;
    ASSERT_GE(script->GetExpectedCoins(), 0) << stem << ": the script says no \"expect coins\"";
    EXPECT_EQ(GetCollectedCoinCount(), script->GetExpectedCoins()) << stem << " holds " << levelCoins;
    if (isBossLevel)
    {
        // The outro ends the game by asking the menus for the credits film.
        for (int after = 0; after < AFTER_SCRIPT_FRAMES && !myStack.ShouldPlayCreditsVideo(); ++after)
        {
            Frame();
        }
        EXPECT_TRUE(myStack.ShouldPlayCreditsVideo())
            << stem << ": the outro did not hand over to the credits";
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LevelRun, testing::ValuesIn(LEVELS),
                         [](const testing::TestParamInfo<const char*>& aInfo)
                         { return std::string(aInfo.param); });
} // namespace
