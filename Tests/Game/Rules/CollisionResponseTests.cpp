#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Enemies/SchnozController.h"
#include "Game/Player/PlayerTestRig.h"
#include "Level/BreakableTile.h"
#include "Rules/CollisionResponses.h"
#include "Session/LevelCounters.h"
#include "Session/RankSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
using namespace PlayerTest;

const CollisionBox UNIT_BOX{{0.0f, 0.0f, 0.0f}, {10.0f, 10.0f, 10.0f}};

TEST(RayIntersectBox, TriesTheFacesInOrderNotByDistance)
{
    float t = -1.0f;
    ASSERT_TRUE(RayIntersectBox(UNIT_BOX, {{-5.0f, 5.0f, 5.0f}, {1.0f, 0.0f, 0.0f}}, t));
    EXPECT_FLOAT_EQ(t, 5.0f);
    // From above, the y-min face comes first in the order: the far face, 15 away, not the near one.
    ASSERT_TRUE(RayIntersectBox(UNIT_BOX, {{5.0f, 15.0f, 5.0f}, {0.0f, -1.0f, 0.0f}}, t));
    EXPECT_FLOAT_EQ(t, 15.0f);
    // From the right going left, likewise the x-min face.
    ASSERT_TRUE(RayIntersectBox(UNIT_BOX, {{14.0f, 5.0f, 5.0f}, {-1.0f, 0.0f, 0.0f}}, t));
    EXPECT_FLOAT_EQ(t, 14.0f);
    // Going away from the box.
    EXPECT_FALSE(RayIntersectBox(UNIT_BOX, {{-5.0f, 5.0f, 5.0f}, {-1.0f, 0.0f, 0.0f}}, t));
    EXPECT_EQ(t, std::numeric_limits<float>::infinity());
}

TEST(RayIntersectBox, AnOriginInsideOrOnTheBoxHitsAtZero)
{
    float t = 7.0f;
    ASSERT_TRUE(RayIntersectBox(UNIT_BOX, {{5.0f, 9.9f, 5.0f}, {0.0f, -1.0f, 0.0f}}, t));
    EXPECT_EQ(t, 0.0f) << "an inside origin always reports 0, whatever t held";
    t = 7.0f;
    ASSERT_TRUE(RayIntersectBox(UNIT_BOX, {{10.0f, 10.0f, 10.0f}, {1.0f, 0.0f, 0.0f}}, t));
    EXPECT_EQ(t, 0.0f) << "faces count as inside";
}

TEST(RayIntersectBox, ParallelRaysMissOrSlideAlongAFace)
{
    float t = 0.0f;
    // Beside the box, parallel to y: the x faces divide by zero and the y faces land off the box.
    EXPECT_FALSE(RayIntersectBox(UNIT_BOX, {{-5.0f, -5.0f, 5.0f}, {0.0f, 1.0f, 0.0f}}, t));
    EXPECT_TRUE(std::isinf(t));
    // In the x-min plane itself: 0/0 on that face is skipped, the y-min face is hit.
    ASSERT_TRUE(RayIntersectBox(UNIT_BOX, {{0.0f, -5.0f, 5.0f}, {0.0f, 1.0f, 0.0f}}, t));
    EXPECT_FLOAT_EQ(t, 5.0f);
}

TEST(CollisionShapes, OverlapIsInclusiveAndNormalizeKeepsZero)
{
    EXPECT_TRUE(BoxesOverlap(UNIT_BOX, {{10.0f, 10.0f, 10.0f}, {20.0f, 20.0f, 20.0f}}));
    EXPECT_FALSE(BoxesOverlap(UNIT_BOX, {{10.01f, 0.0f, 0.0f}, {20.0f, 10.0f, 10.0f}}));
    EXPECT_FALSE(BoxesOverlap(UNIT_BOX, {{0.0f, 0.0f, 11.0f}, {10.0f, 10.0f, 20.0f}})) << "z counts too";
    EXPECT_EQ(NormalizeOrZero({0.0f, 0.0f, 0.0f}), (Qel::Vector3<float>{0.0f, 0.0f, 0.0f}));
    const Qel::Vector3<float> unit = NormalizeOrZero({3.0f, 0.0f, 4.0f});
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.z, 0.8f);
}

