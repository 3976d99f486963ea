#include "Camera/CameraController.h"
#include "Camera/FogComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Level/HoverSystem.h"
#include "Rules/CollisionSystemComponent.h"
#include "World/SceneComposer.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct Tally
{
    int starts = 0;
    int destroyed = 0;
};

// Counts how often its object is started and whether it was destroyed.
class Witness : public Component
{
public:
    explicit Witness(Tally& aTally) : myTally(aTally) {}
    ~Witness() override { ++myTally.destroyed; }
    void Init(Qel::Engine* anEngine) override
    {
        static_cast<void>(anEngine);
        ++myTally.starts;
    }

private:
    Tally& myTally;
};

class Composer : public testing::Test
{
protected:
    std::unique_ptr<GameObject> Make(const std::string& aName, const std::string& aTag,
                                     Tally* aTally = nullptr)
    {
        auto object = std::make_unique<GameObject>(aName);
        object->SetTag(aTag);
        object->GetTransform().SetPosition({40.0f, 50.0f, 0.0f});
        if (aTally != nullptr)
        {
            object->AddComponent<Witness>(*aTally);
        }
        return object;
    }
    ComposeResult Compose(std::vector<std::unique_ptr<GameObject>>& aLoaded)
    {
        return SceneComposer::ComposeLoadedScene(aLoaded, myComposer);
    }

    std::vector<std::unique_ptr<GameObject>> myObjects;
    CameraController myCamera;
    HoverSystem myHover;
    SceneComposer myComposer{nullptr, &myCamera, &myHover, &myObjects};
};

