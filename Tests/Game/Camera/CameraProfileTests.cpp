// Camera profiles: the limits every profile is held to, and reading the shared and per-level files.
#include "Camera/CameraController.h"
#include "Camera/CameraProfile.h"
#include "Camera/ProfileFolders.h"
#include "ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
constexpr const char* FOLDER = "camera_profiles";

TEST(CameraProfileSanitise, HoldsFovPlanesAndDistancesToTheirLimits)
{
    CameraProfile profile;
    profile.followFovRadians = 0.01f;
    profile.nearPlane = -5.0f;
    profile.farPlane = 0.0f;
    profile.horizontalPadding = -4.0f;
    profile.verticalPadding = -1.0f;
    profile.directionSwitchSpeedThreshold = -60.0f;
    const CameraProfile held = SanitiseCameraProfile(profile);
    EXPECT_FLOAT_EQ(held.followFovRadians, 0.34906584f);
    EXPECT_FLOAT_EQ(held.farPlane, 1.0f);
    EXPECT_FLOAT_EQ(held.nearPlane, 0.001f);
    EXPECT_EQ(held.horizontalPadding, 0.0f);
    EXPECT_EQ(held.verticalPadding, 0.0f);
    EXPECT_EQ(held.directionSwitchSpeedThreshold, 0.0f);
}

TEST(CameraProfileSanitise, KeepsTheFarPlaneBeyondTheNearOneWhereAThousandthIsBelowAFloatStep)
{
    CameraProfile far;
    far.nearPlane = 300000.0f;
    far.farPlane = 300000.0f;
    const CameraProfile held = SanitiseCameraProfile(far);
    EXPECT_FLOAT_EQ(held.farPlane, 200000.0f);
    EXPECT_LT(held.nearPlane, held.farPlane);
}

TEST(LevelProfileName, IsTheStemOfTheLevelPathOrDefaultScene)
{
    EXPECT_EQ(GetLevelProfileName("levels/L_World1_Level1.vks"), "L_World1_Level1");
    EXPECT_EQ(GetLevelProfileName("levels/L_World3_BonusLevel"), "L_World3_BonusLevel");
    EXPECT_EQ(GetLevelProfileName("levels\\L_World2_Level2.vks"), "L_World2_Level2");
    EXPECT_EQ(GetLevelProfileName(""), "default_scene");
    EXPECT_EQ(GetLevelProfileName("levels/"), "default_scene");
}

TEST(ProfileDirectory, IsTheFallbackFolderWithoutAnAssetRoot)
{
    Qel::ResetSettings();
    EXPECT_EQ(GetProfileDirectory(FOLDER), std::filesystem::path("Bin/settings/camera_profiles"));
}

class CameraProfileFiles : public QelTest::ProfileFolderFixture
{
protected:
    void WriteShared(const std::string& aText) { WriteProfile(FOLDER, "global_default.json", aText); }

    // Loads with the level name set, and returns what was written to standard output meanwhile.
    std::string Load(const std::string& aLevel = "levels/L_Test.vks")
    {
        myCamera.SetLevelName(aLevel);
        testing::internal::CaptureStdout();
        myCamera.LoadProfiles();
        return testing::internal::GetCapturedStdout();
    }

    const CameraProfile& Mode(int aMode) const
    {
        return myCamera.GetProfiles().modes[static_cast<std::size_t>(aMode)];
    }

    CameraController myCamera;
};

TEST_F(CameraProfileFiles, ThePrimaryFolderIsBesideTheAssetRootEvenWithATrailingSlash)
{
    EXPECT_EQ(GetProfileDirectory(FOLDER), myFolder.GetPath() / "data/settings/camera_profiles");
}

TEST_F(CameraProfileFiles, ActiveModeIsLowerCasedAndAnyOtherWordIsHorizontal)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"activeMode": "VERTICAL", "modes": {"horizontal": {"lerpSpeed": 3},
                    "vertical": {"lerpSpeed": 9, "followFovRadians": 0.75}}})");
    EXPECT_EQ(Load(), "");
    EXPECT_EQ(myCamera.GetProfiles().activeMode, CAMERA_MODE_VERTICAL);
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 9.0f);
    EXPECT_FLOAT_EQ(myCamera.GetCurrentFov(), 0.75f);

    // Another type is reported and leaves the mode.
    WriteShared(R"({"activeMode": 0})");
    EXPECT_NE(Load().find("[Camera] "), std::string::npos);
    EXPECT_EQ(myCamera.GetProfiles().activeMode, CAMERA_MODE_VERTICAL);

    WriteShared(R"({"activeMode": "Sideways"})");
    Load();
    EXPECT_EQ(myCamera.GetProfiles().activeMode, CAMERA_MODE_HORIZONTAL);
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 3.0f);
}

