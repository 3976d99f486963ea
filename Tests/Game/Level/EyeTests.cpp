// The eye over its shipped model and the trigger it arms: nothing before activation, the opening clip
// then the idle that arms the trigger; the blood sea's activation, rise, catch-up snap and its reset
// when the player dies, which waits for the next arming.
#include "Builders/EnemyBuilders.h"
#include "Camera/CameraController.h"
#include "Components/DamageableComponent.h"
#include "Game/Enemies/EnemyTestSupport.h"
#include "Level/BloodSeaComponent.h"
#include "Level/EyeAnimator.h"
#include "Level/EyeTrigger.h"

#include <gtest/gtest.h>

namespace
{
using Vector3 = Qel::Vector3<float>;

const std::string EYE_MODEL = "models\\SK\\EN_Eye.fbx";

struct SeaSettings
{
    float targetY = 1000.0f;
    float riseSpeed = 64.0f;
    float maxLead = 3000.0f;
    float snapDistance = 3000.0f;
    Vector3 spawn{100.0f, -1000.0f, -100.0f};
};

class EyeTriggerTest : public testing::Test
{
protected:
    void Make(const SeaSettings& aSettings = {})
    {
        myPlayer = std::make_unique<GameObject>("Player");
        myHealth = myPlayer->AddComponent<DamageableComponent>(2);
        mySea = std::make_unique<GameObject>("BloodSea");
        mySeaSettings = mySea->AddComponent<BloodSeaComponent>(aSettings.targetY, aSettings.riseSpeed, 300.0f,
                                                               aSettings.spawn, true, aSettings.maxLead,
                                                               aSettings.snapDistance, 45.0f, 0.35f);
        mySea->SetActive(false);
        myEye = std::make_unique<GameObject>("Eye");
        myTrigger = myEye->AddComponent<EyeTrigger>();
        myTrigger->SetPlayer(myPlayer.get());
        myTrigger->SetBloodSea(mySea.get());
        myTrigger->SetCameraController(&myCamera);
        myPlayer->Start(nullptr);
        mySea->Start(nullptr);
        myEye->Start(nullptr);
    }

    float SeaY() const { return mySea->GetTransform().GetPosition().y; }
    void SetPlayerY(float aY) { myPlayer->GetTransform().SetPosition({0.0f, aY, 0.0f}); }

    CameraController myCamera;
    std::unique_ptr<GameObject> myPlayer;
    DamageableComponent* myHealth = nullptr;
    std::unique_ptr<GameObject> mySea;
    BloodSeaComponent* mySeaSettings = nullptr;
    std::unique_ptr<GameObject> myEye;
    EyeTrigger* myTrigger = nullptr;
};

class EyeAnimatorTest : public ShippedModelsTest
{
};
} // namespace

TEST_F(EyeTriggerTest, ArmingStartsTheSeaWhichRisesToItsTarget)
{
    Make();
    RunFrames(*myEye, 4);
    EXPECT_FALSE(mySea->IsActive());
    EXPECT_FALSE(myTrigger->IsActivated());

    myTrigger->Arm();
    myEye->Update(FRAME);
    EXPECT_TRUE(mySea->IsActive());
    EXPECT_TRUE(mySeaSettings->IsActive());
    EXPECT_TRUE(mySeaSettings->IsRising());
    EXPECT_TRUE(myCamera.IsInBloodSeaMode());
    // Placed at its spawn point, then the first frame's rise.
    EXPECT_FLOAT_EQ(mySea->GetTransform().GetPosition().x, 100.0f);
    EXPECT_FLOAT_EQ(SeaY(), -1000.0f + 1.0f);

    RunFrames(*myEye, 64 * 40);
    EXPECT_FLOAT_EQ(SeaY(), 1000.0f);
    EXPECT_FALSE(myTrigger->IsRising());
    EXPECT_FALSE(mySeaSettings->IsRising());
    EXPECT_TRUE(mySeaSettings->IsActive());
}

