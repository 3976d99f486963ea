// Box and sphere colliders on their owners: world boxes and spheres that follow the owner (or, for a
// still trigger box, stay where they started), the owner's bounds, and the trigger edges.
#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Objects/GameObject.h"

#include <gtest/gtest.h>

namespace
{
using Vec = Qel::Vector3<float>;

struct Box
{
    Vec min;
    Vec max;
};

Box WorldBox(const BoxColliderComponent& aBox)
{
    Box box;
    aBox.GetWorldBounds(box.min, box.max);
    return box;
}

Box OwnerBounds(const GameObject& anObject)
{
    Box box;
    anObject.GetBounds(box.min, box.max);
    return box;
}

TEST(BoxColliderTest, ASolidBoxFollowsItsOwnerAndBecomesItsBounds)
{
    GameObject object("Ground");
    object.GetTransform().SetPosition({100.0f, 200.0f, 0.0f});
    BoxColliderComponent* box = object.AddComponent<BoxColliderComponent>(
        Vec(50.0f, 150.0f, 50.0f), Vec(0.0f, 75.0f, 0.0f), false, false);
    EXPECT_EQ(WorldBox(*box).min, Vec(0.0f, 0.0f, 0.0f)) << "nothing before the start";
    object.Start(nullptr);
    EXPECT_EQ(WorldBox(*box).min, Vec(75.0f, 200.0f, -25.0f));
    EXPECT_EQ(WorldBox(*box).max, Vec(125.0f, 350.0f, 25.0f));
    EXPECT_EQ(OwnerBounds(object).min, WorldBox(*box).min);
    EXPECT_EQ(OwnerBounds(object).max, WorldBox(*box).max);

    object.GetTransform().SetPosition({-100.0f, 0.0f, 10.0f});
    object.Update(0.016f);
    EXPECT_EQ(WorldBox(*box).min, Vec(-125.0f, 0.0f, -15.0f));
    EXPECT_EQ(WorldBox(*box).max, Vec(-75.0f, 150.0f, 35.0f));
    EXPECT_EQ(OwnerBounds(object).max, Vec(-75.0f, 150.0f, 35.0f));
}

TEST(BoxColliderTest, AStillTriggerKeepsItsStartingBoxAndAFollowingOneMoves)
{
    GameObject still("DeathBox");
    GameObject following("EyeTrigger");
    BoxColliderComponent* stillBox =
        still.AddComponent<BoxColliderComponent>(Vec(10.0f, 10.0f, 10.0f), Vec(), true, false);
    BoxColliderComponent* followingBox = following.AddComponent<BoxColliderComponent>(
        Vec(10.0f, 10.0f, 10.0f), Vec(0.0f, 200.0f, 0.0f), true, true);
    still.Start(nullptr);
    following.Start(nullptr);
    for (GameObject* object : {&still, &following})
    {
        object->GetTransform().SetPosition({1000.0f, 0.0f, 0.0f});
        object->Update(0.016f);
    }
    EXPECT_EQ(WorldBox(*stillBox).min, Vec(-5.0f, -5.0f, -5.0f));
    EXPECT_EQ(WorldBox(*stillBox).max, Vec(5.0f, 5.0f, 5.0f));
    EXPECT_EQ(WorldBox(*followingBox).min, Vec(995.0f, 195.0f, -5.0f));
}

TEST(BoxColliderTest, OnlyTriggersReportEnterAndExitEdges)
{
    BoxColliderComponent solid(Vec(1.0f, 1.0f, 1.0f), Vec(), false, false);
    EXPECT_FALSE(solid.TriggerEnter());
    EXPECT_FALSE(solid.IsPlayerInside());
    EXPECT_FALSE(solid.TriggerExit());

    BoxColliderComponent trigger(Vec(1.0f, 1.0f, 1.0f), Vec(), true, false);
    EXPECT_FALSE(trigger.TriggerExit()) << "no exit before an enter";
    EXPECT_TRUE(trigger.TriggerEnter());
    EXPECT_TRUE(trigger.IsPlayerInside());
    EXPECT_FALSE(trigger.TriggerEnter()) << "staying inside is no new edge";
    EXPECT_TRUE(trigger.TriggerExit());
    EXPECT_FALSE(trigger.IsPlayerInside());
    EXPECT_FALSE(trigger.TriggerExit());
    EXPECT_TRUE(trigger.TriggerEnter()) << "a second visit enters again";
}

TEST(SphereColliderTest, TheSphereFollowsItsOwnerEveryFrameAndBoundsItsCube)
{
    GameObject coin("Coin");
    coin.GetTransform().SetPosition({10.0f, 20.0f, 30.0f});
    SphereColliderComponent* sphere =
        coin.AddComponent<SphereColliderComponent>(50.0f, Vec(-15.0f, 50.0f, 0.0f), true);
    coin.Start(nullptr);
    const Qel::Vector4<float> centre = sphere->GetWorldCenter();
    EXPECT_EQ(Vec(centre.x, centre.y, centre.z), Vec(-5.0f, 70.0f, 30.0f));
    EXPECT_EQ(centre.w, 50.0f);
    EXPECT_EQ(OwnerBounds(coin).min, Vec(-55.0f, 20.0f, -20.0f));
    EXPECT_EQ(OwnerBounds(coin).max, Vec(45.0f, 120.0f, 80.0f));

    // Triggers follow too: the sphere has no still mode.
    coin.GetTransform().SetPosition({0.0f, 0.0f, 0.0f});
    coin.Update(0.016f);
    EXPECT_EQ(sphere->GetWorldCenter().x, -15.0f);
    EXPECT_EQ(OwnerBounds(coin).max, Vec(35.0f, 100.0f, 50.0f));

    EXPECT_TRUE(sphere->TriggerEnter());
    EXPECT_FALSE(sphere->TriggerEnter());
    EXPECT_TRUE(sphere->TriggerExit());
    SphereColliderComponent solid(1.0f, Vec(), false);
    EXPECT_FALSE(solid.TriggerEnter());
}
} // namespace