TEST_F(CameraProfileFiles, TheBloodSeaProfileIsTheActiveModeWithItsOwnOverrides)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"modes": {"horizontal": {"lerpSpeed": 4, "verticalPadding": 10}}})");
    Load();
    EXPECT_EQ(myCamera.GetProfiles().bloodSeaProfile, Mode(CAMERA_MODE_HORIZONTAL));
    EXPECT_TRUE(myCamera.GetProfiles().bloodSeaProfileLoaded);

    WriteShared(R"({"modes": {"horizontal": {"lerpSpeed": 4}}, "bloodseaMode": {"lerpSpeed": 10}})");
    Load();
    CameraProfile expected = Mode(CAMERA_MODE_HORIZONTAL);
    expected.lerpSpeed = 10.0f;
    EXPECT_EQ(myCamera.GetProfiles().bloodSeaProfile, expected);

    myCamera.EnterBloodSeaMode();
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 10.0f);
    myCamera.ExitBloodSeaMode();
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 4.0f);
}

TEST_F(CameraProfileFiles, EnteringBloodSeaModeTwiceAppliesTheProfileOnce)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"bloodseaMode": {"followCameraEnabled": false}})");
    Load();
    myCamera.EnterBloodSeaMode();
    EXPECT_FALSE(myCamera.IsFollowEnabled());
    // A snap turns following on; only applying the profile again would turn it off.
    myCamera.SnapToPlayer({0.0f, 0.0f, 0.0f});
    myCamera.EnterBloodSeaMode();
    EXPECT_TRUE(myCamera.IsFollowEnabled());
    myCamera.ExitBloodSeaMode();
    myCamera.ExitBloodSeaMode();
    EXPECT_FALSE(myCamera.IsInBloodSeaMode());
}

TEST_F(CameraProfileFiles, LevelFilesReadOnlyBoundsAndPlanes)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"modes": {"horizontal": {"lerpSpeed": 4, "followFovRadians": 0.6}}})");
    WriteProfile(
        FOLDER, "L_Test.json",
        R"({"activeMode": "vertical", "modes": {"horizontal": {"lerpSpeed": 99, "followFovRadians": 1.0,
                     "cameraBoundsEnabled": true, "cameraBoundsMin": [0, -500, -6000],
                     "cameraBoundsMax": [20000, 3000, 0], "nearPlane": 1000, "farPlane": 30000}}})");
    Load();
    const CameraProfile& live = myCamera.GetLiveSettings();
    EXPECT_EQ(myCamera.GetProfiles().activeMode, CAMERA_MODE_HORIZONTAL);
    EXPECT_FLOAT_EQ(live.lerpSpeed, 4.0f);
    EXPECT_FLOAT_EQ(live.followFovRadians, 0.6f);
    EXPECT_TRUE(live.cameraBoundsEnabled);
    EXPECT_EQ(live.cameraBoundsMin, (Qel::Vector3<float>{0.0f, -500.0f, -6000.0f}));
    EXPECT_EQ(live.cameraBoundsMax, (Qel::Vector3<float>{20000.0f, 3000.0f, 0.0f}));
    EXPECT_FLOAT_EQ(myCamera.GetProjectionNearPlane(), 1000.0f);
    EXPECT_FLOAT_EQ(myCamera.GetProjectionFarPlane(), 30000.0f);
    // The blood sea takes the bounds but keeps its own planes.
    const CameraProfile& bloodSea = myCamera.GetProfiles().bloodSeaProfile;
    EXPECT_EQ(bloodSea.cameraBoundsMax, live.cameraBoundsMax);
    EXPECT_FLOAT_EQ(bloodSea.nearPlane, 1500.0f);
    EXPECT_FLOAT_EQ(bloodSea.farPlane, 20000.0f);
}

