// The boss over its shipped model: three hits with the hurt clip shielding it, the glide to each
// destination (and its ends: the arrival band, a move in y alone, no time at all, a long frame), the
// stage triggers released in order, the entrance, and the bonus level's dance.
#include "Boss/BossAnimator.h"
#include "Builders/EnemyBuilders.h"
#include "Game/Enemies/EnemyTestSupport.h"
#include "Session/LevelRegistry.h"
#include "Support/AssertCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using Vector3 = Qel::Vector3<float>;

const std::string BOSS_MODEL = "models\\SK\\CH_Boss.fbx";

struct FakeStageTrigger
{
    void ReleaseLock() { releases->push_back(stage); }

    int stage = 0;
    std::vector<int>* releases = nullptr;
};

class BossTest : public ShippedModelsTest
{
protected:
    void Make(const std::string& aModel = BOSS_MODEL)
    {
        myObject = BuildAndStart(&BuildBossObject, "Boss", aModel, {1000.0f, 0.0f, 0.0f});
        myBoss = Part<BossAnimator>(*myObject);
        myTriggers = {{0, &myReleases}, {1, &myReleases}};
        myBoss->SetStageTriggers(std::vector<FakeStageTrigger*>{&myTriggers[0], &myTriggers[1]});
    }

    std::string StateName() const
    {
        return myBoss->GetCurrentState() != nullptr ? myBoss->GetCurrentState()->GetName() : "none";
    }

    float X() const { return myObject->GetTransform().GetPosition().x; }

    // Frames until the state is no longer aName, at most aLimit; the frames run.
    int RunWhile(const std::string& aName, int aLimit = 64 * 20)
    {
        int frames = 0;
        while (StateName() == aName && frames < aLimit)
        {
            myObject->Update(FRAME);
            ++frames;
        }
        return frames;
    }

    // Bosses built without a model assert that they cannot animate; their glide still works.
    QelTest::AssertCapture myAsserts;
    std::unique_ptr<GameObject> myObject;
    BossAnimator* myBoss = nullptr;
    std::vector<FakeStageTrigger> myTriggers;
    std::vector<int> myReleases;
};
} // namespace

TEST_F(BossTest, ThreeHitsWithHurtShieldingItGlidesToBothDestinationsAndDies)
{
    Make();
    EXPECT_EQ(StateName(), "Boss Idle");
    EXPECT_EQ(myBoss->GetCurrentAnimationIndex(), BossClip::IDLE);

    myBoss->OnDamaged();
    EXPECT_EQ(StateName(), "Boss Hurt");
    EXPECT_EQ(myBoss->GetCurrentAnimationIndex(), BossClip::HURT);
    EXPECT_EQ(myBoss->GetHitsLeft(), 2);
    EXPECT_EQ(myReleases, std::vector<int>{0});
    // A hit while hurt changes nothing at all.
    myBoss->OnDamaged();
    EXPECT_EQ(myBoss->GetHitsLeft(), 2);
    EXPECT_EQ(myReleases, std::vector<int>{0});

    RunWhile("Boss Hurt");
    EXPECT_EQ(StateName(), "Boss Move");
    EXPECT_EQ(myBoss->GetCurrentAnimationIndex(), BossClip::MOVE);
    const int glideFrames = RunWhile("Boss Move");
    EXPECT_EQ(StateName(), "Boss Idle");
    // Two seconds from 1000 to 5700: the band of 30 is reached a frame or so before the end.
    EXPECT_NEAR(glideFrames, 128, 2);
    EXPECT_NEAR(X(), 5700.0f, 30.0f);

    myBoss->OnDamaged();
    EXPECT_EQ(myReleases, (std::vector<int>{0, 1}));
    RunWhile("Boss Hurt");
    RunWhile("Boss Move");
    EXPECT_NEAR(X(), 10700.0f, 30.0f);

    myBoss->OnDamaged();
    EXPECT_EQ(StateName(), "Boss Ded");
    EXPECT_EQ(myBoss->GetCurrentAnimationIndex(), BossClip::DEATH);
    EXPECT_EQ(myBoss->GetHitsLeft(), 0);
    EXPECT_EQ(myReleases, (std::vector<int>{0, 1, 1}));
    RunFrames(*myObject, 64 * 5);
    EXPECT_EQ(StateName(), "Boss Ded");
}