TEST_F(Composer, TheFirstPlayerIsKeptAtTheOriginAndASecondIsDroppedUnstarted)
{
    Tally first;
    Tally second;
    Tally ground;
    std::vector<std::unique_ptr<GameObject>> loaded;
    loaded.push_back(Make("P1", "Player", &first));
    loaded.push_back(Make("Ground", "Ground", &ground));
    loaded.push_back(Make("P2", "Player", &second));
    const ComposeResult result = Compose(loaded);

    ASSERT_NE(result.player, nullptr);
    EXPECT_EQ(result.player->GetName(), "P1");
    EXPECT_TRUE(result.player->IsPersistent());
    EXPECT_EQ(result.player->GetTransform().GetPosition(), (Qel::Vector3<float>{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(myComposer.GetPlayer(), result.player);
    EXPECT_EQ(first.starts, 1);
    EXPECT_EQ(ground.starts, 1);
    EXPECT_EQ(second.starts, 0);
    EXPECT_EQ(second.destroyed, 1) << "the second player goes with the loaded list";
    EXPECT_TRUE(loaded.empty());
    ASSERT_EQ(myObjects.size(), 2u);

    // The next level keeps this player: the new scene's player is dropped, the kept one moved home.
    result.player->GetTransform().SetPosition({900.0f, 20.0f, 0.0f});
    Tally third;
    std::vector<std::unique_ptr<GameObject>> next;
    next.push_back(Make("P3", "Player", &third));
    const ComposeResult again = Compose(next);
    EXPECT_EQ(again.player, result.player);
    EXPECT_EQ(third.starts, 0);
    EXPECT_EQ(third.destroyed, 1);
    EXPECT_EQ(first.starts, 1) << "a kept player is not started again";
    EXPECT_EQ(result.player->GetTransform().GetPosition(), (Qel::Vector3<float>{0.0f, 0.0f, 0.0f}));
}

TEST_F(Composer, FindsTheSceneCameraBossEyeBirgilSeaAndLocks)
{
    std::vector<std::unique_ptr<GameObject>> loaded;
    loaded.push_back(Make("VKO_Cam", "Untagged"));
    loaded.push_back(Make("Main_VKO_Camera_01", "Untagged"));
    loaded.push_back(Make("Boss", "Boss"));
    loaded.push_back(Make("Eye", "EyeInTheSky"));
    loaded.push_back(Make("Birgil", "Birgil"));
    loaded.push_back(Make("Sea", "BloodSea"));
    loaded.push_back(Make("LockA", "LockCamTrigger"));
    loaded.push_back(Make("LockB", "LockCamTrigger"));
    const ComposeResult result = Compose(loaded);
    ASSERT_NE(result.sceneCamera, nullptr);
    EXPECT_EQ(result.sceneCamera->GetName(), "Main_VKO_Camera_01");
    ASSERT_NE(result.bloodSea, nullptr);
    EXPECT_EQ(result.bloodSea->GetName(), "Sea");
    EXPECT_EQ(result.player, nullptr);
    const SpecialObjectLinks& links = myComposer.GetLastLinks();
    ASSERT_NE(links.boss, nullptr);
    EXPECT_EQ(links.boss->GetName(), "Boss");
    ASSERT_NE(links.eye, nullptr);
    EXPECT_EQ(links.eye->GetName(), "Eye");
    ASSERT_NE(links.birgil, nullptr);
    EXPECT_EQ(links.birgil->GetName(), "Birgil");
    ASSERT_EQ(links.lockTriggers.size(), 2u);
    EXPECT_EQ(links.lockTriggers[1]->GetName(), "LockB");

    std::vector<std::unique_ptr<GameObject>> short_name;
    short_name.push_back(Make("VKO_Camera", "Untagged"));
    EXPECT_NE(Compose(short_name).sceneCamera, nullptr) << "ten characters are enough";
}

TEST_F(Composer, HandsTheCollisionSystemItsPlayerAndResetsIt)
{
    auto system = std::make_unique<GameObject>("CollisionSystem");
    auto* collision = system->AddComponent<CollisionSystemComponent>();
    system->Start(nullptr);
    myObjects.push_back(std::move(system));
    collision->UseDefaultRankSystem();

    std::vector<std::unique_ptr<GameObject>> loaded;
    loaded.push_back(Make("P", "Player"));
    loaded.push_back(Make("Coin", "Coin"));
    const ComposeResult result = Compose(loaded);
    EXPECT_EQ(collision->GetPlayer(), result.player);
    EXPECT_EQ(collision->GetRankSystem(), nullptr) << "reset for the level";
    EXPECT_TRUE(collision->HasSnapshot()) << "the coin is remembered";
}

TEST_F(Composer, AKeptPlayersMeshFollowsTheLevelsFog)
{
    std::vector<std::unique_ptr<GameObject>> loaded;
    auto player = Make("P", "Player");
    auto* mesh = player->AddComponent<AnimatedMeshComponent>("Player.fbx");
    mesh->SetRenderMode(2);
    loaded.push_back(std::move(player));
    Compose(loaded);
    EXPECT_EQ(mesh->GetRenderMode(), 0) << "no fog in the level: the default shader";

    // The next level has fog: the kept player takes the fog shaders.
    testing::internal::CaptureStdout(); // the fog's profile is looked for and reported
    loaded.push_back(Make("Fog", "Fog"));
    loaded.back()->AddComponent<FogComponent>();
    Compose(loaded);
    EXPECT_EQ(mesh->GetRenderMode(), 3);
    EXPECT_EQ(mesh->GetCustomVertexShader(), "shaders/fog_shader_animated_vs");
    EXPECT_EQ(mesh->GetCustomPixelShader(), "shaders/fog_shader_ps");

    // The last "Fog" object decides: one without a fog component leaves the level without fog.
    loaded.push_back(Make("Fog", "Fog"));
    loaded.back()->AddComponent<FogComponent>();
    loaded.push_back(Make("Fog", "Fog"));
    Compose(loaded);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(mesh->GetRenderMode(), 0);

    mesh->SetRenderMode(2);
    std::vector<std::unique_ptr<GameObject>> empty;
    Compose(empty);
    EXPECT_EQ(mesh->GetRenderMode(), 0) << "an empty scene too";
}
} // namespace