// A box-bodied player (80 wide, 160 tall, feet at its position) and the level's pieces round it.
class PlayerContact : public testing::Test
{
protected:
    void SetUp() override
    {
        myBody = myRig.Object().AddComponent<BoxColliderComponent>(
            Qel::Vector3<float>{80.0f, 160.0f, 80.0f}, Qel::Vector3<float>{0.0f, 80.0f, 0.0f}, false, true);
        myHealth = myRig.Object().AddComponent<DamageableComponent>(2);
        myRig.Start();
        ResetCollectedCoinCount();
        ResetCollectedKeyCount();
        SetPlayerHealth(1);
    }
    void Place(float aX, float aY)
    {
        myRig.PlaceAt(aX, aY);
        myBody->Update(0.0f);
    }
    // A static box with its centre at aCentre.
    GameObject* AddBox(const std::string& aTag, const Qel::Vector3<float>& aCentre,
                       const Qel::Vector3<float>& aSize)
    {
        auto object = aTag == "BreakableBlock" ? std::make_unique<BreakableTile>("block")
                                               : std::make_unique<GameObject>(aTag);
        object->SetTag(aTag);
        object->GetTransform().SetPosition(aCentre);
        if (aTag != "BreakableBlock")
        {
            object->AddComponent<BoxColliderComponent>(aSize, Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false,
                                                       true);
        }
        object->Start(nullptr);
        myLevel.push_back(std::move(object));
        myStatics.push_back(myLevel.back().get());
        return myStatics.back();
    }
    bool Resolve()
    {
        const bool hit = HandleBreakableBlockContact(myRig.Controller(), myStatics);
        myBody->Update(0.0f);
        return hit;
    }

    ControllerRig myRig;
    BoxColliderComponent* myBody = nullptr;
    DamageableComponent* myHealth = nullptr;
    std::vector<std::unique_ptr<GameObject>> myLevel;
    std::vector<GameObject*> myStatics;
};

TEST_F(PlayerContact, ALandedPlayerStaysEmbeddedAndIsFoundAtZeroNextFrame)
{
    AddBox("Ground", {0.0f, -50.0f, 0.0f}, {2000.0f, 100.0f, 200.0f});
    Place(0.0f, -6.0f);
    ASSERT_TRUE(Resolve());
    EXPECT_NEAR(myRig.Y(), -0.1f, 1e-4f);
    EXPECT_TRUE(myRig.Controller().IsGrounded());
    // The next frame's probe starts inside the ground: t = 0, no further push.
    ASSERT_TRUE(Resolve());
    EXPECT_NEAR(myRig.Y(), -0.1f, 1e-4f);
    EXPECT_TRUE(myRig.Controller().IsGrounded());

    // 5 units above a thick ground the probe meets the far face first and finds nothing.
    Place(0.0f, 5.0f);
    EXPECT_FALSE(Resolve());
    EXPECT_FALSE(myRig.Controller().IsGrounded());
}

TEST_F(PlayerContact, OnlyTheRightWallPushesTenUnitsClear)
{
    // Thin walls, so that the left probe's far-face hit is within reach.
    AddBox("Ground", {500.0f, 80.0f, 0.0f}, {4.0f, 400.0f, 200.0f});
    Place(456.0f, 100.0f); // right edge at 496, 2 short of the wall's face at 498
    ASSERT_TRUE(Resolve());
    EXPECT_FLOAT_EQ(myRig.X(), 448.0f) << "the wall face minus the body's half width minus 10";
    EXPECT_TRUE(myRig.Controller().IsTouching(PlayerController::SIDE_RIGHT_WALL));
    EXPECT_FALSE(Resolve()) << "10 clear is out of the probe's reach";
    EXPECT_FALSE(myRig.Controller().IsTouching(PlayerController::SIDE_RIGHT_WALL));

    Place(544.0f, 100.0f); // left edge at 504, 2 from the wall's face at 502
    ASSERT_TRUE(Resolve());
    EXPECT_FLOAT_EQ(myRig.X(), 542.0f) << "flush against the face, no extra distance";
    EXPECT_TRUE(myRig.Controller().IsTouching(PlayerController::SIDE_LEFT_WALL));
}

