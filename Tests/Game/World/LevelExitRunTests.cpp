// The first level played to its exit through the world, with the scene's own door, scoring object and
// checkpoint built by their builders, and stand-ins for the player's pickups (what the contact rules
// do): the door opens, the results come up after the sequence with the level's score, count it up and
// show the rank picture for it, Next loads the second level, and the progress file holds the level's
// best score and keys, which the level select's key total then counts.
#include "Builders/LevelObjectBuilders.h"
#include "Collision/BoxColliderComponent.h"
#include "Game/Support/StackStates.h"
#include "Level/EyeAnimator.h"
#include "Level/LevelEndComponent.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/MenuButton.h"
#include "Menu/StateStack.h"
#include "Rules/CollisionSystemComponent.h"
#include "Session/LevelCounters.h"
#include "Session/LevelProgress.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "Support/ManualCounter.h"
#include "Support/WorkingFolder.h"
#include "World/GameWorld.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
constexpr const char* LEVEL_1 = "levels/L_World1_Level1.vks";
constexpr const char* LEVEL_2 = "levels/L_World1_Level2.vks";

SceneObjectData Record(const std::string& aName, const std::string& aTag,
                       std::unordered_map<std::string, std::any> someProperties = {})
{
    SceneObjectData data;
    data.name = aName;
    data.tag = aTag;
    data.properties = std::move(someProperties);
    return data;
}

GameWorld::SceneObjects ImportLevel(const std::string& aScene)
{
    GameWorld::SceneObjects objects;
    auto player = std::make_unique<GameObject>("Player");
    player->SetTag("Player");
    objects.push_back(std::move(player));
    const std::string target = aScene == LEVEL_1 ? LEVEL_2 : "";
    SceneObjectData doorData =
        Record("LevelEnd", "levelEnd",
               {{"Target Level", target}, {"Exit Sequence Duration", 0.2f}, {"World Index", 1}});
    // No model file: the door opens without being drawn.
    doorData.model = "models/SK/NoSuchDoor.fbx";
    auto door = BuildLevelEndObject(doorData);
    door->SetTag("levelEnd");
    objects.push_back(std::move(door));
    auto ranks = BuildRankingSystemObject(Record("RankingSystem", "RankingSystem"));
    ranks->SetTag("RankingSystem");
    objects.push_back(std::move(ranks));
    return objects;
}

template <typename T>
T* FindComponent(const GameWorld& aWorld)
{
    for (const std::unique_ptr<GameObject>& object : aWorld.GetObjects())
    {
        if (T* component = object->GetComponent<T>())
        {
            return component;
        }
    }
    return nullptr;
}

class LevelExitRun : public testing::Test
{
protected:
    void SetUp() override
    {
        myFolder.WriteFile("settings/UISettings.json", R"({"LevelEndResults": {"BadThreshold": 50,
            "OkThreshold": 120, "ScoreCountUpSeconds": 1.5, "BadSprite": "Bad.dds", "OkSprite": "Ok.dds",
            "GoodSprite": "Good.dds"}})");
        myFolder.WriteFile("settings/Dialogues.json", "{}");
        std::filesystem::create_directories(myFolder.GetPath() / "Source/Game/data/settings");
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        myStack.Init();
        myWorld.SetSceneImport(ImportLevel);
        myWorld.Init();
        GameTest::StackStates(myStack, 3);
    }

    void TearDown() override
    {
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        LevelRegistry::GetInstance().SetCurrentScene("");
    }

    // World frames a sixtieth of a second apart until aDone holds; false when it never did. The
    // deadline is for the level loads, which run on a task in real time.
    bool RunUntil(const std::function<bool()>& aDone)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!aDone() && std::chrono::steady_clock::now() < deadline)
        {
            if (myWorld.IsLoading())
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            myClock.Advance(1);
            myStack.Update(myInput);
            myWorld.Update(myStack);
            ++myFrames;
        }
        return aDone();
    }

    bool Load(const std::string& aScene)
    {
        LevelRegistry::GetInstance().SetSceneRequest(aScene);
        return RunUntil(
            [&] { return !myWorld.IsLoading() && LevelRegistry::GetInstance().GetCurrentScene() == aScene; });
    }

    LevelEndResultsMenu* TopResults() const
    {
        return dynamic_cast<LevelEndResultsMenu*>(myStack.GetState(myStack.GetSize() - 1));
    }

    QelTest::WorkingFolder myFolder;
    InputHandler myInput;
    StateStack myStack;
    QelTest::ManualCounter myClock{60};
    GameWorld myWorld{myClock};
    int myFrames = 0;
};

