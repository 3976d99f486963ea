#include "Base/InputHandler.h"
#include "Game/Support/PlaceholderState.h"
#include "Game/Support/StackStates.h"
#include "GameLevelFolder.h"
#include "Menu/CreditsVideo.h"
#include "Menu/StateStack.h"
#include "Rules/CollisionSystemComponent.h"
#include "Session/LevelRegistry.h"
#include "World/GameWorld.h"
#include "vek/scene/SceneDataError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace
{
using SceneObjects = GameWorld::SceneObjects;
using Counts = std::map<std::string, int>;

// Counts the updates of its object under the object's name.
class CountingComponent : public Component
{
public:
    explicit CountingComponent(std::shared_ptr<Counts> aCounts) : myCounts(std::move(aCounts)) {}
    void Update(float aDeltaTime) override
    {
        static_cast<void>(aDeltaTime);
        ++(*myCounts)[GetOwner()->GetName()];
    }

private:
    std::shared_ptr<Counts> myCounts;
};

// The load task's import, under the test's control: it records each scene asked for, waits while the
// gate is held, and returns "<scene>/Player", "<scene>/Ground" and "<scene>/Keepsake" (persistent)
// objects, or throws for scenes named "levels/Bad*".
class ScriptedImport
{
public:
    ScriptedImport() : myCounts(std::make_shared<Counts>()) {}

    GameWorld::SceneImport Function()
    {
        return [this](const std::string& aScene)
        {
            return Run(aScene);
        };
    }
    void Hold()
    {
        std::lock_guard lock(myMutex);
        myIsHeld = true;
    }
    void Release()
    {
        {
            std::lock_guard lock(myMutex);
            myIsHeld = false;
        }
        myChanged.notify_all();
    }
    std::vector<std::string> GetCalls()
    {
        std::lock_guard lock(myMutex);
        return myCalls;
    }
    int GetUpdates(const std::string& aName) const
    {
        const auto found = myCounts->find(aName);
        return found != myCounts->end() ? found->second : 0;
    }

private:
    SceneObjects Run(const std::string& aScene)
    {
        {
            std::unique_lock lock(myMutex);
            myCalls.push_back(aScene);
            myChanged.wait(lock, [this] { return !myIsHeld; });
        }
        if (aScene.rfind("levels/Bad", 0) == 0)
        {
            try
            {
                throw std::runtime_error("[json.exception.parse_error.101] unexpected end of input");
            }
            catch (...)
            {
                std::throw_with_nested(
                    Qel::SceneDataError(aScene + ".leveldata/3f2504e0", "not an object file"));
            }
        }
        SceneObjects objects;
        for (const char* part : {"Player", "Ground", "Keepsake"})
        {
            auto object = std::make_unique<GameObject>(aScene + "/" + part);
            object->SetTag(part);
            object->AddComponent<CountingComponent>(myCounts);
            object->GetTransform().SetPosition({5.0f, 5.0f, 0.0f});
            object->SetPersistent(std::string(part) == "Keepsake");
            objects.push_back(std::move(object));
        }
        return objects;
    }

    std::mutex myMutex;
    std::condition_variable myChanged;
    bool myIsHeld = false;
    std::vector<std::string> myCalls;
    std::shared_ptr<Counts> myCounts;
};

class WorldLoad : public testing::Test
{
protected:
    void SetUp() override
    {
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        myWorld.SetSceneImport(myImport.Function());
        myWorld.Init();
        GameTest::StackStates(myStack, 3);
    }
    void TearDown() override
    {
        myImport.Release();
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        LevelRegistry::GetInstance().SetCurrentScene("");
    }

    void Request(const std::string& aScene)
    {
        LevelRegistry::GetInstance().SetSceneRequest(aScene);
        myWorld.Update(myStack);
    }
    // Frames until the world has no load running; fails the test when the load never ends.
    void RunUntilIdle()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (myWorld.IsLoading() && std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            myWorld.Update(myStack);
        }
        ASSERT_FALSE(myWorld.IsLoading()) << "the load did not finish";
    }
    std::vector<std::string> ObjectNames() const
    {
        std::vector<std::string> names;
        for (const auto& object : myWorld.GetObjects())
        {
            names.push_back(object->GetName());
        }
        return names;
    }
    void Load(const std::string& aScene)
    {
        Request(aScene);
        RunUntilIdle();
    }

    ScriptedImport myImport;
    GameWorld myWorld;
    StateStack myStack;
};
} // namespace