TEST_F(PlayerContact, BlocksBreakFromBelowOnlyWhileRisingAndFromAboveOnlyWhileGroundPounding)
{
    GameObject* block = AddBox("BreakableBlock", {0.0f, 200.0f, 0.0f}, {});
    auto* tile = block->GetComponent<BreakableTileController>();
    ASSERT_NE(tile, nullptr);
    // Head at 160, the block's bottom at 175: within the reach above the head, but standing still.
    Place(0.0f, 0.0f);
    Resolve();
    EXPECT_FALSE(tile->IsBroken());

    myRig.Controller().OnContact(PlayerController::SIDE_GROUND);
    myRig.Tap(KEY_SPACE);
    ASSERT_TRUE(myRig.Controller().IsRising());
    Place(0.0f, 0.0f);
    Resolve();
    EXPECT_TRUE(tile->IsBroken());
    EXPECT_FALSE(tile->TryBreak(true, true)) << "a block breaks once";

    tile->ResetBroken();
    Place(0.0f, 300.0f);
    myRig.Steps(4);
    myRig.Tap(KEY_S);
    ASSERT_TRUE(myRig.Controller().IsGroundPounding());
    Place(0.0f, 224.0f); // feet inside the block's top
    Resolve();
    EXPECT_TRUE(tile->IsBroken());
}

GameObject* AddPickup(std::vector<std::unique_ptr<GameObject>>& aOwned, const std::string& aTag,
                      const Qel::Vector3<float>& aPosition, bool aWithSphere)
{
    auto object = std::make_unique<GameObject>(aTag);
    object->SetTag(aTag);
    object->GetTransform().SetPosition(aPosition);
    if (aWithSphere)
    {
        object->AddComponent<SphereColliderComponent>(30.0f, Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, true);
    }
    else
    {
        object->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{20.0f, 20.0f, 20.0f},
                                                   Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false, true);
    }
    object->Start(nullptr);
    aOwned.push_back(std::move(object));
    return aOwned.back().get();
}

TEST_F(PlayerContact, PickupsCountByKindAndLeaveTheListWhenTouched)
{
    RankSystem rank;
    Place(0.0f, 0.0f);
    std::vector<std::unique_ptr<GameObject>> owned;
    GameObject* coin = AddPickup(owned, "Coin", {60.0f, 80.0f, 0.0f}, true); // sphere reaches x = 30
    GameObject* key = AddPickup(owned, "Key", {0.0f, 100.0f, 0.0f}, false);
    GameObject* heart = AddPickup(owned, "PowerUp", {0.0f, 50.0f, 0.0f}, true);
    GameObject* far = AddPickup(owned, "Coin", {500.0f, 80.0f, 0.0f}, true);
    GameObject* odd = AddPickup(owned, "Decoration", {0.0f, 20.0f, 0.0f}, false);
    myHealth->SetHp(1);
    std::vector<GameObject*> pickups{coin, key, heart, far, odd};

    ASSERT_TRUE(HandlePickupContact(myRig.Controller(), pickups, &rank));
    EXPECT_FALSE(coin->IsActive());
    EXPECT_FALSE(key->IsActive());
    EXPECT_FALSE(heart->IsActive());
    EXPECT_FALSE(odd->IsActive()) << "anything touched in the list is consumed";
    EXPECT_TRUE(far->IsActive());
    EXPECT_EQ(pickups, (std::vector<GameObject*>{far}));
    EXPECT_EQ(GetCollectedCoinCount(), 1);
    EXPECT_EQ(GetCollectedKeyCount(), 1);
    EXPECT_EQ(rank.GetScore(), RankSystem::DEFAULT_POINTS_PER_WISP + RankSystem::DEFAULT_POINTS_PER_KEY);
    EXPECT_EQ(myHealth->GetHp(), 2);
    EXPECT_EQ(GetPlayerHealth(), 2);
    EXPECT_FALSE(HandlePickupContact(myRig.Controller(), pickups, &rank));
}

TEST_F(PlayerContact, AHeartAtFullHealthIsConsumedAndTheCounterStaysAtTwo)
{
    Place(0.0f, 0.0f);
    SetPlayerHealth(2);
    std::vector<std::unique_ptr<GameObject>> owned;
    std::vector<GameObject*> pickups{AddPickup(owned, "PowerUp", {0.0f, 50.0f, 0.0f}, false)};
    ASSERT_TRUE(HandlePickupContact(myRig.Controller(), pickups, nullptr));
    EXPECT_TRUE(pickups.empty());
    EXPECT_EQ(myHealth->GetHp(), 2);
    EXPECT_EQ(GetPlayerHealth(), 2);
}

