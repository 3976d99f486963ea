// The effects the contact rules show, spawned through the running effect system: which one, where, at
// what size and facing the player's way.
#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Effects/VfxSystem.h"
#include "Enemies/SchnozController.h"
#include "Game/Effects/EffectsFixture.h"
#include "Game/Player/PlayerTestRig.h"
#include "Level/BreakableTile.h"
#include "Rules/CollisionResponses.h"
#include "Session/LevelCounters.h"
#include "Session/RankSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
using namespace PlayerTest;

class ContactEffects : public EffectsTest::EngineGameFixture
{
protected:
    void SetUp() override
    {
        EngineGameFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        for (const char* id : {"soul_pickup", "key_pickup", "heart_pickup", "block_destroy", "player_hit"})
        {
            myGame.Write(std::string("Vfx/") + id + ".json", R"({"texture": "T_Puff.dds", "loop": true})");
        }
        testing::internal::CaptureStdout();
        mySystem.Load();
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(mySystem.GetDefinitionCount(), 5u);
        VfxSystem::SetActive(&mySystem);

        myBody = myRig.Object().AddComponent<BoxColliderComponent>(
            Qel::Vector3<float>{80.0f, 160.0f, 80.0f}, Qel::Vector3<float>{0.0f, 80.0f, 0.0f}, false, true);
        myHealth = myRig.Object().AddComponent<DamageableComponent>(2);
        myHealth->SetInvulnerabilityTime(2.5f);
        myRig.Start();
        myRig.PlaceAt(0.0f, 0.0f);
        myBody->Update(0.0f);
        ResetCollectedCoinCount();
        ResetCollectedKeyCount();
    }
    void TearDown() override
    {
        VfxSystem::SetActive(nullptr);
        EngineGameFixture::TearDown();
    }

    GameObject* Add(std::unique_ptr<GameObject> anObject)
    {
        anObject->Start(nullptr);
        myLevel.push_back(std::move(anObject));
        return myLevel.back().get();
    }
    GameObject* AddPickup(const std::string& aTag, const Qel::Vector3<float>& aPosition)
    {
        auto object = std::make_unique<GameObject>(aTag);
        object->SetTag(aTag);
        object->GetTransform().SetPosition(aPosition);
        object->AddComponent<SphereColliderComponent>(30.0f, Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, true);
        return Add(std::move(object));
    }

    // The live effects with the given id.
    std::vector<const VfxInstance*> Live(const std::string& anId) const
    {
        std::vector<const VfxInstance*> found;
        for (const VfxInstance& instance : mySystem.GetInstances())
        {
            if (instance.active && instance.definition != nullptr && instance.definition->id == anId)
            {
                found.push_back(&instance);
            }
        }
        return found;
    }
    static void ExpectAt(const VfxInstance& anInstance, const Qel::Vector3<float>& aPosition, float aFacing)
    {
        EXPECT_FLOAT_EQ(anInstance.params.worldPosition.x, aPosition.x);
        EXPECT_FLOAT_EQ(anInstance.params.worldPosition.y, aPosition.y);
        EXPECT_FLOAT_EQ(anInstance.params.worldPosition.z, aPosition.z);
        EXPECT_FLOAT_EQ(anInstance.params.sizeMultiplier, 1.0f);
        EXPECT_FLOAT_EQ(anInstance.params.facing, aFacing);
    }

    VfxSystem mySystem;
    ControllerRig myRig;
    BoxColliderComponent* myBody = nullptr;
    DamageableComponent* myHealth = nullptr;
    std::vector<std::unique_ptr<GameObject>> myLevel;
};

TEST_F(ContactEffects, EachPickupShowsItsOwnEffectWhereItWasFacingThePlayersWay)
{
    RankSystem rank;
    myHealth->SetHp(1);
    myRig.Controller().SetFacingRight(false);
    const Qel::Vector3<float> coinAt{20.0f, 60.0f, 0.0f};
    const Qel::Vector3<float> keyAt{-20.0f, 100.0f, 5.0f};
    const Qel::Vector3<float> heartAt{0.0f, 140.0f, -5.0f};
    std::vector<GameObject*> pickups{AddPickup("Coin", coinAt), AddPickup("Key", keyAt),
                                     AddPickup("PowerUp", heartAt), AddPickup("Coin", {900.0f, 60.0f, 0.0f})};
    ASSERT_TRUE(HandlePickupContact(myRig.Controller(), pickups, &rank));

    EXPECT_EQ(mySystem.GetActiveCount(), 3u) << "the coin out of reach shows nothing";
    const auto souls = Live("soul_pickup");
    const auto keys = Live("key_pickup");
    const auto hearts = Live("heart_pickup");
    ASSERT_EQ(souls.size(), 1u);
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(hearts.size(), 1u);
    ExpectAt(*souls.front(), coinAt, -1.0f);
    ExpectAt(*keys.front(), keyAt, -1.0f);
    ExpectAt(*hearts.front(), heartAt, -1.0f);
}

TEST_F(ContactEffects, ABrokenBlockAndAHurtPlayerShowTheirEffects)
{
    // Rising into a block just above the head breaks it: the effect stands at the block.
    const Qel::Vector3<float> blockAt{0.0f, 200.0f, 0.0f};
    auto tile = std::make_unique<BreakableTile>("block");
    tile->SetTag("BreakableBlock");
    tile->GetTransform().SetPosition(blockAt);
    GameObject* block = Add(std::move(tile));
    myRig.Controller().OnContact(PlayerController::SIDE_GROUND);
    myRig.Tap(KEY_SPACE);
    ASSERT_TRUE(myRig.Controller().IsRising());
    ASSERT_TRUE(myRig.Controller().IsFacingRight());
    myRig.PlaceAt(0.0f, 0.0f);
    myBody->Update(0.0f);
    HandleBreakableBlockContact(myRig.Controller(), {block});
    const auto debris = Live("block_destroy");
    ASSERT_EQ(debris.size(), 1u);
    ExpectAt(*debris.front(), blockAt, 1.0f);

    // Walking into an enemy's side: the hit shows at the player, once per hit point lost.
    myRig.PlaceAt(100.0f, 0.0f);
    myBody->Update(0.0f);
    auto enemy = std::make_unique<GameObject>("Schnoz_II");
    enemy->SetTag("Schnoz_II");
    enemy->GetTransform().SetPosition({150.0f, 50.0f, 0.0f});
    enemy->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{100.0f, 100.0f, 100.0f},
                                              Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false, true);
    enemy->AddComponent<SchnozController>();
    GameObject* schnoz = Add(std::move(enemy));
    ASSERT_TRUE(HandleSchnozContact(myRig.Controller(), *schnoz));
    ASSERT_EQ(myHealth->GetHp(), 1);
    auto hits = Live("player_hit");
    ASSERT_EQ(hits.size(), 1u);
    ExpectAt(*hits.front(), {100.0f, 0.0f, 0.0f}, 1.0f);
    // Still invulnerable: no hit point lost, no second effect.
    ASSERT_TRUE(HandleSchnozContact(myRig.Controller(), *schnoz));
    EXPECT_EQ(myHealth->GetHp(), 1);
    EXPECT_EQ(Live("player_hit").size(), 1u);
}
} // namespace