TEST_F(LevelExitRun, TheExitLeadsThroughTheResultsToTheNextLevelAndIsRecorded)
{
    ASSERT_TRUE(Load(LEVEL_1));
    CollisionSystemComponent* collision = FindComponent<CollisionSystemComponent>(myWorld);
    RankSystem* ranks = FindComponent<RankSystem>(myWorld);
    LevelEndComponent* exit = FindComponent<LevelEndComponent>(myWorld);
    ASSERT_TRUE(collision != nullptr && ranks != nullptr && exit != nullptr);
    collision->UseLevelRankSystem(ranks);

    // Thirty wisps at 2 and two keys at 5: 70, between the thresholds.
    for (int wisp = 0; wisp < 30; ++wisp)
    {
        ranks->AddScore(RankSystem::WISP);
        AddCollectedCoin();
    }
    for (int key = 0; key < 2; ++key)
    {
        ranks->AddScore(RankSystem::KEY);
        AddCollectedKey();
    }

    // Not at the door yet: nothing opens.
    EXPECT_FALSE(exit->BeginExit());
    BoxColliderComponent* doorBox = exit->GetOwner()->GetComponent<BoxColliderComponent>();
    ASSERT_NE(doorBox, nullptr);
    ASSERT_TRUE(doorBox->TriggerEnter());
    ASSERT_TRUE(exit->BeginExit());
    collision->RecordLevelProgress();
    EyeAnimator* door = exit->GetOwner()->GetComponent<EyeAnimator>();
    ASSERT_NE(door, nullptr);
    EXPECT_TRUE(door->IsActivated());

    // The door's 0.2 s sequence: twelve frames at sixty a second, and the results on the frame it ends.
    const int opened = myFrames;
    ASSERT_TRUE(RunUntil([&] { return TopResults() != nullptr; })) << "the results never came";
    EXPECT_GE(myFrames - opened, 12);
    EXPECT_LE(myFrames - opened, 13);
    LevelEndResultsMenu& results = *TopResults();
    EXPECT_EQ(results.GetLevelPath(), LEVEL_1);
    EXPECT_EQ(results.GetNextLevelPath(), LEVEL_2);
    EXPECT_EQ(results.GetScore(), 70);
    EXPECT_EQ(results.GetRankSpritePath(), "sprites/Ok.dds");
    EXPECT_EQ(results.GetResultText(), "Your Rank: B");
    EXPECT_EQ(myStack.GetGameState(), GameStateCode::LEVEL_RESULTS);
    EXPECT_TRUE(myStack.IsGamePaused());

    float now = 0.0f;
    results.SetClock([&now] { return now; });
    results.Update(myInput, {-1.0f, -1.0f});
    EXPECT_EQ(results.GetShownScore(), 0);
    now = 0.75f;
    results.Update(myInput, {-1.0f, -1.0f});
    EXPECT_EQ(results.GetShownScore(), 35);
    now = 1.5f;
    results.Update(myInput, {-1.0f, -1.0f});
    EXPECT_EQ(results.GetShownScore(), 70);

    ASSERT_EQ(results.GetCurrentButton()->GetIndex(), LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
    results.OnButtonPressed(LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
    ASSERT_TRUE(RunUntil(
        [&] { return !myWorld.IsLoading() && LevelRegistry::GetInstance().GetCurrentScene() == LEVEL_2; }))
        << "the second level did not load";
    EXPECT_EQ(TopResults(), nullptr);
    EXPECT_EQ(myStack.GetGameState(), GameStateCode::PLAYING);

    const ProgressRead progress = ReadProgressTables(ResolveLevelProgressPath());
    ASSERT_TRUE(progress.tables.has_value()) << progress.error;
    EXPECT_EQ(progress.tables->points.at(LEVEL_1), 70);
    EXPECT_EQ(progress.tables->keys.at(LEVEL_1), 2);
    EXPECT_EQ(CountProgressKeys(), 2);
}
} // namespace