TEST_F(WorldLoad, InitLeavesOnlyThePersistentCollisionSystem)
{
    ASSERT_EQ(ObjectNames(), (std::vector<std::string>{"CollisionSystem"}));
    const GameObject& collision = *myWorld.GetObjects().front();
    EXPECT_TRUE(collision.IsPersistent());
    EXPECT_TRUE(collision.IsStarted());
    EXPECT_NE(collision.GetComponent<CollisionSystemComponent>(), nullptr);
    EXPECT_EQ(myWorld.GetCurrentScene(), "");
    EXPECT_FALSE(myWorld.IsLoading());
    EXPECT_EQ(GameWorld::GetInstance(), &myWorld);
}

TEST_F(WorldLoad, ARequestLoadsInTheBackgroundAndIsHandedOver)
{
    myImport.Hold();
    testing::internal::CaptureStdout();
    Request("levels/A.vks");
    EXPECT_TRUE(myWorld.IsLoading());
    EXPECT_EQ(myWorld.GetLoadingScene(), "levels/A.vks");
    EXPECT_EQ(myStack.GetGameState(), 3);
    EXPECT_TRUE(myStack.IsHidden()) << "menus deeper than two hide while a load runs";
    for (int frame = 0; frame < 3; ++frame)
    {
        myWorld.Update(myStack);
    }
    EXPECT_EQ(ObjectNames().size(), 1u) << "nothing is handed over while the task runs";
    myImport.Release();
    RunUntilIdle();
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_NE(output.find("[GameWorld] Loaded 3 objects from scene: levels/A.vks\n"), std::string::npos)
        << output;
    EXPECT_NE(output.find("[GameWorld] No object tagged 'BloodSea' found in scene: levels/A.vks\n"),
              std::string::npos);
    EXPECT_EQ(ObjectNames(), (std::vector<std::string>{"CollisionSystem", "levels/A.vks/Player",
                                                       "levels/A.vks/Ground", "levels/A.vks/Keepsake"}));
    EXPECT_EQ(myWorld.GetCurrentScene(), "levels/A.vks");
    EXPECT_EQ(LevelRegistry::GetInstance().GetCurrentScene(), "levels/A.vks");
    EXPECT_EQ(myWorld.GetCamera().GetLevelName(), "levels/A.vks");
    ASSERT_NE(myWorld.GetPlayer(), nullptr);
    EXPECT_EQ(myWorld.GetPlayer()->GetName(), "levels/A.vks/Player");
    EXPECT_TRUE(myWorld.GetPlayer()->IsPersistent());
    EXPECT_TRUE(myWorld.GetPlayer()->IsStarted());
    EXPECT_EQ(myWorld.GetPlayer()->GetTransform().GetPosition().x, 0.0f) << "the player starts at the origin";
    EXPECT_EQ(myWorld.GetFocusFrames(), 119) << "120 frames of focus, one used at once";
    EXPECT_FALSE(myStack.IsHidden());
}

TEST_F(WorldLoad, RequestsForTheSceneOnScreenOrLoadingAreDroppedButAReplayLoadsAgain)
{
    Load("levels/A.vks");
    Request("levels/A.vks");
    EXPECT_FALSE(myWorld.IsLoading());

    myImport.Hold();
    Request("levels/B.vks");
    Request("levels/B.vks");
    EXPECT_EQ(myWorld.GetQueuedScene(), "") << "the scene being loaded is not queued again";
    myImport.Release();
    RunUntilIdle();
    EXPECT_EQ(myImport.GetCalls(), (std::vector<std::string>{"levels/A.vks", "levels/B.vks"}));

    myStack.SetGameState(6);
    Request("levels/B.vks");
    RunUntilIdle();
    EXPECT_EQ(myImport.GetCalls().size(), 3u) << "from the results screen the same level plays again";
    EXPECT_EQ(myWorld.GetCurrentScene(), "levels/B.vks");
}

TEST_F(WorldLoad, RequestsDuringALoadQueueAndALaterOneReplacesTheQueued)
{
    myImport.Hold();
    Request("levels/A.vks");
    Request("levels/B.vks");
    EXPECT_EQ(myWorld.GetQueuedScene(), "levels/B.vks");
    Request("levels/C.vks");
    EXPECT_EQ(myWorld.GetQueuedScene(), "levels/C.vks");
    myImport.Release();
    RunUntilIdle();
    EXPECT_TRUE(myWorld.GetQueuedScene().empty());
    RunUntilIdle();
    EXPECT_EQ(myImport.GetCalls(), (std::vector<std::string>{"levels/A.vks", "levels/C.vks"}));
    EXPECT_EQ(myWorld.GetCurrentScene(), "levels/C.vks");
}

TEST_F(WorldLoad, TheKeptPlayerAndPersistentObjectsSurviveTheNextLevel)
{
    Load("levels/A.vks");
    GameObject* firstPlayer = myWorld.GetPlayer();
    firstPlayer->GetTransform().SetPosition({300.0f, 0.0f, 0.0f});
    Load("levels/B.vks");
    EXPECT_EQ(myWorld.GetPlayer(), firstPlayer) << "the scene's own player is discarded";
    EXPECT_EQ(myWorld.GetPlayer()->GetTransform().GetPosition().x, 0.0f);
    EXPECT_EQ(ObjectNames(),
              (std::vector<std::string>{"CollisionSystem", "levels/A.vks/Player", "levels/A.vks/Keepsake",
                                        "levels/B.vks/Ground", "levels/B.vks/Keepsake"}));
}