TEST_F(CameraProfileFiles, BoundsOfTheInactiveModeLeaveTheBloodSeaWithTheActiveOnes)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"activeMode": "horizontal", "modes": {"horizontal": {"cameraBoundsMax": [1, 2, 3]}}})");
    WriteProfile(FOLDER, "L_Test.json",
                 R"({"modes": {"vertical": {"cameraBoundsEnabled": true, "cameraBoundsMax": [9, 9, 9]}}})");
    Load();
    EXPECT_EQ(Mode(CAMERA_MODE_VERTICAL).cameraBoundsMax, (Qel::Vector3<float>{9.0f, 9.0f, 9.0f}));
    EXPECT_TRUE(Mode(CAMERA_MODE_VERTICAL).cameraBoundsEnabled);
    EXPECT_EQ(myCamera.GetProfiles().bloodSeaProfile.cameraBoundsMax,
              (Qel::Vector3<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_FALSE(myCamera.GetProfiles().bloodSeaProfile.cameraBoundsEnabled);
}

TEST_F(CameraProfileFiles, ShortVectorsAndValuesOfAnotherTypeLeaveTheFieldAsItWas)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"modes": {"horizontal": {"followOffset": [10, 20, 30, 40], "cameraBoundsMin": [1, 2, 3]},
                    "vertical": {"followOffset": [1, 2, 3]}}})");
    Load();
    WriteShared(R"({"modes": {"horizontal": {"followOffset": [5, 6], "cameraBoundsMin": ["1", 2, 3],
                    "lerpSpeed": "20", "followCameraEnabled": 0, "horizontalPadding": true},
                    "vertical": {"followOffset": 7}}})");
    Load();
    EXPECT_EQ(Mode(CAMERA_MODE_HORIZONTAL).followOffset, (Qel::Vector3<float>{10.0f, 20.0f, 30.0f}));
    EXPECT_EQ(Mode(CAMERA_MODE_HORIZONTAL).cameraBoundsMin, (Qel::Vector3<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_FLOAT_EQ(Mode(CAMERA_MODE_HORIZONTAL).lerpSpeed, 17.0f);
    EXPECT_TRUE(Mode(CAMERA_MODE_HORIZONTAL).followCameraEnabled);
    EXPECT_FLOAT_EQ(Mode(CAMERA_MODE_HORIZONTAL).horizontalPadding, 86.7f);
    EXPECT_EQ(Mode(CAMERA_MODE_VERTICAL).followOffset, (Qel::Vector3<float>{1.0f, 2.0f, 3.0f}));
}

TEST_F(CameraProfileFiles, LoadedValuesAreHeldToTheirLimits)
{
    myCamera.ResetToDefaults();
    WriteShared(
        R"({"autoCamFovRadians": 9, "modes": {"horizontal": {"followFovRadians": 3.0, "nearPlane": 50000,
                    "farPlane": 20000, "lerpSpeed": -3, "lookAheadDistance": -1, "cameraBoundsEnabled": true,
                    "cameraBoundsMin": [500, 0, 0], "cameraBoundsMax": [-500, 100, 100]}}})");
    Load();
    const CameraProfile& live = myCamera.GetLiveSettings();
    EXPECT_FLOAT_EQ(myCamera.GetCurrentFov(), 2.8012533f);
    EXPECT_FLOAT_EQ(myCamera.GetProjectionNearPlane(), 20000.0f - 0.001f);
    EXPECT_FLOAT_EQ(live.lerpSpeed, 0.01f);
    EXPECT_EQ(live.lookAheadDistance, 0.0f);
    EXPECT_FLOAT_EQ(myCamera.GetProfiles().autoCamFovRadians, 2.8012533f);
    // The profile as read keeps its values; only what the camera uses is held.
    EXPECT_FLOAT_EQ(Mode(CAMERA_MODE_HORIZONTAL).followFovRadians, 3.0f);

    // Reversed bounds clamp as if they were the right way round.
    myCamera.SnapToPlayer({2000.0f, 50.0f, 0.0f});
    EXPECT_FLOAT_EQ(myCamera.GetPosition().x, 500.0f);
    EXPECT_FLOAT_EQ(myCamera.GetPosition().z, 0.0f);
    myCamera.SnapToPlayer({-2000.0f, 50.0f, 4600.0f});
    EXPECT_FLOAT_EQ(myCamera.GetPosition().x, -500.0f);
    EXPECT_FLOAT_EQ(myCamera.GetPosition().z, 100.0f);
}

