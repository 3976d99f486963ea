// The camera and the fog as the world drives them: a level handed over with a stand-in player that
// runs right by itself, a camera profile with bounds and a fog profile for that level.
#include "Camera/FogComponent.h"
#include "Game/Support/StackStates.h"
#include "Menu/StateStack.h"
#include "ProfileFolderFixture.h"
#include "Session/LevelRegistry.h"
#include "Support/ManualCounter.h"
#include "World/GameWorld.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
// Moves its object a fixed step each update, whatever the frame's length.
class RunRight : public Component
{
public:
    void Update(float aDeltaTime) override
    {
        static_cast<void>(aDeltaTime);
        Qel::Transform& transform = GetOwner()->GetTransform();
        transform.SetPosition(transform.GetPosition() + Qel::Vector3<float>{25.0f, 0.0f, 0.0f});
    }
};

GameWorld::SceneObjects ImportRunLevel(const std::string& aScene)
{
    static_cast<void>(aScene);
    GameWorld::SceneObjects objects;
    auto player = std::make_unique<GameObject>("Player");
    player->SetTag("Player");
    player->AddComponent<RunRight>();
    objects.push_back(std::move(player));
    auto fog = std::make_unique<GameObject>("Fog");
    fog->SetTag("Fog");
    fog->AddComponent<FogComponent>();
    objects.push_back(std::move(fog));
    return objects;
}

class CameraInWorld : public QelTest::ProfileFolderFixture
{
protected:
    void SetUp() override
    {
        ProfileFolderFixture::SetUp();
        WriteProfile("camera_profiles", "global_default.json",
                     R"({"modes": {"horizontal": {"followOffset": [0, 500, -4000], "lookAheadDistance": 300,
                         "horizontalPadding": 100, "lerpSpeed": 8}}})");
        WriteProfile("camera_profiles", "L_Run.json",
                     R"({"modes": {"horizontal": {"cameraBoundsEnabled": true,
                         "cameraBoundsMin": [800, 0, -5000], "cameraBoundsMax": [2500, 3000, 0]}}})");
        WriteProfile("fog_profiles", "L_Run.json", R"({"colorR": 0.2, "nearPlane": 6000})");
        FogComponent::SetSettings(FogSettings());
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        myWorld.SetSceneImport(ImportRunLevel);
        myWorld.Init();
        GameTest::StackStates(myStack, 3);
    }

    void TearDown() override
    {
        static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest());
        LevelRegistry::GetInstance().SetCurrentScene("");
        FogComponent::SetSettings(FogSettings());
        FogComponent::SetCurrentSceneName("");
        ProfileFolderFixture::TearDown();
    }

    void Load(const std::string& aScene)
    {
        LevelRegistry::GetInstance().SetSceneRequest(aScene);
        testing::internal::CaptureStdout();
        Frame();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (myWorld.IsLoading() && std::chrono::steady_clock::now() < deadline)
        {
            // The load runs on a task in real time; the frames it takes do not matter.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            Frame();
        }
        myOutput = testing::internal::GetCapturedStdout();
        ASSERT_FALSE(myWorld.IsLoading()) << "the load did not finish";
    }

    // One world frame a sixtieth of a second after the last, whatever the machine's speed.
    void Frame()
    {
        myClock.Advance(1);
        myWorld.Update(myStack);
    }

    QelTest::ManualCounter myClock{60};
    GameWorld myWorld{myClock};
    StateStack myStack;
    std::string myOutput;
};

TEST_F(CameraInWorld, TheLevelsProfilesApplyAndTheCameraFollowsThePlayerIntoItsBounds)
{
    Load("levels/L_Run.vks");
    ASSERT_NE(myWorld.GetPlayer(), nullptr);
    EXPECT_NE(myOutput.find("[Fog] Loaded shared fog profile from "), std::string::npos) << myOutput;
    EXPECT_EQ(FogComponent::GetSettings(), (FogSettings{0.2f, 0.5f, 0.5f, 6000.0f, 100000.0f}));

    const CameraController& camera = myWorld.GetCamera();
    EXPECT_TRUE(camera.GetLiveSettings().cameraBoundsEnabled);
    // Snapped onto the player at the origin, then held by the bounds' left edge. The snap comes
    // before the level's profile is read, so the camera eases from the built-in distance to the
    // profile's.
    EXPECT_FLOAT_EQ(camera.GetPosition().x, 800.0f);
    EXPECT_LT(camera.GetPosition().z, -4000.0f);
    EXPECT_GT(camera.GetPosition().z, -4500.0f);

    float lastX = camera.GetPosition().x;
    for (int frame = 0; frame < 240; ++frame)
    {
        Frame();
        const float playerX = myWorld.GetPlayer()->GetTransform().GetPosition().x;
        ASSERT_LE(std::abs(playerX - camera.GetFocus().x), 100.0f + 0.01f) << "frame " << frame;
        ASSERT_GE(camera.GetPosition().x, lastX - 10.0f) << "frame " << frame;
        ASSERT_LE(camera.GetPosition().x, 2500.0f) << "frame " << frame;
        lastX = camera.GetPosition().x;
    }
    // The player ran on far past the level's right edge; the camera stopped there.
    EXPECT_GT(myWorld.GetPlayer()->GetTransform().GetPosition().x, 6000.0f);
    EXPECT_FLOAT_EQ(camera.GetPosition().x, 2500.0f);
    EXPECT_NEAR(camera.GetPosition().z, -4000.0f, 15.0f);
}
} // namespace
