// The camera profiles the game ships, read from the run layout as the game reads them: every level
// has one, it loads without complaint, and it frames the player well at 16:9.
#include "Camera/CameraController.h"
#include "Camera/FogComponent.h"
#include "Support/ExecutableFolderFixture.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
const char* const LEVELS[] = {"L_World1_Level1", "L_World1_Level2",     "L_World2_Level1",
                              "L_World2_Level2", "L_World3_BonusLevel", "L_World3_Level1",
                              "L_World3_Level2", "L_World3_Level3",     "RenderTest"};

constexpr float TILE = 100.0f;
constexpr float PLAYER_HEIGHT = 150.0f;

class ShippedCameraProfiles : public testing::Test
{
protected:
    void SetUp() override
    {
        Qel::ResetSettings();
        ASSERT_TRUE(std::filesystem::exists(Qel::GetExecutableFolder() / "data/settings/camera_profiles"));
        Qel::LoadSettings("Game");
    }

    void TearDown() override { Qel::ResetSettings(); }
};

// How much of the player's plane the camera sees, for the settings in force.
struct View
{
    float width = 0.0f;
    float centreY = 0.0f;
    float halfHeight = 0.0f;
};

View ViewAtPlayerDepth(const CameraController& aCamera, const Qel::Vector3<float>& aPlayer)
{
    const CameraProfile& live = aCamera.GetLiveSettings();
    const float depth = aPlayer.z - aCamera.GetPosition().z;
    View view;
    view.width = 2.0f * depth * std::tan(aCamera.GetCurrentFov() / 2.0f);
    view.halfHeight = view.width / 2.0f * 9.0f / 16.0f;
    view.centreY = aCamera.GetPosition().y - depth * std::tan(live.followPitchRadians);
    return view;
}

void ExpectPlayerFramed(CameraController& aCamera, const std::string& aWhat)
{
    const Qel::Vector3<float> start{0.0f, 0.0f, 0.0f};
    aCamera.SnapToPlayer(start);
    const View view = ViewAtPlayerDepth(aCamera, start);
    EXPECT_GE(view.width, 20.0f * TILE) << aWhat;
    EXPECT_LE(view.width, 26.0f * TILE) << aWhat;
    // Feet and head on screen, with ground below them in the lower half.
    EXPECT_LT(view.centreY - view.halfHeight, -2.0f * TILE) << aWhat;
    EXPECT_GT(view.centreY + view.halfHeight, PLAYER_HEIGHT + 3.0f * TILE) << aWhat;
    EXPECT_GT(view.centreY, PLAYER_HEIGHT / 2.0f) << aWhat;
    const float playerX = start.x - aCamera.GetPosition().x;
    EXPECT_GT(playerX, -view.width / 2.0f + 2.0f * TILE) << aWhat;
    EXPECT_LT(playerX, view.width / 2.0f) << aWhat;
    EXPECT_LT(aCamera.GetProjectionNearPlane(), -aCamera.GetLiveSettings().followOffset.z) << aWhat;
}

TEST_F(ShippedCameraProfiles, EveryLevelLoadsQuietlyAndFramesThePlayer)
{
    for (const char* level : LEVELS)
    {
        CameraController camera;
        camera.ResetToDefaults();
        camera.SetLevelName(std::string("levels/") + level + ".vks");
        testing::internal::CaptureStdout();
        camera.LoadProfiles();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << level;
        EXPECT_TRUE(camera.IsFollowEnabled()) << level;
        EXPECT_EQ(camera.GetLiveSettings().cameraBoundsEnabled, std::string(level) != "RenderTest") << level;
        ExpectPlayerFramed(camera, level);

        camera.EnterBloodSeaMode();
        ExpectPlayerFramed(camera, std::string(level) + " with the blood sea");
        EXPECT_EQ(camera.GetLiveSettings().cameraBoundsMax,
                  camera.GetProfiles().GetActiveMode().cameraBoundsMax);
    }
}

TEST_F(ShippedCameraProfiles, EveryLevelHasAFogThatStartsBeyondThePlayer)
{
    for (const char* level : LEVELS)
    {
        FogComponent::SetSettings(FogSettings());
        FogComponent::SetCurrentSceneName(std::string("levels/") + level + ".vks");
        FogComponent fog;
        testing::internal::CaptureStdout();
        fog.LoadSharedProfile();
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output.rfind("[Fog] Loaded shared fog profile from ", 0), 0u) << output;

        CameraController camera;
        camera.ResetToDefaults();
        camera.SetLevelName(std::string("levels/") + level + ".vks");
        camera.LoadProfiles();
        const FogSettings& settings = FogComponent::GetSettings();
        for (const float channel : {settings.red, settings.green, settings.blue})
        {
            EXPECT_GE(channel, 0.0f) << level;
            EXPECT_LE(channel, 1.0f) << level;
        }
        // The playfield stays clear; the fog is complete before the far plane cuts the scenery off.
        EXPECT_GT(settings.nearPlane, -camera.GetLiveSettings().followOffset.z) << level;
        EXPECT_LT(settings.nearPlane, settings.farPlane) << level;
        EXPECT_LE(settings.farPlane, camera.GetProjectionFarPlane()) << level;
    }
    FogComponent::SetSettings(FogSettings());
    FogComponent::SetCurrentSceneName("");
}
} // namespace
