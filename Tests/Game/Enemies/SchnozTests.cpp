// The walking enemies, built by their builders over the shipped models and driven frame by frame: stomps,
// the armour and its grace time, the walk and its probe, the states' clips and the death that hides the
// enemy. Their patrols through the collision system are played in the EnemyPlay tests.
#include "Builders/EnemyBuilders.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Enemies/Schnoz.h"
#include "Enemies/SchnozAnimator.h"
#include "Enemies/SchnozController.h"
#include "Game/Enemies/EnemyTestSupport.h"
#include "Session/LevelRegistry.h"
#include "Support/AssertCapture.h"

#include <gtest/gtest.h>

namespace
{
using Vector3 = Qel::Vector3<float>;

const std::string SMALL_MODEL = "models\\SK\\CH_SmallEnemy.fbx";
const std::string ARMOURED_MODEL = "models\\SK\\CH_BigEnemy.fbx";

class SchnozTest : public ShippedModelsTest
{
protected:
    void Make(bool anArmoured, const std::string& aModel = "")
    {
        myObject = anArmoured ? BuildAndStart(&BuildSchnozIIIObject, "Schnoz_III", aModel)
                              : BuildAndStart(&BuildSchnozIIObject, "Schnoz_II", aModel);
        myController = Part<SchnozController>(*myObject);
        myAnimator = Part<SchnozAnimator>(*myObject);
    }

    std::string StateName() const
    {
        return myAnimator->GetCurrentState() != nullptr ? myAnimator->GetCurrentState()->GetName() : "none";
    }

    // Runs frames until the current clip has played once more (and a frame beyond).
    void PlayCurrentClipOut()
    {
        const int frames = static_cast<int>(myAnimator->GetCurrentClipLength() / FRAME) + 2;
        RunFrames(*myObject, frames);
    }

    // Enemies built without a model assert that they cannot animate, and walk on regardless.
    QelTest::AssertCapture myAsserts;
    std::unique_ptr<GameObject> myObject;
    SchnozController* myController = nullptr;
    SchnozAnimator* myAnimator = nullptr;
    FakePlayerController myPlayer;
};
} // namespace

TEST_F(SchnozTest, OneStompKillsTheSmallEnemyAndOnlyAStompCounts)
{
    Make(false);
    EXPECT_EQ(myAsserts.GetFailures(),
              std::vector<std::string>{"myAnimatedMesh && \"SchnozAnimator requires an AnimatedMeshComponent "
                                       "on the same GameObject!\""});
    EXPECT_FALSE(myController->TakeHit(&myPlayer, false, true));
    EXPECT_EQ(myPlayer.bounces, 0);

    EXPECT_TRUE(myController->TakeHit(&myPlayer, true, false));
    EXPECT_EQ(myPlayer.bounces, 1);
    EXPECT_EQ(myPlayer.knockback, (Vector3{0.0f, 1800.0f, 50.0f}));
    EXPECT_TRUE(myPlayer.isGrounded);
}

TEST_F(SchnozTest, ArmourBreaksOnlyOnAPoundAndASecondStompWithinTheGraceTimeDoesNotCount)
{
    Make(true);
    EXPECT_TRUE(myController->IsArmoured());
    EXPECT_EQ(myController->GetHp(), 1);

    // A plain stomp bounces the player off the shell and leaves it whole.
    EXPECT_FALSE(myController->TakeHit(&myPlayer, true, false));
    EXPECT_EQ(myController->GetHp(), 1);
    EXPECT_EQ(myPlayer.bounces, 1);

    // The pound breaks it, and the walk state will see the hit once.
    EXPECT_FALSE(myController->TakeHit(&myPlayer, true, true));
    EXPECT_EQ(myController->GetHp(), 0);
    EXPECT_TRUE(myController->ConsumeHitFlag());
    EXPECT_FALSE(myController->ConsumeHitFlag());

    RunFrames(*myObject, 16); // 0.25 s
    EXPECT_FALSE(myController->TakeHit(&myPlayer, true, true));
    EXPECT_TRUE(myController->IsArmoured());
    EXPECT_EQ(myPlayer.bounces, 3);

    RunFrames(*myObject, 4); // 0.3125 s since the armour broke
    EXPECT_TRUE(myController->TakeHit(&myPlayer, true, false));
    EXPECT_FALSE(myController->IsArmoured());
}

TEST_F(SchnozTest, WalksOnFlatGroundAndPlacesItsProbeAheadOfItsFeet)
{
    Make(false);
    RunFrames(*myObject, 32); // 0.5 s at 200 units a second, to the left
    EXPECT_FLOAT_EQ(myObject->GetTransform().GetPosition().x, -100.0f);
    EXPECT_FLOAT_EQ(myObject->GetTransform().GetPosition().y, 0.0f);

    Vector3 origin;
    Vector3 direction;
    myController->GetGroundProbe(origin, direction);
    Vector3 boundsMin;
    Vector3 boundsMax;
    myObject->GetBounds(boundsMin, boundsMax);
    EXPECT_EQ(direction, (Vector3{0.0f, -1.0f, 0.0f}));
    EXPECT_FLOAT_EQ(origin.y, -50.0f);
    // The probe is placed from the bounds before this frame's step, one step ahead.
    EXPECT_NEAR(origin.x, boundsMin.x, 0.01f);

    // A long frame moves nothing but still places the probe.
    myController->UpdateProbe({}, {});
    myObject->Update(0.125f);
    EXPECT_FLOAT_EQ(myObject->GetTransform().GetPosition().x, -100.0f);
    myController->GetGroundProbe(origin, direction);
    EXPECT_EQ(direction, (Vector3{0.0f, -1.0f, 0.0f}));

    myController->TurnAround();
    EXPECT_TRUE(myController->IsFacingRight());
    RunFrames(*myObject, 16);
    EXPECT_FLOAT_EQ(myObject->GetTransform().GetPosition().x, -50.0f);
    myController->GetGroundProbe(origin, direction);
    myObject->GetBounds(boundsMin, boundsMax);
    EXPECT_NEAR(origin.x, boundsMax.x, 0.01f);
}

