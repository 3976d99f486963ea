// The level the collision scenarios play in: the world's own hand-over and frame at a fixed step, keys
// pressed on the world's input, the shipped player model and clips, and a small level of ground, a
// platform, a death height and two coins that tests extend with objects of their own.
#pragma once

#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Game/Player/PlayerTestRig.h"
#include "Game/Support/StackStates.h"
#include "Menu/StateStack.h"
#include "Rules/CollisionSystemComponent.h"
#include "Support/ManualCounter.h"
#include "Support/WorkingFolder.h"
#include "World/GameWorld.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace LevelPlayTest
{
using namespace PlayerTest;

inline std::unique_ptr<GameObject> MakeBox(const std::string& aTag, const Qel::Vector3<float>& aCentre,
                                           const Qel::Vector3<float>& aSize, bool aIsTrigger = false)
{
    auto object = std::make_unique<GameObject>(aTag);
    object->SetTag(aTag);
    object->GetTransform().SetPosition(aCentre);
    object->AddComponent<BoxColliderComponent>(aSize, Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, aIsTrigger,
                                               !aIsTrigger);
    return object;
}

inline std::unique_ptr<GameObject> MakeCoin(const std::string& aName, const Qel::Vector3<float>& aPosition)
{
    auto object = std::make_unique<GameObject>(aName);
    object->SetTag("Coin");
    object->GetTransform().SetPosition(aPosition);
    object->AddComponent<SphereColliderComponent>(30.0f, Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, true);
    return object;
}

class LevelPlay : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Qel::LoadSettings("Game")); }
    static void TearDownTestSuite() { Qel::ModelFactory::DestroyInstance(); }

    void SetUp() override
    {
        myWorld.Init();
        GameTest::StackStates(myStack, 3);
    }
    void TearDown() override { LevelRegistry::GetInstance().SetCurrentScene(""); }

    std::unique_ptr<GameObject> MakePlayer()
    {
        auto player = std::make_unique<GameObject>("Player");
        player->SetTag("Player");
        player->AddComponent<AnimatedMeshComponent>(PlayerAnimator::MODEL_PATH);
        auto* animator = player->AddComponent<PlayerAnimator>();
        animator->AddPlayerClips();
        ApplyDefaultTuning(*player->AddComponent<PlayerController>(nullptr, myNoPad));
        player->AddComponent<DamageableComponent>(2)->SetInvulnerabilityTime(2.5f);
        player->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{80.0f, 160.0f, 80.0f},
                                                   Qel::Vector3<float>{0.0f, 80.0f, 0.0f}, false, true);
        return player;
    }

    // Ground from x -1000 to 3000 with its top at 0, a platform at x 600..900 with its top at 300, a
    // death height of -500, a coin near the start and one far away that starts inactive.
    void LoadLevel(std::vector<std::unique_ptr<GameObject>> someExtras = {},
                   const std::string& aLevelPath = "levels/L_Test.vks")
    {
        GameWorld::SceneObjects objects;
        objects.push_back(MakePlayer());
        objects.push_back(MakeBox("Ground", {1000.0f, -100.0f, 0.0f}, {4000.0f, 200.0f, 400.0f}));
        objects.push_back(MakeBox("Platform", {750.0f, 270.0f, 0.0f}, {300.0f, 60.0f, 400.0f}));
        auto threshold = std::make_unique<GameObject>("Threshold");
        threshold->SetTag("WorldDeathThreshold");
        threshold->GetTransform().SetPosition({0.0f, -500.0f, 0.0f});
        objects.push_back(std::move(threshold));
        objects.push_back(MakeCoin("NearCoin", {300.0f, 60.0f, 0.0f}));
        auto far = MakeCoin("FarCoin", {2500.0f, 60.0f, 0.0f});
        far->SetActive(false);
        objects.push_back(std::move(far));
        for (auto& extra : someExtras)
        {
            objects.push_back(std::move(extra));
        }
        myWorld.ApplyLoadedScene(std::move(objects), aLevelPath);
        ASSERT_NE(myWorld.GetPlayer(), nullptr);
        myCollision = myWorld.GetObjects().front()->GetComponent<CollisionSystemComponent>();
        ASSERT_NE(myCollision, nullptr);
        GameObject* player = myWorld.GetPlayer();
        myController = player->GetComponent<PlayerController>();
        myHealth = player->GetComponent<DamageableComponent>();
        myBody = player->GetComponent<BoxColliderComponent>();
        ASSERT_TRUE(myController != nullptr && myHealth != nullptr && myBody != nullptr);
    }

    GameObject* Find(const std::string& aName) const
    {
        for (const auto& object : myWorld.GetObjects())
        {
            if (object->GetName() == aName)
            {
                return object.get();
            }
        }
        return nullptr;
    }
    void Step(int aCount = 1)
    {
        for (int i = 0; i < aCount; ++i)
        {
            myWorld.GetInput().Update();
            myWorld.StepLevel(DT);
        }
    }
    void Press(std::uint32_t aKey) { myWorld.GetInput().UpdateEvents(WM_KEYDOWN, aKey, 0); }
    void Release(std::uint32_t aKey) { myWorld.GetInput().UpdateEvents(WM_KEYUP, aKey, 0); }
    PlayerController& Controller() { return *myController; }
    DamageableComponent& Health() { return *myHealth; }
    Qel::Vector3<float> PlayerAt() const { return myWorld.GetPlayer()->GetTransform().GetPosition(); }
    void PlacePlayer(float aX, float aY)
    {
        myWorld.GetPlayer()->GetTransform().SetPosition({aX, aY, 0.0f});
        myBody->Update(0.0f);
    }

    QelTest::WorkingFolder myFolder;
    NoPad myNoPad;
    // Milliseconds; only frames through GameWorld::Update read it.
    QelTest::ManualCounter myClock{1000};
    GameWorld myWorld{myClock};
    StateStack myStack;
    CollisionSystemComponent* myCollision = nullptr;
    PlayerController* myController = nullptr;
    DamageableComponent* myHealth = nullptr;
    BoxColliderComponent* myBody = nullptr;
};
} // namespace LevelPlayTest
