// Checkpoints light once and give the respawn point; the exit door runs its sequence once and then
// hands the level's result to the results screen, or, with no menus, asks for the next level itself.
#include "Builders/LevelObjectBuilders.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/MeshComponent.h"
#include "Game/Support/ComponentOf.h"
#include "Level/CheckpointComponent.h"
#include "Level/EyeAnimator.h"
#include "Level/LevelEndComponent.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/StateStack.h"
#include "Session/LevelCounters.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "Support/WorkingFolder.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <typeinfo>

namespace
{
SceneObjectData Record(std::unordered_map<std::string, std::any> someProperties = {}, std::string aModel = "")
{
    SceneObjectData data;
    data.name = "Door";
    data.model = std::move(aModel);
    data.properties = std::move(someProperties);
    return data;
}

TEST(Checkpoint, LightsOnceSwappingToTheLitModelAndRespawnsAboveItself)
{
    std::unique_ptr<GameObject> object = BuildCheckpointObject(Record(
        {{"Respawn Y Offset", 150.0f}, {"Respawn Direction", -1}}, "models/StaticMeshes/SM_Checkpoint.fbx"));
    object->GetTransform().SetPosition({1200.0f, 300.0f, -40.0f});
    CheckpointComponent& checkpoint = ComponentOf<CheckpointComponent>(*object);

    const Qel::Vector3<float> respawn = checkpoint.GetRespawnPosition();
    EXPECT_FLOAT_EQ(respawn.x, 1200.0f);
    EXPECT_FLOAT_EQ(respawn.y, 450.0f);
    EXPECT_FLOAT_EQ(respawn.z, 0.0f);
    EXPECT_FALSE(checkpoint.IsRespawnFacingRight());

    EXPECT_TRUE(checkpoint.Activate());
    EXPECT_TRUE(checkpoint.IsActivated());
    EXPECT_EQ(ComponentOf<MeshComponent>(*object).GetModelPath(),
              "models/StaticMeshes/SM_Checkpoint_Active.fbx");
    EXPECT_FALSE(checkpoint.Activate());

    // Without a lit model the checkpoint keeps the one it has.
    std::unique_ptr<GameObject> plain = BuildCheckpointObject(
        Record({{"Activated Mesh", std::string()}}, "models/StaticMeshes/SM_Checkpoint.fbx"));
    EXPECT_TRUE(ComponentOf<CheckpointComponent>(*plain).Activate());
    EXPECT_EQ(ComponentOf<MeshComponent>(*plain).GetModelPath(), "models/StaticMeshes/SM_Checkpoint.fbx");
}

TEST(LevelEndSetters, ClampAndFallBack)
{
    LevelEndComponent exit;
    EXPECT_EQ(exit.GetPromptText(), "Press E to enter");
    exit.SetPromptText("Go");
    EXPECT_EQ(exit.GetPromptText(), "Go");
    exit.SetPromptText("");
    EXPECT_EQ(exit.GetPromptText(), "Press E to enter");
    exit.SetExitSequenceDuration(-2.0f);
    EXPECT_FLOAT_EQ(exit.GetExitSequenceDuration(), 0.01f);
    exit.SetWorldIndex(-5);
    EXPECT_EQ(exit.GetWorldIndex(), 1);
    exit.SetWorldTexture(0, "zero.dds");
    exit.SetWorldTexture(2, "two.dds");
    EXPECT_EQ(exit.GetWorldTexture(0), "");
    EXPECT_EQ(exit.GetWorldTexture(2), "two.dds");
    EXPECT_EQ(exit.GetWorldTexture(4), "");
}

// A door of the shipped kind whose sequence lasts one second, started (so its box is found) with the
// player standing in front of it or not.
class ExitDoor : public testing::Test
{
protected:
    void SetUp() override
    {
        myDoor = BuildLevelEndObject(Record(
            {{"Target Level", std::string("levels/L_World1_Level2.vks")}, {"Exit Sequence Duration", 1.0f}},
            "models/SK/NoSuchDoor.fbx"));
        myDoor->Start(nullptr);
        myExit = &ComponentOf<LevelEndComponent>(*myDoor);
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        LevelRegistry::GetInstance().SetCurrentScene("levels/L_World1_Level1.vks");
    }