TEST_F(CameraProfileFiles, ValuesAFileDoesNotGiveKeepThoseOfTheLastLoad)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"modes": {"horizontal": {"lerpSpeed": 5, "verticalPadding": 12}}})");
    Load();
    const CameraProfile first = myCamera.GetLiveSettings();
    Load();
    EXPECT_EQ(myCamera.GetLiveSettings(), first);
    WriteShared(R"({"modes": {"horizontal": {"verticalPadding": 30}}})");
    Load();
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 5.0f);
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().verticalPadding, 30.0f);
}

TEST_F(CameraProfileFiles, FollowingTurnsByYawThenPitch)
{
    myCamera.ResetToDefaults();
    WriteShared(R"({"modes": {"horizontal": {"followYawRadians": 0.4, "followPitchRadians": 0.2}}})");
    Load();
    myCamera.UpdateFollow(1.0f / 64.0f, {0.0f, 0.0f, 0.0f});
    // Pitch after yaw, as one rotation: the z part is positive only in that order.
    const Qel::Quaternion rotation = myCamera.GetRotation();
    const float cosPitch = std::cos(0.1f);
    const float sinPitch = std::sin(0.1f);
    const float cosYaw = std::cos(0.2f);
    const float sinYaw = std::sin(0.2f);
    EXPECT_FLOAT_EQ(rotation.w, cosPitch * cosYaw);
    EXPECT_FLOAT_EQ(rotation.x, sinPitch * cosYaw);
    EXPECT_FLOAT_EQ(rotation.y, cosPitch * sinYaw);
    EXPECT_FLOAT_EQ(rotation.z, sinPitch * sinYaw);
}

TEST_F(CameraProfileFiles, AnEmptyLevelNameReadsDefaultScene)
{
    myCamera.ResetToDefaults();
    WriteProfile(FOLDER, "default_scene.json", R"({"modes": {"horizontal": {"nearPlane": 700}}})");
    Load("");
    EXPECT_FLOAT_EQ(myCamera.GetProjectionNearPlane(), 700.0f);
}

TEST_F(CameraProfileFiles, TheFallbackFolderIsUsedOnlyWhenThePrimaryLacksTheFile)
{
    myCamera.ResetToDefaults();
    WriteFallbackProfile(FOLDER, "global_default.json", R"({"modes": {"horizontal": {"lerpSpeed": 2}}})");
    WriteFallbackProfile(FOLDER, "L_Test.json", R"({"modes": {"horizontal": {"nearPlane": 800}}})");
    Load();
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 2.0f);
    EXPECT_FLOAT_EQ(myCamera.GetProjectionNearPlane(), 800.0f);

    WriteShared(R"({"modes": {"horizontal": {"lerpSpeed": 6}}})");
    Load();
    EXPECT_FLOAT_EQ(myCamera.GetLiveSettings().lerpSpeed, 6.0f);
    EXPECT_EQ(BuildProfilePath(FOLDER, "global_default.json"),
              myFolder.GetPath() / "data/settings/camera_profiles/global_default.json");
    EXPECT_EQ(BuildProfilePath(FOLDER, "L_Test.json"),
              std::filesystem::path("Bin/settings/camera_profiles/L_Test.json"));
}

TEST_F(CameraProfileFiles, UnreadableFilesAreReportedAndMissingOnesAreNot)
{
    myCamera.ResetToDefaults();
    EXPECT_EQ(Load(), "");

    // Comments are not json here.
    const std::filesystem::path shared =
        WriteProfile(FOLDER, "global_default.json", "{ // the shared file\n \"activeMode\": \"vertical\" }");
    const std::filesystem::path level = WriteProfile(FOLDER, "L_Test.json", R"({"modes": {"horizontal": )");
    EXPECT_EQ(Load(), "[Camera] Failed to parse shared camera profile file: " + shared.string() + "\n" +
                          "[Camera] Failed to parse level camera bounds file: " + level.string() + "\n");
    EXPECT_EQ(myCamera.GetProfiles().activeMode, CAMERA_MODE_HORIZONTAL);
    // The profile is applied even so.
    EXPECT_FLOAT_EQ(myCamera.GetCurrentFov(), 1.2217305f);
}
} // namespace