TEST_F(EyeTriggerTest, TheSeaSnapsAfterAPlayerTooFarAheadButNeverPastItsTarget)
{
    SeaSettings settings;
    settings.targetY = 5000.0f;
    settings.maxLead = 1000.0f;
    settings.snapDistance = 400.0f;
    Make(settings);
    myTrigger->Arm();
    myEye->Update(FRAME);

    SetPlayerY(1500.0f); // 2499 above the sea
    myEye->Update(FRAME);
    EXPECT_TRUE(myTrigger->IsCatchingUp());
    // Snapped to 400 below the player, then rising on from there in the same frame.
    EXPECT_FLOAT_EQ(SeaY(), 1100.0f + 1.0f);
    EXPECT_TRUE(mySeaSettings->IsRising());

    // Still catching up: no second snap until the lead falls to 85 % of the allowed one.
    SetPlayerY(2200.0f);
    myEye->Update(FRAME);
    EXPECT_FLOAT_EQ(SeaY(), 1102.0f);
    SetPlayerY(1900.0f);
    myEye->Update(FRAME);
    EXPECT_FALSE(myTrigger->IsCatchingUp());

    // A snap that would pass the target stops at it, and the rise is over.
    SetPlayerY(9000.0f);
    myEye->Update(FRAME);
    EXPECT_FLOAT_EQ(SeaY(), 5000.0f);
    EXPECT_FALSE(myTrigger->IsRising());
    EXPECT_FALSE(mySeaSettings->IsRising());
}

TEST_F(EyeTriggerTest, WithoutAnAllowedLeadTheSeaNeverSnaps)
{
    SeaSettings settings;
    settings.maxLead = 0.0f;
    Make(settings);
    myTrigger->Arm();
    myEye->Update(FRAME);
    SetPlayerY(50000.0f);
    myEye->Update(FRAME);
    EXPECT_FLOAT_EQ(SeaY(), -998.0f);
    EXPECT_FALSE(myTrigger->IsCatchingUp());
}

TEST_F(EyeTriggerTest, PlayersDeathPutsTheSeaAwayUntilTheNextArming)
{
    Make();
    myTrigger->Arm();
    RunFrames(*myEye, 64);
    const float seaY = SeaY();
    EXPECT_GT(seaY, -1000.0f);

    myHealth->SetHp(0);
    RunFrames(*myEye, 8);
    EXPECT_FALSE(mySeaSettings->IsActive());
    EXPECT_FALSE(mySeaSettings->IsRising());
    EXPECT_FLOAT_EQ(SeaY(), seaY);

    myHealth->SetHp(2);
    myEye->Update(FRAME);
    EXPECT_FALSE(mySea->IsActive());
    EXPECT_FLOAT_EQ(SeaY(), -1000.0f);
    EXPECT_FALSE(myTrigger->IsArmed());
    RunFrames(*myEye, 64);
    EXPECT_FALSE(mySea->IsActive());
    EXPECT_FLOAT_EQ(SeaY(), -1000.0f);

    myTrigger->Arm();
    myEye->Update(FRAME);
    EXPECT_TRUE(mySea->IsActive());
    EXPECT_TRUE(mySeaSettings->IsRising());
}

TEST_F(EyeAnimatorTest, NothingMovesUntilActivatedThenItOpensAndArmsItsTrigger)
{
    std::unique_ptr<GameObject> eye = BuildAndStart(&BuildEyeInTheSkyObject, "EyeInTheSky", EYE_MODEL);
    EyeAnimator* animator = Part<EyeAnimator>(*eye);
    EyeTrigger* trigger = Part<EyeTrigger>(*eye);
    ASSERT_EQ(animator->GetAnimationPlayers().size(), 2u);
    ASSERT_NE(animator->GetCurrentState(), nullptr);
    EXPECT_EQ(animator->GetCurrentState()->GetName(), "Eye Activate");
    RunFrames(*eye, 64 * 4);
    EXPECT_FLOAT_EQ(animator->GetCurrentAnimationPlayer()->myTime, 0.0f);
    EXPECT_EQ(animator->GetCurrentState()->GetName(), "Eye Activate");

    animator->Activate();
    EXPECT_EQ(animator->GetEyeTrigger(), trigger);
    RunFrames(*eye, 8);
    EXPECT_GT(animator->GetCurrentAnimationPlayer()->myTime, 0.0f);
    EXPECT_FALSE(trigger->IsArmed());
    RunFrames(*eye, 64 * 3); // the opening clip lasts 2.5 s
    EXPECT_EQ(animator->GetCurrentState()->GetName(), "Eye Idle");
    EXPECT_EQ(animator->GetCurrentAnimationIndex(), EyeClip::IDLE);
    EXPECT_TRUE(trigger->IsArmed());
}

TEST_F(EyeAnimatorTest, AnEyeWithAnotherTagOpensButArmsNothing)
{
    std::unique_ptr<GameObject> door = BuildAndStart(&BuildEyeInTheSkyObject, "levelEnd", EYE_MODEL);
    EyeAnimator* animator = Part<EyeAnimator>(*door);
    animator->Activate();
    EXPECT_EQ(animator->GetEyeTrigger(), nullptr);
    RunFrames(*door, 64 * 3);
    EXPECT_EQ(animator->GetCurrentState()->GetName(), "Eye Idle");
    EXPECT_FALSE(Part<EyeTrigger>(*door)->IsArmed());
}
