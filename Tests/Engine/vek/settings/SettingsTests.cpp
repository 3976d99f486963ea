#include "SettingsFixture.h"
#include "vek/settings/DebugFeatures.h"

#include <gtest/gtest.h>

#include <string>

using QelTest::SettingsFixture;

namespace
{
constexpr const char* MINIMAL = R"({"window_settings": {"title": "Named"}})";

std::string WithWindow(const std::string& aWindowKeys, const std::string& aTopKeys = "")
{
    return R"({"window_settings": {"title": "T")" + (aWindowKeys.empty() ? "" : ", " + aWindowKeys) + "}" +
           (aTopKeys.empty() ? "" : ", " + aTopKeys) + "}";
}
} // namespace

using SettingsNames = SettingsFixture;

TEST_F(SettingsNames, ANameWithoutADotGetsJson)
{
    WriteSettings("Game.json", MINIMAL);
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().title, "Named");
    Qel::ResetSettings();
    EXPECT_TRUE(Qel::LoadSettings("Game.json"));
    EXPECT_EQ(Parameters().title, "Named");
}

TEST_F(SettingsNames, ANameWithADotIsUsedAsItStands)
{
    WriteSettings("my.settings.json", R"({"window_settings": {"title": "Wrong"}})");
    WriteSettings("my.settings", MINIMAL);
    EXPECT_TRUE(Qel::LoadSettings("my.settings"));
    EXPECT_EQ(Parameters().title, "Named");
}

TEST_F(SettingsNames, TheSampleFileLoadsToTheExpectedRecord)
{
    WriteSettings("Game.json", R"({
      "assets_path": { "engine": "data/engine", "game": "data/game", "cooked": "data/cooked" },
      "window_settings": {
        "title": "Morvane",
        "clear_color": { "r": 0.25, "g": 0.5, "b": 0.75, "a": 1.0 },
        "window_size": { "w": 1280, "h": 720 },
        "render_size": { "w": 1280, "h": 720 },
        "start_in_fullscreen": false, "start_maximized": true, "borderless": true
      },
      "enable_vsync": true,
      "debug_features": [ "Filewatcher" ],
      "multisampling": "Off"
    })");
    ASSERT_TRUE(Qel::LoadSettings("Game.json"));
    const Qel::EngineCreateParameters& p = Parameters();
    EXPECT_EQ(p.title, "Morvane");
    EXPECT_EQ(p.clearColor, Qel::Color(0.25f, 0.5f, 0.75f, 1.0f));
    EXPECT_EQ(p.windowSize, Qel::Vector2<std::uint32_t>(1280, 720));
    EXPECT_FALSE(p.startInFullscreen);
    EXPECT_TRUE(p.startMaximized);
    EXPECT_TRUE(p.borderless);
    EXPECT_TRUE(p.vsync);
    EXPECT_EQ(p.debugFeatures, Qel::DEBUG_FEATURE_FILEWATCHER);
    EXPECT_EQ(p.multisampling, 0u);
    EXPECT_EQ(Qel::GetEngineAssetRoot(), Folder() / "data" / "engine");
    EXPECT_EQ(Qel::GetGameAssetRoot(), Folder() / "data" / "game");
    EXPECT_EQ(Qel::GetCookedAssetRoot(), Folder() / "data" / "cooked");
}

using SettingsDebugFeatures = SettingsFixture;

TEST_F(SettingsDebugFeatures, NamesAddBitsAndAllOrNoneEndTheList)
{
    struct Case
    {
        const char* list;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {R"(["Fps", "All", "Mem"])", 511},
        {R"(["Filewatcher", "None", "Fps"])", 0},
        {R"(["Unknown"])", 0},
        {R"(["Fps", "Cpu", "Filewatcher"])", 1 | 8 | 32},
        {R"("Filewatcher")", 32},
        {R"([])", 0},
        {R"(["Drawcalls", "Unknown", "FpsGraph"])", 4 | 16},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.list);
        Qel::ResetSettings();
        WriteSettings("Game.json", WithWindow("", std::string(R"("debug_features": )") + c.list));
        EXPECT_TRUE(Qel::LoadSettings("Game"));
        EXPECT_EQ(Parameters().debugFeatures, c.bits);
    }
}

TEST_F(SettingsDebugFeatures, AFileWithoutTheKeyTurnsTheDefaultsOff)
{
    EXPECT_EQ(Parameters().debugFeatures, 3u);
    WriteSettings("Game.json", MINIMAL);
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().debugFeatures, 0u);
}