TEST_F(BossTest, AHitWhileGlidingCountsAndTheNextGlideStartsWhereItWas)
{
    Make();
    myBoss->OnDamaged();
    RunWhile("Boss Hurt");
    RunFrames(*myObject, 32);
    const float halfway = X();
    EXPECT_GT(halfway, 1000.0f);
    EXPECT_LT(halfway, 5700.0f);
    myBoss->OnDamaged();
    EXPECT_EQ(myBoss->GetHitsLeft(), 1);
    EXPECT_EQ(myBoss->GetDestinationIndex(), 1);
    RunWhile("Boss Hurt");
    RunWhile("Boss Move");
    EXPECT_NEAR(X(), 10700.0f, 30.0f);
}

TEST_F(BossTest, GlidesAlwaysEndEvenWithoutTimeOrWithALongFrame)
{
    // No time to move: the boss is there at once.
    std::unique_ptr<GameObject> object = BuildAndStart(&BuildBossObject, "Boss", "", {0.0f, 0.0f, 0.0f});
    BossAnimator* boss = Part<BossAnimator>(*object);
    Part<BossAnimator>(*object)->SetDestinations({{500.0f, 0.0f, 0.0f}, {900.0f, 0.0f, 0.0f}});
    boss->OnDamaged();
    boss->StartMove();
    // No model here: drive the glide alone. A frame longer than the whole move lands on the spot.
    object->Update(5.0f);
    EXPECT_TRUE(boss->IsMoveDone());
    EXPECT_EQ(object->GetTransform().GetPosition(), (Vector3{500.0f, 0.0f, 0.0f}));

    SceneObjectData data = EnemyData("Boss", "");
    data.properties["TimeToMove"] = 0.0f;
    data.properties["FirstDestination"] = Vector3{-800.0f, 40.0f, 0.0f};
    std::unique_ptr<GameObject> quick = BuildBossObject(data);
    quick->SetTag("Boss");
    quick->Start(nullptr);
    BossAnimator* quickBoss = Part<BossAnimator>(*quick);
    quickBoss->OnDamaged();
    quickBoss->StartMove();
    quick->Update(FRAME);
    EXPECT_TRUE(quickBoss->IsMoveDone());
    EXPECT_EQ(quick->GetTransform().GetPosition(), (Vector3{-800.0f, 40.0f, 0.0f}));
}

TEST_F(BossTest, AMoveInYAloneEndsOnItsFirstFrame)
{
    SceneObjectData data = EnemyData("Boss", "");
    data.properties["FirstDestination"] = Vector3{0.0f, 600.0f, 0.0f};
    std::unique_ptr<GameObject> object = BuildBossObject(data);
    object->SetTag("Boss");
    object->Start(nullptr);
    BossAnimator* boss = Part<BossAnimator>(*object);
    boss->OnDamaged();
    boss->StartMove();
    object->Update(FRAME);
    EXPECT_TRUE(boss->IsMoveDone());
    EXPECT_NEAR(object->GetTransform().GetPosition().y, 600.0f * FRAME / 2.0f, 0.01f);
}

TEST_F(BossTest, EntranceReturnsToIdleAndABossWithFewerTriggersReleasesNothingMore)
{
    Make();
    myBoss->SetStageTriggers(std::vector<FakeStageTrigger*>{&myTriggers[0]});
    myBoss->StartEntrance();
    EXPECT_EQ(StateName(), "Boss Entrance");
    EXPECT_EQ(myBoss->GetCurrentAnimationIndex(), BossClip::INTRO);
    RunWhile("Boss Entrance");
    EXPECT_EQ(StateName(), "Boss Idle");

    myBoss->OnDamaged();
    RunWhile("Boss Hurt");
    RunWhile("Boss Move");
    myBoss->OnDamaged();
    EXPECT_EQ(myReleases, std::vector<int>{0});
}

TEST_F(BossTest, OnTheBonusLevelTheBossDancesWithoutAState)
{
    LevelRegistry::GetInstance().SetCurrentScene("levels/L_World3_BonusLevel.vks");
    Make();
    LevelRegistry::GetInstance().SetCurrentScene("");
    EXPECT_EQ(myBoss->GetCurrentState(), nullptr);
    EXPECT_EQ(myBoss->GetCurrentAnimationIndex(), BossClip::DANCE);
    RunFrames(*myObject, 8);
    EXPECT_GT(myBoss->GetCurrentAnimationPlayer()->myTime, 0.0f);
}