TEST_F(WorldLoad, UpdatesRunOnlyWhileALevelPlaysUnpaused)
{
    Load("levels/A.vks");
    // The frame that hands a level over already plays it; count from here.
    const int player = myImport.GetUpdates("levels/A.vks/Player");
    const int ground = myImport.GetUpdates("levels/A.vks/Ground");
    const int keepsake = myImport.GetUpdates("levels/A.vks/Keepsake");
    EXPECT_EQ(player, 1);
    EXPECT_EQ(ground, 1);
    myWorld.Update(myStack);
    EXPECT_EQ(myStack.GetGameState(), 4);
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Player"), player + 1);
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Ground"), ground + 1);

    myStack.GetState(myStack.GetSize() - 1)->SetPausesGame(true);
    myStack.SetGameState(5);
    myWorld.Update(myStack);
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Ground"), ground + 1);
    EXPECT_EQ(myStack.GetGameState(), 5) << "a pausing menu keeps its state";
    myStack.GetState(myStack.GetSize() - 1)->SetPausesGame(false);

    GameTest::StackStates(myStack, 1);
    myWorld.Update(myStack);
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Player"), player + 2)
        << "the player runs under a single menu";
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Ground"), ground + 1) << "the rest does not";
    EXPECT_EQ(myStack.GetGameState(), 0);

    GameTest::StackStates(myStack, 3);
    myImport.Hold();
    Request("levels/B.vks");
    myWorld.Update(myStack);
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Player"), player + 2) << "nothing runs while a load runs";
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Keepsake"), keepsake + 1);

    myImport.Release();
    RunUntilIdle();
    myWorld.GetPlayer()->SetActive(false);
    const int keptPlayer = myImport.GetUpdates("levels/A.vks/Player");
    myWorld.Update(myStack);
    EXPECT_EQ(myImport.GetUpdates("levels/A.vks/Player"), keptPlayer) << "an inactive object does not update";
}

TEST_F(WorldLoad, ReloadWaitsForAndDiscardsARunningLoadAndRebuildsThePlayer)
{
    myWorld.ReloadScene();
    EXPECT_FALSE(myWorld.IsLoading()) << "nothing to reload without a scene";

    Load("levels/A.vks");
    GameObject* firstPlayer = myWorld.GetPlayer();
    myImport.Hold();
    Request("levels/B.vks");
    std::thread releaser(
        [this]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            myImport.Release();
        });
    myWorld.ReloadScene();
    releaser.join();
    EXPECT_TRUE(myWorld.IsLoading());
    EXPECT_EQ(myWorld.GetLoadingScene(), "levels/A.vks");
    EXPECT_EQ(myWorld.GetPlayer(), nullptr) << "the player goes too";
    RunUntilIdle();
    EXPECT_EQ(myWorld.GetCurrentScene(), "levels/A.vks") << "the discarded load of B is never applied";
    EXPECT_EQ(myImport.GetCalls(),
              (std::vector<std::string>{"levels/A.vks", "levels/B.vks", "levels/A.vks"}));
    ASSERT_NE(myWorld.GetPlayer(), nullptr);
    EXPECT_NE(myWorld.GetPlayer(), firstPlayer);
    EXPECT_EQ(ObjectNames(),
              (std::vector<std::string>{"CollisionSystem", "levels/A.vks/Keepsake", "levels/A.vks/Player",
                                        "levels/A.vks/Ground", "levels/A.vks/Keepsake"}));
}

TEST_F(WorldLoad, UnloadDiscardsTheLoadAndLeavesNoLevel)
{
    Load("levels/A.vks");
    myImport.Hold();
    Request("levels/B.vks");
    Request("levels/C.vks");
    std::thread releaser(
        [this]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            myImport.Release();
        });
    myWorld.UnloadScene();
    releaser.join();
    EXPECT_FALSE(myWorld.IsLoading());
    EXPECT_TRUE(myWorld.GetQueuedScene().empty());
    EXPECT_EQ(myWorld.GetCurrentScene(), "");
    EXPECT_EQ(LevelRegistry::GetInstance().GetCurrentScene(), "");
    EXPECT_EQ(myWorld.GetPlayer(), nullptr);
    EXPECT_EQ(ObjectNames(), (std::vector<std::string>{"CollisionSystem", "levels/A.vks/Keepsake"}));
    for (int frame = 0; frame < 5; ++frame)
    {
        myWorld.Update(myStack);
    }
    EXPECT_EQ(myWorld.GetCurrentScene(), "");
    EXPECT_EQ(myImport.GetCalls().size(), 2u);
}