TEST_F(SettingsDebugFeatures, TheTestIsTrueForEveryMaskWhenAllNineBitsAreOn)
{
    EXPECT_TRUE(Qel::IsDebugFeatureOn(511, 0));
    EXPECT_TRUE(Qel::IsDebugFeatureOn(511 | 1024, 4096));
    EXPECT_FALSE(Qel::IsDebugFeatureOn(510, 1));
    EXPECT_TRUE(Qel::IsDebugFeatureOn(510, 2));
    EXPECT_TRUE(Qel::IsDebugFeatureOn(32, Qel::DEBUG_FEATURE_FILEWATCHER));
    EXPECT_FALSE(Qel::IsDebugFeatureOn(32, Qel::DEBUG_FEATURE_FPS));
    EXPECT_FALSE(Qel::IsDebugFeatureOn(0, 0));
}

TEST_F(SettingsDebugFeatures, MultisamplingNamesSetTheLevelAndOthersLeaveIt)
{
    WriteSettings("Game.json", WithWindow("", R"("multisampling": "Medium")"));
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().multisampling, 2u);
    WriteSettings("Game.json", WithWindow("", R"("multisampling": ["Ultra"])"));
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().multisampling, 2u);
    WriteSettings("Game.json", WithWindow("", R"("multisampling": ["High"])"));
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().multisampling, 3u);
    WriteSettings("Game.json", MINIMAL);
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().multisampling, 3u);
}

using SettingsSizes = SettingsFixture;

TEST_F(SettingsSizes, RenderSizeAloneSetsBoth)
{
    WriteSettings("Game.json", WithWindow(R"("render_size": {"w": 800, "h": 600})"));
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().windowSize, Qel::Vector2<std::uint32_t>(800, 600));
    EXPECT_EQ(Parameters().renderSize, Qel::Vector2<std::uint32_t>(800, 600));
}

TEST_F(SettingsSizes, WindowSizeAloneSetsBothAndTogetherTheyStayApart)
{
    WriteSettings("Game.json", WithWindow(R"("window_size": {"w": 1024, "h": 768})"));
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().renderSize, Qel::Vector2<std::uint32_t>(1024, 768));

    WriteSettings(
        "Game.json",
        WithWindow(R"("window_size": {"w": 1600, "h": 900}, "render_size": {"w": 1280, "h": 720})"));
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().windowSize, Qel::Vector2<std::uint32_t>(1600, 900));
    EXPECT_EQ(Parameters().renderSize, Qel::Vector2<std::uint32_t>(1280, 720));
}

TEST_F(SettingsSizes, NeitherKeepsTheSizes)
{
    Parameters().windowSize = {640, 480};
    Parameters().renderSize = {320, 240};
    WriteSettings("Game.json", MINIMAL);
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().windowSize, Qel::Vector2<std::uint32_t>(640, 480));
    EXPECT_EQ(Parameters().renderSize, Qel::Vector2<std::uint32_t>(320, 240));
}

TEST_F(SettingsSizes, ZeroNegativeHugeAndFractionalSizesAreRefused)
{
    const char* refused[] = {
        R"("window_size": {"w": 0, "h": 720})",
        R"("window_size": {"w": 1280, "h": -720})",
        R"("render_size": {"w": 4294967295, "h": 720})",
        R"("render_size": {"w": 18446744073709551615, "h": 720})",
        R"("window_size": {"w": 1280.5, "h": 720})",
        R"("window_size": {"w": 1280})",
        R"("window_size": [1280, 720])",
    };
    for (const char* keys : refused)
    {
        SCOPED_TRACE(keys);
        Qel::ResetSettings();
        WriteSettings("Game.json", WithWindow(std::string(keys) + R"(, "borderless": true)"));
        testing::internal::CaptureStdout();
        EXPECT_FALSE(Qel::LoadSettings("Game"));
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(Parameters().windowSize, Qel::Vector2<std::uint32_t>(1280, 720));
        EXPECT_EQ(Parameters().renderSize, Qel::Vector2<std::uint32_t>(1280, 720));
        EXPECT_TRUE(Parameters().borderless) << "the rest of the file is still read";
        EXPECT_NE(output.find("[Settings] "), std::string::npos) << output;
    }
}

TEST_F(SettingsSizes, ARefusedWindowSizeLetsAValidRenderSizeSetBoth)
{
    WriteSettings("Game.json",
                  WithWindow(R"("window_size": {"w": -1, "h": 5}, "render_size": {"w": 640, "h": 360})"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Parameters().windowSize, Qel::Vector2<std::uint32_t>(640, 360));
    EXPECT_EQ(Parameters().renderSize, Qel::Vector2<std::uint32_t>(640, 360));
}

using SettingsRoots = SettingsFixture;

TEST_F(SettingsRoots, RootsAreJoinedToTheExecutableFolderAndNormalised)
{
    WriteSettings("Game.json",
                  R"({"assets_path": {"engine": "content/./x/../engine", "game": "content\\game\\"},
                                  "window_settings": {"title": "T"}})");
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Qel::GetEngineAssetRoot(), Folder() / "content" / "engine");
    EXPECT_EQ(Qel::GetGameAssetRoot(), (Folder() / "content" / "game" / "").lexically_normal());
    EXPECT_TRUE(Qel::GetCookedAssetRoot().empty()) << "cooked is optional";
}

