// The collision system played through the world's own hand-over and frame at a fixed step, with keys
// pressed on the world's input and the shipped player model and clips.
#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Enemies/SchnozController.h"
#include "Game/Rules/LevelPlayFixture.h"
#include "Level/BloodSeaComponent.h"
#include "Level/CheckpointComponent.h"
#include "Level/EyeAnimator.h"
#include "Level/EyeTrigger.h"
#include "Level/LevelEndComponent.h"
#include "Scripted/CutsceneComponent.h"
#include "Scripted/LockCameraTriggerComponent.h"
#include "Session/LevelCounters.h"
#include "Session/RankSystem.h"
#include "World/GameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using namespace LevelPlayTest;

TEST_F(LevelPlay, ThePlayerStandsRunsJumpsAndLandsOnAPlatform)
{
    LoadLevel();
    Step(40);
    EXPECT_NEAR(PlayerAt().y, -0.1f, 1e-4f) << "resting 0.1 deep in the ground";
    EXPECT_TRUE(Controller().IsGrounded());

    Press(KEY_D);
    Step(20);
    EXPECT_GT(PlayerAt().x, 100.0f);
    EXPECT_NEAR(PlayerAt().y, -0.1f, 1e-4f);
    Release(KEY_D);
    Press(KEY_SPACE);
    float highest = 0.0f;
    for (int frame = 0; frame < 70; ++frame)
    {
        Step();
        highest = std::max(highest, PlayerAt().y);
        if (frame == 30)
        {
            Release(KEY_SPACE);
        }
    }
    EXPECT_GT(highest, 200.0f) << "a jump leaves the ground";
    EXPECT_NEAR(PlayerAt().y, -0.1f, 1e-4f) << "and lands on it again";

    PlacePlayer(750.0f, 400.0f);
    Step(60);
    EXPECT_NEAR(PlayerAt().y, 299.9f, 1e-3f) << "dropped above the platform, it stands on it";
    EXPECT_TRUE(Controller().IsGrounded());
}

TEST_F(LevelPlay, AtFourFramesASecondTheLevelStepsAThirtiethAndLandsOnAPlatform)
{
    LoadLevel();
    myWorld.Update(myStack);
    // Dropped high above the platform at four frames a second: the level steps 1/30 s a frame, so no
    // frame's fall outruns the ground probes and the player stands on the platform, not inside it.
    PlacePlayer(750.0f, 1500.0f);
    for (int frame = 0; frame < 60; ++frame)
    {
        const float before = PlayerAt().y;
        myClock.Advance(250);
        myWorld.Update(myStack);
        EXPECT_GE(PlayerAt().y, 299.0f) << "frame " << frame;
        EXPECT_LE(before - PlayerAt().y, 2250.0f / 30.0f + 1.0f) << "frame " << frame;
    }
    EXPECT_NEAR(PlayerAt().y, 299.9f, 1e-3f);
    EXPECT_TRUE(Controller().IsGrounded());
}

TEST_F(LevelPlay, TheFallDeathIsStrictlyBelowTheThreshold)
{
    LoadLevel();
    PlacePlayer(5000.0f, -500.0f);
    myCollision->Update(DT);
    EXPECT_FALSE(Health().IsDead()) << "exactly at the death height the player lives";
    PlacePlayer(5000.0f, -500.5f);
    testing::internal::CaptureStdout();
    myCollision->Update(DT);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(Health().IsDead());
    EXPECT_NE(output.find("[Death] Player fell below world threshold at y=-500.5\n"), std::string::npos)
        << output;
}

TEST_F(LevelPlay, DeathRestoresTheLevelAndRespawnsAtTheStartAfterTheDeathClip)
{
    LoadLevel();
    Step(5);
    PlacePlayer(300.0f, 0.0f);
    Step(2);
    GameObject* coin = Find("NearCoin");
    ASSERT_NE(coin, nullptr);
    EXPECT_FALSE(coin->IsActive());
    EXPECT_EQ(GetCollectedCoinCount(), 1);
    ASSERT_NE(myCollision->GetRankSystem(), nullptr);
    EXPECT_EQ(myCollision->GetRankSystem()->GetScore(), 1);

    // Off the ground's end: falls below -500 and dies, then waits for its death clip.
    testing::internal::CaptureStdout();
    PlacePlayer(4000.0f, 0.0f);
    int frames = 0;
    for (; frames < 1200 && !Health().IsDead(); ++frames)
    {
        Step();
    }
    ASSERT_TRUE(Health().IsDead());
    Step();
    EXPECT_TRUE(Controller().IsInputLocked());
    EXPECT_TRUE(Health().IsDead()) << "no respawn before the death clip ends";
    for (frames = 0; frames < 1200 && Health().IsDead(); ++frames)
    {
        Step();
    }
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(Health().IsDead());
    EXPECT_EQ(Health().GetHp(), 2);
    EXPECT_FALSE(Controller().IsInputLocked());
    EXPECT_NEAR(PlayerAt().x, 0.0f, 1.0f) << "back at the level's start";
    EXPECT_GT(PlayerAt().y, -20.0f);
    EXPECT_TRUE(coin->IsActive()) << "the snapshot put the coin back";
    EXPECT_EQ(GetCollectedCoinCount(), 0);
    EXPECT_EQ(GetCollectedKeyCount(), 0);
    EXPECT_EQ(RankSystem::GetGlobalScore(), 0);
}