TEST_F(WorldLoad, TheCreditsFilmsEndUnloadsTheLastLevelSoChoosingItAgainLoadsItAfresh)
{
    Load("levels/A.vks");
    myStack.SetOnUnloadScene([this] { myWorld.UnloadScene(); });
    InputHandler input;
    // The outro's way back to the title, which then starts the film; this one has no film to open, so
    // it ends at its first update.
    myStack.PopToIndex(0);
    myStack.Update(input);
    myStack.PushState(new CreditsVideo());
    testing::internal::CaptureStdout();
    myStack.Update(input);
    static_cast<void>(testing::internal::GetCapturedStdout());
    EXPECT_EQ(myWorld.GetCurrentScene(), "");
    EXPECT_EQ(myWorld.GetPlayer(), nullptr);
    myStack.Update(input);
    EXPECT_EQ(myStack.GetSize(), 1);

    GameTest::StackStates(myStack, 3);
    Load("levels/A.vks");
    EXPECT_EQ(myImport.GetCalls(), (std::vector<std::string>{"levels/A.vks", "levels/A.vks"}));
    EXPECT_EQ(myWorld.GetCurrentScene(), "levels/A.vks");
}

TEST_F(WorldLoad, AFailedLoadSaysWhyOnceAndLeavesTheWorldAsAnUnloadDoes)
{
    Load("levels/A.vks");
    myImport.Hold();
    Request("levels/Bad.vks");
    Request("levels/C.vks");
    myImport.Release();
    testing::internal::CaptureStdout();
    RunUntilIdle();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output,
              "[GameWorld] Failed to load scene: levels/Bad.vks: levels/Bad.vks.leveldata/3f2504e0: not an "
              "object file: [json.exception.parse_error.101] unexpected end of input\n");
    EXPECT_FALSE(myWorld.IsLoading());
    EXPECT_TRUE(myWorld.GetLoadingScene().empty());
    EXPECT_TRUE(myWorld.GetQueuedScene().empty()) << "the menus take over; nothing queued starts";
    EXPECT_EQ(myWorld.GetCurrentScene(), "");
    EXPECT_EQ(myWorld.GetPlayer(), nullptr);
    EXPECT_EQ(ObjectNames(), (std::vector<std::string>{"CollisionSystem", "levels/A.vks/Keepsake"}));

    Load("levels/A.vks");
    EXPECT_EQ(myWorld.GetCurrentScene(), "levels/A.vks") << "the world loads again after a failure";
}

TEST(GameWorld, ABadDefinitionFileFailsTheLoadWithoutEndingTheGame)
{
    GameTest::GameLevelFolder folder;
    folder.WriteFile("defs/VKO_Broken.vko",
                     R"({"parent-object-definition": "", "properties": [{"name": "Tag"}]})");
    folder.WriteScene("L_Doomed");
    folder.WriteObject("L_Doomed", 1, R"({"name": "Rock", "properties": []})");
    static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
    {
        GameWorld world;
        StateStack stack;
        GameTest::StackStates(stack, 3);
        world.Init();
        LevelRegistry::GetInstance().SetSceneRequest("levels/L_Doomed.vks");
        testing::internal::CaptureStdout();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        do
        {
            world.Update(stack);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } while (world.IsLoading() && std::chrono::steady_clock::now() < deadline);
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(world.IsLoading());
        EXPECT_NE(output.find("[GameWorld] Failed to load scene: levels/L_Doomed.vks: "), std::string::npos)
            << output;
        EXPECT_NE(output.find(
                      "VKO_Broken.vko: [json.exception.type_error.302] type must be boolean, but is null\n"),
                  std::string::npos)
            << "the reason names the bad file and its fault, once: " << output;
        EXPECT_EQ(world.GetCurrentScene(), "");
        EXPECT_EQ(world.GetObjects().size(), 1u);
    }
    LevelRegistry::GetInstance().SetCurrentScene("");
}

TEST(GameWorld, LoadingLineGrowsADotEachHalfSecond)
{
    EXPECT_EQ(GameWorld::GetLoadingLine(0.0f), "Loading");
    EXPECT_EQ(GameWorld::GetLoadingLine(0.49f), "Loading");
    EXPECT_EQ(GameWorld::GetLoadingLine(0.5f), "Loading.");
    EXPECT_EQ(GameWorld::GetLoadingLine(1.2f), "Loading..");
    EXPECT_EQ(GameWorld::GetLoadingLine(1.75f), "Loading...");
    EXPECT_EQ(GameWorld::GetLoadingLine(2.0f), "Loading");
    EXPECT_EQ(GameWorld::GetLoadingLine(1000.6f), "Loading.");
}
