// The fog component: the level's fog profile, its "[Fog] " lines, and the shared fog settings that
// outlast the level.
#include "Camera/FogComponent.h"
#include "Objects/GameObject.h"
#include "ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
constexpr const char* FOLDER = "fog_profiles";

class FogProfiles : public QelTest::ProfileFolderFixture
{
protected:
    void SetUp() override
    {
        ProfileFolderFixture::SetUp();
        FogComponent::SetSettings(FogSettings());
    }

    void TearDown() override
    {
        FogComponent::SetSettings(FogSettings());
        FogComponent::SetCurrentSceneName("");
        ProfileFolderFixture::TearDown();
    }

    // Starts a "Fog" object in the named level, as a scene load does, and returns what was logged.
    std::string StartFog(const std::string& aScenePath)
    {
        FogComponent::SetCurrentSceneName(aScenePath);
        myObject = std::make_unique<GameObject>("Fog");
        myObject->SetTag("Fog");
        myFog = myObject->AddComponent<FogComponent>();
        myFog->SetColor({0.9f, 0.8f, 0.7f, 1.0f});
        myFog->SetPlanes(11.0f, 22.0f);
        testing::internal::CaptureStdout();
        myObject->Start(nullptr);
        return testing::internal::GetCapturedStdout();
    }

    std::unique_ptr<GameObject> myObject;
    FogComponent* myFog = nullptr;
};

TEST_F(FogProfiles, TheLevelsProfileColoursTheSharedFog)
{
    const std::filesystem::path path = WriteProfile(
        FOLDER, "L_World2_Level1.json",
        R"({"colorR": 0.25, "colorG": 0.5, "colorB": 0.75, "nearPlane": 5000, "farPlane": 30000})");
    EXPECT_EQ(StartFog("levels/L_World2_Level1.vks"),
              "[Fog] Loaded shared fog profile from " + path.string() + "\n");
    EXPECT_EQ(FogComponent::GetSettings(), (FogSettings{0.25f, 0.5f, 0.75f, 5000.0f, 30000.0f}));
    EXPECT_EQ(myFog->GetColor(), (Qel::Color{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(myFog->GetNearPlane(), 5000.0f);
    EXPECT_EQ(myFog->GetFarPlane(), 30000.0f);
}

TEST_F(FogProfiles, KeysThatAreAbsentOrNoNumbersLeaveTheirValues)
{
    WriteProfile(FOLDER, "L_Partial.json", R"({"colorR": 0.1, "nearPlane": "500", "colorB": true})");
    StartFog("levels/L_Partial.vks");
    EXPECT_EQ(FogComponent::GetSettings(), (FogSettings{0.1f, 0.5f, 0.5f, 1000.0f, 100000.0f}));
    EXPECT_EQ(myFog->GetColor(), (Qel::Color{0.1f, 0.8f, 0.7f, 1.0f}));
    EXPECT_EQ(myFog->GetNearPlane(), 11.0f);
    // The scene's own values never reach the renderer.
    EXPECT_EQ(FogComponent::GetSettings().green, 0.5f);
}

TEST_F(FogProfiles, WithoutAProfileTheLastLevelsFogStays)
{
    WriteProfile(FOLDER, "L_First.json", R"({"colorG": 0.2, "farPlane": 9000})");
    StartFog("levels/L_First.vks");
    const FogSettings first = FogComponent::GetSettings();

    const std::string output = StartFog("levels/L_Second.vks");
    const std::filesystem::path primary = myFolder.GetPath() / "data/settings/fog_profiles/L_Second.json";
    EXPECT_EQ(output,
              "[Fog] No shared fog profile found. Checked: " + primary.string() +
                  " and Bin/settings/fog_profiles/L_Second.json\n[Fog] Using in-memory fog defaults\n");
    EXPECT_EQ(FogComponent::GetSettings(), first);
}

TEST_F(FogProfiles, TheFirstLevelWithoutAProfileIsGreyFrom1000To100000)
{
    Qel::ResetSettings();
    const std::string output = StartFog("");
    // Without an asset root both candidates are the same file, named once.
    EXPECT_EQ(output,
              "[Fog] No shared fog profile found. Checked: Bin/settings/fog_profiles/default_scene.json\n"
              "[Fog] Using in-memory fog defaults\n");
    EXPECT_EQ(FogComponent::GetSettings(), (FogSettings{0.5f, 0.5f, 0.5f, 1000.0f, 100000.0f}));
}

TEST_F(FogProfiles, AnUnreadableProfileIsReportedAndChangesNothing)
{
    const std::filesystem::path path = WriteProfile(FOLDER, "L_Broken.json", R"({"colorR": 0.1,)");
    EXPECT_EQ(StartFog("levels/L_Broken.vks"), "[Fog] Failed to parse shared fog profile file: " +
                                                   path.string() + "\n[Fog] Using in-memory fog defaults\n");
    EXPECT_EQ(FogComponent::GetSettings(), FogSettings());

    const std::filesystem::path list = WriteProfile(FOLDER, "L_List.json", "[0.1, 0.2]");
    EXPECT_EQ(StartFog("levels/L_List.vks"), "[Fog] Loaded shared fog profile from " + list.string() + "\n");
    EXPECT_EQ(FogComponent::GetSettings(), FogSettings());
}

TEST_F(FogProfiles, TheFallbackFolderServesWhenThePrimaryLacksTheFile)
{
    WriteFallbackProfile(FOLDER, "L_Elsewhere.json", R"({"nearPlane": 2500})");
    EXPECT_EQ(StartFog("levels/L_Elsewhere.vks"),
              "[Fog] Loaded shared fog profile from Bin/settings/fog_profiles/L_Elsewhere.json\n");
    EXPECT_EQ(FogComponent::GetSettings().nearPlane, 2500.0f);
}
} // namespace