TEST_F(LevelPlay, ACheckpointLightsOnceAndTheExitDoorOpensOnInteract)
{
    constexpr std::uint32_t KEY_E = 69;
    std::vector<std::unique_ptr<GameObject>> extras;
    auto checkpoint = MakeBox("Checkpoint", {1500.0f, 100.0f, 0.0f}, {100.0f, 200.0f, 100.0f}, true);
    checkpoint->AddComponent<CheckpointComponent>(false, "", 100.0f, -1);
    extras.push_back(std::move(checkpoint));
    auto door = MakeBox("levelEnd", {2500.0f, 100.0f, 0.0f}, {100.0f, 200.0f, 100.0f}, true);
    door->AddComponent<LevelEndComponent>()->SetTargetScene("levels/L_Next.vks");
    extras.push_back(std::move(door));
    LoadLevel(std::move(extras));
    Step(2);
    EXPECT_FALSE(myCollision->HasCheckpoint());

    PlacePlayer(1500.0f, 0.0f);
    Step();
    ASSERT_TRUE(myCollision->HasCheckpoint());
    GameObject* checkpointObject = Find("Checkpoint");
    ASSERT_NE(checkpointObject, nullptr);
    CheckpointComponent* lit = checkpointObject->GetComponent<CheckpointComponent>();
    ASSERT_NE(lit, nullptr);
    EXPECT_TRUE(lit->IsActivated());

    // A death brings the player back at the checkpoint, raised by its offset.
    Health().SetHp(0);
    for (int frames = 0; frames < 1200 && Health().IsDead(); ++frames)
    {
        Step();
    }
    ASSERT_FALSE(Health().IsDead());
    EXPECT_NEAR(PlayerAt().x, 1500.0f, 1.0f);

    // Interact outside the door does nothing; inside it starts the exit exactly once.
    GameObject* doorObject = Find("levelEnd");
    ASSERT_NE(doorObject, nullptr);
    LevelEndComponent* exit = doorObject->GetComponent<LevelEndComponent>();
    ASSERT_NE(exit, nullptr);
    testing::internal::CaptureStdout();
    Press(KEY_E);
    Step();
    Release(KEY_E);
    Step();
    EXPECT_FALSE(exit->IsExiting());
    PlacePlayer(2500.0f, 0.0f);
    Step();
    Press(KEY_E);
    Step();
    Release(KEY_E);
    Step();
    Press(KEY_E);
    Step();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(exit->IsExiting());
    EXPECT_NE(output.find("[LevelEnd] Enter attempt on 'levelEnd'\n[LevelEnd] Enter accepted"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("[LevelEnd] Enter attempt"),
              output.find("[LevelEnd] Enter attempt on 'levelEnd'\n[LevelEnd] Enter accepted"))
        << "nothing is logged for a press outside the door";
    EXPECT_NE(output.find("[LevelEnd] Enter rejected"), std::string::npos) << "a second press while exiting";
}

TEST_F(LevelPlay, ASideContactHurtsThePlayerAndAStompKillsTheEnemy)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    auto enemy = MakeBox("Schnoz_II", {1500.0f, 50.0f, 0.0f}, {100.0f, 100.0f, 100.0f});
    enemy->AddComponent<SchnozController>();
    extras.push_back(std::move(enemy));
    LoadLevel(std::move(extras));
    GameObject* schnoz = Find("Schnoz_II");
    ASSERT_NE(schnoz, nullptr);
    SchnozController* controller = schnoz->GetComponent<SchnozController>();
    ASSERT_NE(controller, nullptr);
    ASSERT_EQ(Health().GetHp(), 2);

    testing::internal::CaptureStdout();
    PlacePlayer(1450.0f, 0.0f);
    myCollision->Update(DT);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Health().GetHp(), 1) << "walking into its side hurts";
    EXPECT_NE(output.find("[Combat] Player hit by enemy 'Schnoz_II'. HP: 1/2\n"), std::string::npos)
        << output;
    EXPECT_FALSE(controller->IsDead());

    // From above its top 40 units the player stomps it instead, and is not hurt again.
    testing::internal::CaptureStdout();
    PlacePlayer(1500.0f, 70.0f);
    myCollision->Update(DT);
    output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(controller->IsDead());
    EXPECT_EQ(Health().GetHp(), 1);
    EXPECT_NE(output.find("[Combat] Enemy killed: 'Schnoz_II'\n"), std::string::npos) << output;
}