TEST_F(SettingsRoots, AnAbsoluteRootStandsByItself)
{
    WriteSettings("Game.json",
                  R"({"assets_path": {"engine": "/opt/qel/engine", "game": "game", "cooked": "/c"},
                                  "window_settings": {"title": "T"}})");
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Qel::GetEngineAssetRoot(), std::filesystem::path("/opt/qel/engine"));
    EXPECT_EQ(Qel::GetCookedAssetRoot(), std::filesystem::path("/c"));
    EXPECT_EQ(Qel::GetGameAssetRoot(), Folder() / "game");
}

TEST_F(SettingsRoots, AMissingGameRootIsReportedAndTheEngineRootKept)
{
    WriteSettings("Game.json", R"({"assets_path": {"engine": "e"}, "window_settings": {"title": "T"}})");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Qel::GetEngineAssetRoot(), Folder() / "e");
    EXPECT_TRUE(Qel::GetGameAssetRoot().empty());
    EXPECT_NE(output.find("\"game\" is missing"), std::string::npos) << output;
}

using SettingsFiles = SettingsFixture;

TEST_F(SettingsFiles, AMissingFileKeepsTheDefaultsAndSaysSo)
{
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game.json"));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Parameters().title, "Morvane");
    EXPECT_EQ(Parameters().debugFeatures, 3u);
    EXPECT_NE(output.find("[Settings] "), std::string::npos);
    EXPECT_NE(output.find((Folder() / "settings" / "Game.json").string()), std::string::npos) << output;
}

TEST_F(SettingsFiles, MalformedJsonGivesOneLineNamingTheFileAndTheDefaults)
{
    const std::filesystem::path file = WriteSettings("Game.json", R"({"window_settings": {"title": "Half")");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Parameters().title, "Morvane");
    EXPECT_EQ(Parameters().debugFeatures, 3u);
    EXPECT_EQ(output.rfind("[Settings] ", 0), 0u) << output;
    EXPECT_NE(output.find(file.string()), std::string::npos) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line";
}

TEST_F(SettingsFiles, WrongTypesAreReportedOnceAndTheRestIsRead)
{
    WriteSettings("Game.json", R"({"window_settings": {"clear_color": {"r": 1, "g": "x", "b": 0, "a": 1},
                                    "borderless": "yes", "start_maximized": true},
                                  "enable_vsync": 1, "debug_features": ["Fps", 7, "Filewatcher"]})");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
    for (const char* key :
         {"\"title\"", "\"clear_color\"", "\"borderless\"", "\"enable_vsync\"", "\"debug_features\""})
    {
        EXPECT_NE(output.find(key), std::string::npos) << key << " in " << output;
    }
    EXPECT_EQ(Parameters().title, "Morvane");
    EXPECT_EQ(Parameters().clearColor, Qel::EngineCreateParameters().clearColor);
    EXPECT_FALSE(Parameters().borderless);
    EXPECT_TRUE(Parameters().startMaximized);
    EXPECT_FALSE(Parameters().vsync);
    EXPECT_EQ(Parameters().debugFeatures, 1u | 32u);
}

TEST_F(SettingsFiles, ADocumentThatIsNoObjectOrLacksTheWindowSettingsIsReported)
{
    WriteSettings("Game.json", "[1, 2, 3]");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("not a JSON object"), std::string::npos);
    EXPECT_EQ(Parameters().debugFeatures, 3u);

    WriteSettings("Game.json", R"({"enable_vsync": true})");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("\"window_settings\" is missing"),
              std::string::npos);
    EXPECT_TRUE(Parameters().vsync);
}

TEST_F(SettingsFiles, AnEmptyTitleKeepsTheDefault)
{
    WriteSettings("Game.json", R"({"window_settings": {"title": ""}})");
    EXPECT_TRUE(Qel::LoadSettings("Game"));
    EXPECT_EQ(Parameters().title, "Morvane");
}

TEST_F(SettingsFiles, NestingBeyondTheBoundIsRefusedWithOneLineAndTheDefaults)
{
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::filesystem::path file = WriteSettings("Game.json", R"({"window_settings": {"title": "Deep"},
                                                                       "extra": )" +
                                                                      deep + "}");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Qel::LoadSettings("Game"));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Parameters().title, "Morvane");
    EXPECT_NE(output.find(file.string()), std::string::npos) << output;
    EXPECT_NE(output.find("deeper"), std::string::npos) << output;
    EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line";
}
