#include "Builders/EnemyBuilders.h"
#include "Builders/PlayerBuilder.h"
#include "Effects/VfxSystem.h"
#include "Enemies/SchnozController.h"
#include "Game/Effects/EffectsFixture.h"
#include "Level/VfxEmitterComponent.h"
#include "Objects/GameObject.h"
#include "Player/PlayerController.h"

#include <gtest/gtest.h>

namespace
{
class VfxEmitterTest : public EffectsTest::EngineGameFixture
{
protected:
    void SetUp() override
    {
        EngineGameFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        myGame.Write("Vfx/glow.json", R"({"texture": "T_Puff.dds", "loop": true})");
        testing::internal::CaptureStdout();
        mySystem.Load();
        testing::internal::GetCapturedStdout();
        VfxSystem::SetActive(&mySystem);
    }
    void TearDown() override
    {
        VfxSystem::SetActive(nullptr);
        EngineGameFixture::TearDown();
    }

    VfxEmitterComponent* MakeEmitter(const VfxEmitterSettings& someSettings)
    {
        myObject = std::make_unique<GameObject>("Emitter");
        myObject->GetTransform().SetPosition({7.0f, 8.0f, 9.0f});
        VfxEmitterComponent* emitter = myObject->AddComponent<VfxEmitterComponent>(someSettings);
        myObject->Start(Qel::Engine::GetInstance());
        return emitter;
    }
    static VfxEmitterSettings Glow(float anInterval)
    {
        VfxEmitterSettings settings;
        settings.effectId = "glow";
        settings.spawnInterval = anInterval;
        return settings;
    }

    VfxSystem mySystem;
    std::unique_ptr<GameObject> myObject;
};

TEST_F(VfxEmitterTest, PeriodicEffectsComeEveryIntervalAndALongFrameCatchesUp)
{
    VfxEmitterComponent* emitter = MakeEmitter(Glow(0.5f));
    EXPECT_FLOAT_EQ(emitter->GetTimer(), 0.5f);
    std::vector<int> emittedAt;
    for (int update = 1; update <= 12; ++update)
    {
        const std::size_t before = mySystem.GetActiveCount();
        myObject->Update(0.125f);
        if (mySystem.GetActiveCount() != before)
        {
            emittedAt.push_back(update);
        }
    }
    EXPECT_EQ(emittedAt, (std::vector<int>{4, 8, 12}));
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[0].position.x, 7.0f) << "at the owner's position";

    mySystem.ClearAll();
    myObject->Update(1.25f);
    EXPECT_EQ(mySystem.GetActiveCount(), 2u);
    EXPECT_FLOAT_EQ(emitter->GetTimer(), 0.25f);
}

TEST_F(VfxEmitterTest, BurstsComeAtStartAndOnceForEachUpdateAfterAnActivation)
{
    VfxEmitterSettings settings = Glow(0.0f);
    settings.burstOnStart = 3;
    settings.burstOnActivate = 2;
    MakeEmitter(settings);
    EXPECT_EQ(mySystem.GetActiveCount(), 3u);
    for (int update = 0; update < 10; ++update)
    {
        myObject->Update(1.0f);
    }
    EXPECT_EQ(mySystem.GetActiveCount(), 3u) << "no interval: bursts only";

    myObject->SetActive(false);
    myObject->SetActive(true);
    myObject->SetActive(false);
    myObject->SetActive(true);
    EXPECT_EQ(mySystem.GetActiveCount(), 3u) << "the burst waits for the update";
    myObject->Update(0.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), 5u) << "two activations before an update give one burst";
    myObject->Update(0.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), 5u);
}

TEST_F(VfxEmitterTest, AnEmptyIdDisablesTheEmitterForGood)
{
    VfxEmitterSettings settings = Glow(0.125f);
    settings.effectId = "";
    settings.burstOnStart = 4;
    VfxEmitterComponent* emitter = MakeEmitter(settings);
    EXPECT_FALSE(emitter->IsEnabled());
    myObject->Update(1.0f);
    emitter->Update(1.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), 0u);
}

TEST_F(VfxEmitterTest, ScreenSpaceIsChosenByTheExactWordInAnyCase)
{
    VfxEmitterSettings settings = Glow(0.0f);
    settings.burstOnStart = 1;
    settings.space = "SCREEN";
    settings.screenPosition = {40.0f, 30.0f};
    settings.sizeMultiplier = 2.0f;
    MakeEmitter(settings);
    ASSERT_EQ(mySystem.GetActiveCount(), 1u);
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[0].params.screenPosition.x, 40.0f);
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[0].params.worldPosition.x, 0.0f);
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[0].params.sizeMultiplier, 2.0f);

    settings.space = "screen ";
    MakeEmitter(settings);
    ASSERT_EQ(mySystem.GetActiveCount(), 2u);
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[1].params.worldPosition.x, 7.0f) << "a trailing blank is world";
}

TEST_F(VfxEmitterTest, WorldEffectsTakeTheFacingOfTheOwnersCharacter)
{
    // The game's own player and enemy; each emitter emits once an update.
    SceneObjectData data;
    data.name = "Player";
    const std::unique_ptr<GameObject> player = BuildPlayerObject(data);
    data.name = "Schnoz";
    const std::unique_ptr<GameObject> enemy = BuildSchnozIIObject(data);
    VfxEmitterComponent* playerEmitter = player->AddComponent<VfxEmitterComponent>(Glow(0.25f));
    VfxEmitterComponent* enemyEmitter = enemy->AddComponent<VfxEmitterComponent>(Glow(0.25f));
    PlayerController& controller = *player->GetComponent<PlayerController>();
    SchnozController& walker = *enemy->GetComponent<SchnozController>();
    const auto facingOfNextEffect = [this](VfxEmitterComponent& anEmitter)
    {
        const std::size_t before = mySystem.GetActiveCount();
        anEmitter.Update(0.25f);
        EXPECT_EQ(mySystem.GetActiveCount(), before + 1);
        return mySystem.GetInstances()[before].params.facing;
    };

    controller.SetFacingRight(true);
    EXPECT_FLOAT_EQ(facingOfNextEffect(*playerEmitter), 1.0f);
    controller.SetFacingRight(false);
    EXPECT_FLOAT_EQ(facingOfNextEffect(*playerEmitter), -1.0f);
    walker.Reset(200.0f, 0, true);
    EXPECT_FLOAT_EQ(facingOfNextEffect(*enemyEmitter), 1.0f);
    walker.TurnAround();
    EXPECT_FLOAT_EQ(facingOfNextEffect(*enemyEmitter), -1.0f);

    // The player's controller wins over an enemy's on the same object.
    player->AddComponent<SchnozController>()->Reset(200.0f, 0, true);
    EXPECT_FLOAT_EQ(facingOfNextEffect(*playerEmitter), -1.0f);
    // Neither: to the right.
    EXPECT_FLOAT_EQ(facingOfNextEffect(*MakeEmitter(Glow(0.25f))), 1.0f);

    // An emitter without an owner emits nothing in world space.
    const std::size_t count = mySystem.GetActiveCount();
    VfxEmitterComponent orphan(Glow(0.25f));
    orphan.Update(1.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), count);
}

TEST_F(VfxEmitterTest, ATinyIntervalAfterALongFrameEndsWithAtMostAFullPool)
{
    VfxEmitterComponent* emitter = MakeEmitter(Glow(1.0e-9f));
    myObject->Update(1.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), VfxSystem::POOL_SIZE);
    EXPECT_GT(emitter->GetTimer(), 0.0f);
}
} // namespace