TEST_F(SchnozTest, ResetRearmsWithAtLeastSpeedOneAndTheKindsHits)
{
    Make(true);
    myController->TakeHit(&myPlayer, true, true);
    myController->SetDead();
    myController->SetEnabled(false);

    myController->Reset(0.0f, 0, true);
    EXPECT_TRUE(myController->IsEnabled());
    EXPECT_FALSE(myController->IsDead());
    EXPECT_FALSE(myController->ConsumeHitFlag());
    EXPECT_TRUE(myController->IsFacingRight());
    EXPECT_FLOAT_EQ(myController->GetSpeed(), -1.0f);
    EXPECT_TRUE(myController->IsArmoured());
    EXPECT_EQ(myController->GetHp(), 0);

    myController->Respawn();
    EXPECT_FLOAT_EQ(myController->GetSpeed(), 200.0f);
    EXPECT_FALSE(myController->IsFacingRight());
    EXPECT_EQ(myController->GetHp(), 1);
}

TEST_F(SchnozTest, SmallEnemyWalksFacingItsWayAndDiesOutOfSight)
{
    Make(false, SMALL_MODEL);
    ASSERT_EQ(myAnimator->GetAnimationPlayers().size(), 7u);
    EXPECT_EQ(StateName(), "Schnoz Walking");
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::WALK_HURT_LEFT);
    const AnimatedMeshComponent* mesh = myAnimator->GetAnimatedMesh();
    EXPECT_FALSE(mesh->IsFacingRight());
    myController->TurnAround();
    EXPECT_TRUE(mesh->IsFacingRight());

    myController->SetDead();
    myObject->Update(FRAME);
    EXPECT_EQ(StateName(), "Schnoz Ded");
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::DEATH);
    EXPECT_FALSE(myController->IsEnabled());
    const float x = myObject->GetTransform().GetPosition().x;
    ASSERT_GT(myAnimator->GetCurrentClipLength(), 0.0f);
    RunFrames(*myObject, static_cast<int>(myAnimator->GetCurrentClipLength() / FRAME) - 2);
    EXPECT_TRUE(myObject->IsActive());
    EXPECT_FLOAT_EQ(myObject->GetTransform().GetPosition().x, x);
    RunFrames(*myObject, 4);
    EXPECT_FALSE(myObject->IsActive());

    // A restore brings it back walking.
    myObject->SetActive(true);
    myController->Respawn();
    myAnimator->StartWalking();
    EXPECT_EQ(StateName(), "Schnoz Walking");
    EXPECT_TRUE(myController->IsEnabled());
}

TEST_F(SchnozTest, ArmouredEnemyShowsItsDirectionAndItsBrokenShellByClip)
{
    Make(true, ARMOURED_MODEL);
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::WALK_LEFT);
    myController->TurnAround();
    myObject->Update(FRAME);
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::WALK_RIGHT);

    myController->TakeHit(&myPlayer, true, true);
    myObject->Update(FRAME);
    EXPECT_EQ(StateName(), "Schnoz Hurt");
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::DAMAGED);
    PlayCurrentClipOut();
    EXPECT_EQ(StateName(), "Schnoz Walking");
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::WALK_HURT_RIGHT);
    myController->TurnAround();
    myObject->Update(FRAME);
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::WALK_HURT_LEFT);
}

TEST_F(SchnozTest, OnTheBonusLevelEnemiesDanceInPlaceWithoutAState)
{
    LevelRegistry::GetInstance().SetCurrentScene("levels/L_World3_BonusLevel.vks");
    Make(false, SMALL_MODEL);
    LevelRegistry::GetInstance().SetCurrentScene("");
    EXPECT_EQ(myAnimator->GetCurrentState(), nullptr);
    EXPECT_EQ(myAnimator->GetCurrentAnimationIndex(), SchnozClip::DANCE);
    EXPECT_FALSE(myController->IsEnabled());
    const float time = myAnimator->GetCurrentAnimationPlayer()->myTime;
    RunFrames(*myObject, 8);
    EXPECT_FLOAT_EQ(myObject->GetTransform().GetPosition().x, 0.0f);
    EXPECT_GT(myAnimator->GetCurrentAnimationPlayer()->myTime, time);
}

TEST_F(SchnozTest, AnEnemyWithoutBuiltPartsGetsAControllerAndABoxWhenItStarts)
{
    Schnoz_II bare("Bare", {1.0f, 2.0f, 3.0f});
    bare.SetTag("Schnoz_II");
    bare.Start(nullptr);
    ASSERT_NE(bare.GetController(), nullptr);
    EXPECT_EQ(bare.GetController()->GetKnockbackForce(), (Vector3{1.0f, 2.0f, 3.0f}));
    const BoxColliderComponent* box = Part<BoxColliderComponent>(bare);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetSize(), (Vector3{50.0f, 50.0f, 50.0f}));
    EXPECT_EQ(bare.GetComponents().size(), 2u);
}
