#include "Components/VfxEmitterComponent.h"
#include "Effects/VfxSystem.h"
#include "Game/Effects/EffectsFixture.h"
#include "Objects/FacingComponent.h"
#include "Objects/GameObject.h"

#include <gtest/gtest.h>

namespace
{
class FacingStandIn : public Component, public FacingComponent
{
public:
    bool IsFacingRight() const override { return myIsFacingRight; }
    bool myIsFacingRight = true;
};

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
    VfxEmitterSettings settings = Glow(0.25f);
    settings.burstOnActivate = 1;
    myObject = std::make_unique<GameObject>("Player");
    FacingStandIn* facing = myObject->AddComponent<FacingStandIn>();
    myObject->AddComponent<VfxEmitterComponent>(settings);
    myObject->Start(Qel::Engine::GetInstance());
    facing->myIsFacingRight = false;
    myObject->Update(0.25f);
    facing->myIsFacingRight = true;
    myObject->Update(0.25f);
    ASSERT_EQ(mySystem.GetActiveCount(), 2u);
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[0].params.facing, -1.0f);
    EXPECT_FLOAT_EQ(mySystem.GetInstances()[1].params.facing, 1.0f);

    // An emitter without an owner emits nothing in world space.
    VfxEmitterComponent orphan(Glow(0.25f));
    orphan.Update(1.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), 2u);
}

TEST_F(VfxEmitterTest, ATinyIntervalAfterALongFrameEndsWithAtMostAFullPool)
{
    VfxEmitterComponent* emitter = MakeEmitter(Glow(1.0e-9f));
    myObject->Update(1.0f);
    EXPECT_EQ(mySystem.GetActiveCount(), VfxSystem::POOL_SIZE);
    EXPECT_GT(emitter->GetTimer(), 0.0f);
}
} // namespace