TEST_F(LevelPlay, TheEyeCutsceneWakesTheLevelsEyeThroughTheComposersLinks)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    auto eye = std::make_unique<GameObject>("Eye");
    eye->SetTag("EyeInTheSky");
    eye->AddComponent<AnimatedMeshComponent>("models/SK/EN_Eye.fbx");
    eye->AddComponent<EyeAnimator>();
    eye->AddComponent<EyeTrigger>();
    extras.push_back(std::move(eye));
    auto lock = MakeBox("LockCamTrigger", {5000.0f, 100.0f, 0.0f}, {100.0f, 100.0f, 100.0f}, true);
    auto* lockComponent = lock->AddComponent<LockCameraTriggerComponent>();
    auto* cutscene = lock->AddComponent<CutsceneComponent>();
    cutscene->SetLockCameraTrigger(lockComponent);
    cutscene->SetCutsceneName("Eye");
    cutscene->SetCutsceneDuration(1.0f);
    extras.push_back(std::move(lock));
    LoadLevel(std::move(extras));
    GameObject* eyeObject = Find("Eye");
    ASSERT_NE(eyeObject, nullptr);
    EyeAnimator* eyeAnimator = eyeObject->GetComponent<EyeAnimator>();
    ASSERT_NE(eyeAnimator, nullptr);
    ASSERT_FALSE(eyeAnimator->IsActivated());

    testing::internal::CaptureStdout();
    cutscene->Play();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(cutscene->IsPlaying());
    EXPECT_TRUE(eyeAnimator->IsActivated());
}

TEST_F(LevelPlay, ADeathBoxKillsAndTheBloodSeaKillsWithinItsDistance)
{
    std::vector<std::unique_ptr<GameObject>> extras;
    extras.push_back(MakeBox("DeathBox", {1500.0f, 50.0f, 0.0f}, {100.0f, 100.0f, 100.0f}, true));
    auto sea = std::make_unique<GameObject>("Sea");
    sea->SetTag("BloodSea");
    sea->GetTransform().SetPosition({0.0f, -300.0f, 0.0f});
    sea->AddComponent<BloodSeaComponent>(1000.0f, 40.0f, 200.0f, Qel::Vector3<float>{}, false, 0.0f, 0.0f,
                                         0.0f, 0.0f)
        ->SetActive(true);
    extras.push_back(std::move(sea));
    LoadLevel(std::move(extras));
    GameObject* seaObject = Find("Sea");
    PlacePlayer(0.0f, 0.0f);

    myCollision->Update(DT);
    EXPECT_FALSE(Health().IsDead()) << "300 above the sea, beyond its 200";
    EXPECT_TRUE(myCollision->IsBloodSeaWarningOn());
    // The player now rests 0.1 deep in the ground.
    seaObject->GetTransform().SetPosition({0.0f, -200.5f, 0.0f});
    myCollision->Update(DT);
    EXPECT_FALSE(Health().IsDead()) << "200.4 above: still beyond";
    testing::internal::CaptureStdout();
    seaObject->GetTransform().SetPosition({0.0f, -199.5f, 0.0f});
    myCollision->Update(DT);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(Health().IsDead());
    EXPECT_EQ(output.rfind("[Death] BloodSea too close in Y. playerY=", 0), 0u) << output;
    EXPECT_NE(output.find(" bloodSeaY=-199.5 relativeY=199."), std::string::npos) << output;

    Health().SetHp(2);
    seaObject->SetActive(false);
    myCollision->Update(DT);
    EXPECT_FALSE(myCollision->IsBloodSeaWarningOn()) << "an inactive sea stops the warning";
    PlacePlayer(1500.0f, 0.0f);
    myCollision->Update(DT);
    EXPECT_TRUE(Health().IsDead()) << "the death box";
}

TEST_F(LevelPlay, PickupsAreRefreshedEveryQuarterSecond)
{
    LoadLevel();
    Step();
    GameObject* far = Find("FarCoin");
    ASSERT_EQ(myCollision->GetPickups().size(), 1u);
    far->SetActive(true);
    Step(15);
    EXPECT_EQ(myCollision->GetPickups().size(), 1u) << "15/64 s: not yet";
    Step();
    EXPECT_EQ(myCollision->GetPickups().size(), 2u) << "16/64 s = 0.25 s: rebuilt";
}
} // namespace