TEST_F(PlayerContact, DeathBoxesKillOnlyWithABoxAndOnlyOnOverlap)
{
    Place(0.0f, 0.0f);
    auto bare = std::make_unique<GameObject>("bare");
    bare->SetBounds({-500.0f, -500.0f, -500.0f}, {500.0f, 500.0f, 500.0f});
    auto away = std::make_unique<GameObject>("away");
    away->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{50.0f, 50.0f, 50.0f},
                                             Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, true, false);
    away->GetTransform().SetPosition({300.0f, 0.0f, 0.0f});
    away->Start(nullptr);
    EXPECT_FALSE(HandleDeathBoxContact(myRig.Controller(), {bare.get(), away.get()}));
    EXPECT_FALSE(myHealth->IsDead()) << "an object without a box is no death box";

    away->GetTransform().SetPosition({30.0f, 100.0f, 0.0f});
    away->GetComponent<BoxColliderComponent>()->Init(nullptr);
    EXPECT_TRUE(HandleDeathBoxContact(myRig.Controller(), {bare.get(), away.get()}));
    EXPECT_TRUE(myHealth->IsDead());
}

TEST_F(PlayerContact, TriggerBoxesSeeThePlayerEnterAndLeave)
{
    Place(0.0f, 0.0f);
    auto trigger = std::make_unique<GameObject>("door");
    auto* box = trigger->AddComponent<BoxColliderComponent>(
        Qel::Vector3<float>{100.0f, 100.0f, 100.0f}, Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, true, false);
    trigger->Start(nullptr);
    EXPECT_TRUE(UpdateTriggerBoxes(myRig.Controller(), {trigger.get()}));
    EXPECT_TRUE(box->IsPlayerInside());
    Place(1000.0f, 0.0f);
    EXPECT_FALSE(UpdateTriggerBoxes(myRig.Controller(), {trigger.get()}));
    EXPECT_FALSE(box->IsPlayerInside());
}

TEST(EnemyContact, AnyProbeThatMeetsTheLevelTurnsTheEnemyAndNoneClearsItsGround)
{
    auto ground = std::make_unique<GameObject>("Ground");
    ground->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{1000.0f, 100.0f, 200.0f},
                                               Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false, true);
    ground->GetTransform().SetPosition({0.0f, -50.0f, 0.0f});
    ground->Start(nullptr);
    // A small enemy whose 50-unit box starts aBottom above its feet, which stand on the ground.
    const auto enemyAt = [](float aX, float aBottom)
    {
        auto enemy = std::make_unique<GameObject>("Schnoz_II");
        enemy->SetTag("Schnoz_II");
        enemy->AddComponent<SchnozController>();
        enemy->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{50.0f, 50.0f, 50.0f},
                                                  Qel::Vector3<float>{0.0f, aBottom + 25.0f, 0.0f}, false,
                                                  true);
        enemy->GetTransform().SetPosition({aX, 0.0f, 0.0f});
        enemy->Start(nullptr);
        return enemy;
    };

    auto floating = enemyAt(0.0f, 12.5f);
    SchnozController* controller = floating->GetComponent<SchnozController>();
    ASSERT_TRUE(controller->HasContact(SchnozController::GROUND));
    EXPECT_FALSE(HandleEnemyWorldCollision(*floating, {ground.get()}));
    EXPECT_FALSE(controller->IsFacingRight()) << "nothing in reach: it walks on";
    EXPECT_FALSE(controller->HasContact(SchnozController::GROUND));

    // A box that touches the ground is met by the down probe, which turns it like a wall.
    auto sitting = enemyAt(0.0f, 0.0f);
    controller = sitting->GetComponent<SchnozController>();
    EXPECT_TRUE(HandleEnemyWorldCollision(*sitting, {ground.get()}));
    EXPECT_TRUE(controller->IsFacingRight());
    EXPECT_TRUE(controller->HasContact(SchnozController::GROUND));
    EXPECT_FLOAT_EQ(sitting->GetTransform().GetPosition().y, 0.0f);

    // A wall 6 units ahead of a box walking right: it turns, pushed back to 10 units clear.
    auto wall = std::make_unique<GameObject>("Ground");
    wall->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{100.0f, 400.0f, 200.0f},
                                             Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false, true);
    wall->GetTransform().SetPosition({131.0f, 200.0f, 0.0f});
    wall->Start(nullptr);
    auto walker = enemyAt(50.0f, 12.5f);
    controller = walker->GetComponent<SchnozController>();
    controller->TurnAround();
    EXPECT_TRUE(HandleEnemyWorldCollision(*walker, {ground.get(), wall.get()}));
    EXPECT_FALSE(controller->IsFacingRight());
    EXPECT_TRUE(controller->HasContact(SchnozController::RIGHT_WALL));
    EXPECT_FLOAT_EQ(walker->GetTransform().GetPosition().x, 46.0f);
}
} // namespace