    void TearDown() override
    {
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        LevelRegistry::GetInstance().SetCurrentScene("");
    }

    void PlayerAtDoor() { ASSERT_TRUE(ComponentOf<BoxColliderComponent>(*myDoor).TriggerEnter()); }

    // Whole frames of aStep seconds.
    void Run(float aSeconds, float aStep = 0.1f)
    {
        for (float passed = 0.0f; passed < aSeconds - 1e-4f; passed += aStep)
        {
            myDoor->Update(aStep);
        }
    }

    std::unique_ptr<GameObject> myDoor;
    LevelEndComponent* myExit = nullptr;
};

TEST_F(ExitDoor, OpensOnlyWithThePlayerInsideAndOnlyOnce)
{
    EXPECT_FALSE(myExit->BeginExit());
    EXPECT_FALSE(myExit->IsExiting());
    PlayerAtDoor();
    EXPECT_TRUE(myExit->BeginExit());
    EXPECT_TRUE(myExit->IsExiting());
    EXPECT_TRUE(ComponentOf<EyeAnimator>(*myDoor).IsActivated());
    EXPECT_FLOAT_EQ(myExit->GetExitTimer(), 1.0f);
    // A second interact during the sequence changes nothing.
    Run(0.5f);
    EXPECT_FALSE(myExit->BeginExit());
    EXPECT_NEAR(myExit->GetExitTimer(), 0.5f, 1e-4f);
}

TEST_F(ExitDoor, WithoutMenusTheSequenceEndsByAskingForTheTargetWithKeysAndHealthReset)
{
    AddCollectedKey();
    SetPlayerHealth(1);
    PlayerAtDoor();
    ASSERT_TRUE(myExit->BeginExit());
    Run(0.9f);
    EXPECT_TRUE(myExit->IsExiting());
    EXPECT_FALSE(LevelRegistry::GetInstance().HasSceneRequest());
    Run(0.1f);
    EXPECT_FALSE(myExit->IsExiting());
    EXPECT_EQ(LevelRegistry::GetInstance().TakeSceneRequest(), "levels/L_World1_Level2.vks");
    EXPECT_EQ(GetCollectedKeyCount(), 0);
    EXPECT_EQ(GetPlayerHealth(), 2);
    // Back to idle: the door can be entered again.
    EXPECT_TRUE(myExit->BeginExit());
}

TEST_F(ExitDoor, WithMenusTheSequenceEndsOnTheResultsWithTheLevelsScore)
{
    QelTest::WorkingFolder folder;
    folder.WriteFile("settings/UISettings.json", "{}");
    folder.WriteFile("settings/Dialogues.json", "{}");
    StateStack stack;
    stack.Init();
    RankSystem ranks(3, 5, 10, 20);
    ranks.AddScore(RankSystem::KEY);
    ranks.AddScore(RankSystem::WISP);
    static_cast<void>(ranks.GetScoreText());

    PlayerAtDoor();
    ASSERT_TRUE(myExit->BeginExit());
    // A zero-length frame leaves the sequence running.
    myDoor->Update(0.0f);
    Run(1.0f, 0.25f);
    ASSERT_EQ(stack.GetSize(), 3);
    const auto* results = dynamic_cast<const LevelEndResultsMenu*>(stack.GetState(2));
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->GetLevelPath(), "levels/L_World1_Level1.vks");
    EXPECT_EQ(results->GetNextLevelPath(), "levels/L_World1_Level2.vks");
    EXPECT_EQ(results->GetScore(), 8);
    EXPECT_EQ(stack.GetGameState(), GameStateCode::LEVEL_RESULTS);
    EXPECT_FALSE(LevelRegistry::GetInstance().HasSceneRequest());
    ranks.ResetScore();
}
} // namespace
