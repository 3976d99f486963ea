// "settings/UISettings.json" as shipped: every key the menus read, with the type they read, a layout
// that works on the screens the game runs on, and every picture it names loading through the engine's
// DDS reader with the look its place needs (opaque screens, clear-middled highlight, clear-cornered
// buttons).
#include "Art2dContent.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

using nlohmann::json;

namespace
{
enum class Kind
{
    Pair,
    Text,
    Number,
    Integer,
    Object,
};

struct Key
{
    std::string path;
    Kind kind;
};

// Every key a menu reads from the file, with what it reads there.
std::vector<Key> KeysTheMenusRead()
{
    std::vector<Key> keys = {
        {"/SelectHover/Sprite", Kind::Text},
        {"/SelectHover/Pivot", Kind::Pair},
        {"/SelectHover/Size", Kind::Pair},
        {"/DefaultButtonSettings/Position", Kind::Pair},
        {"/DefaultButtonSettings/Size", Kind::Pair},
        {"/DefaultButtonSettings/Sprite", Kind::Text},
        {"/MainMenuSettings/BackgroundSprite", Kind::Text},
        {"/MainMenuSettings/Title/Sprite", Kind::Text},
        {"/MainMenuSettings/Title/Position", Kind::Pair},
        {"/MainMenuSettings/Title/Size", Kind::Pair},
        {"/SplashSettings/FadeInSeconds", Kind::Number},
        {"/SplashSettings/HoldSeconds", Kind::Number},
        {"/SplashSettings/FadeOutSeconds", Kind::Number},
        {"/SplashSettings/DisplayHeightRatio", Kind::Number},
        {"/SplashSettings/Logo1", Kind::Text},
        {"/SplashSettings/Logo2", Kind::Text},
        {"/CreaditSettings/BackgroundSprite", Kind::Text},
        {"/CreaditSettings/Logo/Sprite", Kind::Text},
        {"/CreaditSettings/Logo/Position", Kind::Pair},
        {"/CreaditSettings/Logo/Size", Kind::Pair},
        {"/CreaditSettings/BackButton/Text", Kind::Text},
        {"/CreaditSettings/BackButton/Position", Kind::Pair},
        {"/CreaditSettings/BackButton/Size", Kind::Pair},
        {"/CreaditSettings/BackButton/Sprite", Kind::Text},
        {"/LevelSelectSettings/BackgroundSprite", Kind::Text},
        {"/LevelSelectSettings/TotalKeyText", Kind::Pair},
        {"/LevelSelectSettings/CurrentLevelIndicator/Sprite", Kind::Text},
        {"/LevelSelectSettings/CurrentLevelIndicator/Pivot", Kind::Pair},
        {"/LevelSelectSettings/CurrentLevelIndicator/Size", Kind::Pair},
        {"/LevelSelectSettings/CurrentLevelIndicator/Offset", Kind::Pair},
        {"/LevelSelectSettings/CurrentLevelIndicator/LerpSeconds", Kind::Number},
        {"/SettingsMenu/SettingContainer/Sprite", Kind::Text},
        {"/SettingsMenu/SettingContainer/Position", Kind::Pair},
        {"/SettingsMenu/SettingContainer/Size", Kind::Pair},
        {"/SettingsMenu/VolumeSlider/Position", Kind::Pair},
        {"/SettingsMenu/VolumeSlider/SliderSprite", Kind::Text},
        {"/SettingsMenu/VolumeSlider/SliderSize", Kind::Pair},
        {"/SettingsMenu/VolumeSlider/KnopSprite", Kind::Text},
        {"/SettingsMenu/VolumeSlider/KnopSize", Kind::Pair},
        {"/LevelEndResults/DefaultButtonSettings", Kind::Object},
        {"/LevelEndResults/BadThreshold", Kind::Integer},
        {"/LevelEndResults/OkThreshold", Kind::Integer},
        {"/LevelEndResults/ScoreCountUpSeconds", Kind::Number},
        {"/LevelEndResults/BadSprite", Kind::Text},
        {"/LevelEndResults/OkSprite", Kind::Text},
        {"/LevelEndResults/GoodSprite", Kind::Text},
        {"/LevelEndResults/ResultTextPosition", Kind::Pair},
        {"/LevelEndResults/ScoreTextPosition", Kind::Pair},
        {"/KeySettings/Position", Kind::Pair},
        {"/KeySettings/Size", Kind::Pair},
        {"/KeySettings/Spacing", Kind::Number},
        {"/KeySettings/KeySprite", Kind::Text},
        {"/KeySettings/KeyEmptySprite", Kind::Text},
    };
    // A button-like section: "Position" and "Size" pairs, a "Sprite" and, where a label is read, "Text".
    const auto addButton = [&keys](const std::string& aSection, bool aHasText)
    {
        keys.push_back({aSection + "/Position", Kind::Pair});
        keys.push_back({aSection + "/Size", Kind::Pair});
        keys.push_back({aSection + "/Sprite", Kind::Text});
        if (aHasText)
        {
            keys.push_back({aSection + "/Text", Kind::Text});
        }
    };
    for (const char* name : {"ButtonStart", "ButtonSettings", "ButtonCredits", "ButtonQuit"})
    {
        addButton(std::string("/MainMenuSettings/") + name, true);
    }
    for (const char* name :
         {"ButtonLevel_1_1", "ButtonLevel_1_2", "ButtonLevel_2_1", "ButtonLevel_2_2", "ButtonLevel_Bonus",
          "ButtonLevel_3_1", "ButtonLevel_3_2", "ButtonLevel_3_3", "ButtonLevel_RenderTest"})
    {
        addButton(std::string("/LevelSelectSettings/") + name, false);
    }
    for (const char* name : {"BackButton", "BackToTitleButton", "QuitButton"})
    {
        addButton(std::string("/SettingsMenu/") + name, false);
    }
    for (const char* name : {"NextLevelButton", "RetryButton", "ReturnToMenuButton"})
    {
        addButton(std::string("/LevelEndResults/") + name, true);
    }
    for (const char* name : {"MuteCheckBox", "FullScreenCheckBox"})
    {
        const std::string section = std::string("/SettingsMenu/") + name;
        keys.push_back({section + "/Position", Kind::Pair});
        keys.push_back({section + "/Size", Kind::Pair});
        keys.push_back({section + "/BoxSprite", Kind::Text});
        keys.push_back({section + "/CheckSprite", Kind::Text});
    }
    for (const char* name : {"CoinSettings", "HealthSettings"})
    {
        addButton(std::string("/") + name, false);
    }
    return keys;
}

bool HasKind(const json& aValue, Kind aKind)
{
    switch (aKind)
    {
    case Kind::Pair:
        return aValue.is_object() && aValue.contains("x") && aValue.contains("y") &&
               aValue["x"].is_number() && aValue["y"].is_number();
    case Kind::Text:
        return aValue.is_string();
    case Kind::Number:
        return aValue.is_number();
    case Kind::Integer:
        return aValue.is_number_integer();
    case Kind::Object:
        return aValue.is_object();
    }
    return false;
}

struct Rect
{
    float left;
    float bottom;
    float right;
    float top;
};

// A button's rectangle in pixels, as the menus place it: centred on "Position", sized by (W, H).
Rect ButtonRect(const json& aButton, float aWidth, float aHeight)
{
    const float x = aButton["Position"]["x"].get<float>() * aWidth;
    const float y = aButton["Position"]["y"].get<float>() * aHeight;
    const float w = aButton["Size"]["x"].get<float>() * aWidth;
    const float h = aButton["Size"]["y"].get<float>() * aHeight;
    return {x - w / 2, y - h / 2, x + w / 2, y + h / 2};
}

bool Overlap(const Rect& a, const Rect& b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

class UiSettingsContent : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string reason;
        const std::optional<json> document =
            Art2dTest::ReadJson(Art2dTest::RunFolder() / "settings" / "UISettings.json", &reason);
        ASSERT_TRUE(document.has_value()) << reason;
        mySettings = *document;
    }

    Platform::DdsImage Sprite(const std::string& aName)
    {
        std::string reason;
        Platform::DdsImage image =
            Art2dTest::ReadPicture(Art2dTest::GameAssetRoot() / "sprites" / aName, &reason);
        EXPECT_FALSE(image.IsEmpty()) << aName << ": " << reason;
        return image;
    }

    json mySettings;
};

// Every string value under these keys, anywhere in the file, names a file under "sprites/".
void CollectSpriteNames(const json& aValue, std::set<std::string>& someNames)
{
    static const std::set<std::string> SPRITE_KEYS = {
        "Sprite",    "BackgroundSprite", "SliderSprite", "KnopSprite", "BoxSprite", "CheckSprite",
        "KeySprite", "KeyEmptySprite",   "BadSprite",    "OkSprite",   "GoodSprite"};
    if (!aValue.is_object())
    {
        return;
    }
    for (const auto& [key, value] : aValue.items())
    {
        if (SPRITE_KEYS.contains(key) && value.is_string())
        {
            someNames.insert(value.get<std::string>());
        }
        CollectSpriteNames(value, someNames);
    }
}

// The screens the game lays out for: the framed window, full HD, and a 4:3 and a 21:9 monitor.
constexpr std::array<std::array<float, 2>, 4> SCREENS = {
    {{1600.0f, 900.0f}, {1920.0f, 1080.0f}, {1600.0f, 1200.0f}, {2560.0f, 1080.0f}}};
} // namespace

TEST_F(UiSettingsContent, HoldsEveryKeyTheMenusReadWithTheTypeTheyRead)
{
    for (const Key& key : KeysTheMenusRead())
    {
        const json::json_pointer pointer(key.path);
        ASSERT_TRUE(mySettings.contains(pointer)) << key.path << " is missing";
        EXPECT_TRUE(HasKind(mySettings.at(pointer), key.kind)) << key.path << " has the wrong type";
    }
    // The misspelt section and keys are the ones read; a corrected spelling would be ignored.
    EXPECT_FALSE(mySettings.contains("CreditSettings"));
    EXPECT_FALSE(mySettings["SettingsMenu"]["VolumeSlider"].contains("KnobSprite"));
}

TEST_F(UiSettingsContent, ValuesStayInsideTheRangesTheMenusAssume)
{
    const json& splash = mySettings["SplashSettings"];
    EXPECT_GE(splash["FadeInSeconds"].get<float>(), 0.0f);
    EXPECT_GE(splash["HoldSeconds"].get<float>(), 0.0f);
    EXPECT_GE(splash["FadeOutSeconds"].get<float>(), 0.0f);
    EXPECT_GE(splash["DisplayHeightRatio"].get<float>(), 0.1f);
    EXPECT_LE(splash["DisplayHeightRatio"].get<float>(), 1.0f);
    const json& results = mySettings["LevelEndResults"];
    EXPECT_LT(results["BadThreshold"].get<int>(), results["OkThreshold"].get<int>());
    EXPECT_GE(results["ScoreCountUpSeconds"].get<float>(), 0.01f);
    EXPECT_GE(mySettings["LevelSelectSettings"]["CurrentLevelIndicator"]["LerpSeconds"].get<float>(), 0.01f);
    // The slider asserts when its knob is not narrower than its track, on any screen shape.
    const json& slider = mySettings["SettingsMenu"]["VolumeSlider"];
    for (const auto& [w, h] : SCREENS)
    {
        EXPECT_LT(slider["KnopSize"]["x"].get<float>() * h, slider["SliderSize"]["x"].get<float>() * w)
            << w << "x" << h;
    }
}

TEST_F(UiSettingsContent, ButtonsOfOneScreenLieOnTheScreenAndApart)
{
    const std::vector<std::vector<std::string>> screens = {
        {"/MainMenuSettings/ButtonStart", "/MainMenuSettings/ButtonSettings",
         "/MainMenuSettings/ButtonCredits", "/MainMenuSettings/ButtonQuit"},
        {"/LevelSelectSettings/ButtonLevel_1_1", "/LevelSelectSettings/ButtonLevel_1_2",
         "/LevelSelectSettings/ButtonLevel_2_1", "/LevelSelectSettings/ButtonLevel_2_2",
         "/LevelSelectSettings/ButtonLevel_Bonus", "/LevelSelectSettings/ButtonLevel_3_1",
         "/LevelSelectSettings/ButtonLevel_3_2", "/LevelSelectSettings/ButtonLevel_3_3",
         "/LevelSelectSettings/ButtonLevel_RenderTest"},
        {"/SettingsMenu/BackButton", "/SettingsMenu/BackToTitleButton", "/SettingsMenu/QuitButton"},
        {"/LevelEndResults/NextLevelButton", "/LevelEndResults/RetryButton",
         "/LevelEndResults/ReturnToMenuButton"},
    };
    for (const auto& [w, h] : SCREENS)
    {
        for (const std::vector<std::string>& screen : screens)
        {
            std::vector<Rect> placed;
            for (const std::string& path : screen)
            {
                const Rect rect = ButtonRect(mySettings.at(json::json_pointer(path)), w, h);
                EXPECT_GE(rect.left, 0.0f) << path;
                EXPECT_GE(rect.bottom, 0.0f) << path;
                EXPECT_LE(rect.right, w) << path;
                EXPECT_LE(rect.top, h) << path;
                for (const Rect& other : placed)
                {
                    EXPECT_FALSE(Overlap(rect, other))
                        << path << " overlaps another button at " << w << "x" << h;
                }
                placed.push_back(rect);
            }
        }
    }
}

TEST_F(UiSettingsContent, EveryPictureNamedLoadsAsAnSrgbPictureWithItsMips)
{
    std::set<std::string> names;
    CollectSpriteNames(mySettings, names);
    // Names the menus fall back to when a key leaves them out.
    names.insert({"SM_ButtonSelect_T.dds", "S_MenuScreen_T.dds", "S_WorldMap_T.dds"});
    ASSERT_GE(names.size(), 30u);
    std::vector<std::filesystem::path> paths;
    for (const std::string& name : names)
    {
        paths.push_back(Art2dTest::GameAssetRoot() / "sprites" / name);
    }
    // The splash asks for "UI\" + name; on disk that is the "UI" folder.
    for (const char* key : {"Logo1", "Logo2"})
    {
        paths.push_back(Art2dTest::GameAssetRoot() / "UI" /
                        mySettings["SplashSettings"][key].get<std::string>());
    }
    for (const std::filesystem::path& path : paths)
    {
        std::string reason;
        const Platform::DdsImage image = Art2dTest::ReadPicture(path, &reason);
        ASSERT_FALSE(image.IsEmpty()) << path << ": " << reason;
        EXPECT_EQ(image.format, Platform::Gfx::Format::R8G8B8A8_UNORM_SRGB) << path;
        EXPECT_EQ(image.mipLevels, Art2dTest::FullMipCount(image.width, image.height)) << path;
    }
}

TEST_F(UiSettingsContent, FullScreenPicturesAreOpaqueEverywhere)
{
    // Drawn over the whole screen with nothing cleared below, a see-through pixel would show garbage.
    std::vector<std::filesystem::path> paths;
    for (const char* pointer : {"/MainMenuSettings/BackgroundSprite", "/CreaditSettings/BackgroundSprite",
                                "/LevelSelectSettings/BackgroundSprite", "/LevelEndResults/BadSprite",
                                "/LevelEndResults/OkSprite", "/LevelEndResults/GoodSprite"})
    {
        paths.push_back(Art2dTest::GameAssetRoot() / "sprites" /
                        mySettings.at(json::json_pointer(pointer)).get<std::string>());
    }
    for (const char* key : {"Logo1", "Logo2"})
    {
        paths.push_back(Art2dTest::GameAssetRoot() / "UI" /
                        mySettings["SplashSettings"][key].get<std::string>());
    }
    for (const std::filesystem::path& path : paths)
    {
        const Platform::DdsImage image = Art2dTest::ReadPicture(path);
        ASSERT_FALSE(image.IsEmpty()) << path;
        for (std::uint32_t y = 0; y < image.height; y += 7)
        {
            for (std::uint32_t x = 0; x < image.width; x += 7)
            {
                ASSERT_EQ(Art2dTest::AlphaAt(image, x, y), 255) << path << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(UiSettingsContent, OverlaidPicturesLeaveTheirEdgesClearAndTheHighlightItsMiddle)
{
    // The highlight is drawn over the chosen button: its middle must let the button's label through.
    const Platform::DdsImage highlight = Sprite(mySettings["SelectHover"]["Sprite"].get<std::string>());
    ASSERT_FALSE(highlight.IsEmpty());
    const std::uint32_t w = highlight.width;
    const std::uint32_t h = highlight.height;
    EXPECT_LT(Art2dTest::MaxAlphaIn(highlight, w * 3 / 8, h * 3 / 8, w * 5 / 8, h * 5 / 8), 16);
    EXPECT_GT(Art2dTest::MaxAlphaIn(highlight, 0, 0, w, h / 4), 200) << "the frame itself must show";
    // Buttons, icons and widgets sit over other pictures: their corners are clear, their middles solid.
    std::set<std::string> overlaid;
    for (const char* pointer :
         {"/MainMenuSettings/ButtonStart/Sprite", "/MainMenuSettings/ButtonQuit/Sprite",
          "/CreaditSettings/BackButton/Sprite", "/LevelSelectSettings/ButtonLevel_1_1/Sprite",
          "/LevelSelectSettings/ButtonLevel_Bonus/Sprite", "/SettingsMenu/BackButton/Sprite",
          "/SettingsMenu/SettingContainer/Sprite", "/LevelEndResults/RetryButton/Sprite",
          "/SettingsMenu/MuteCheckBox/BoxSprite", "/SettingsMenu/VolumeSlider/KnopSprite",
          "/CoinSettings/Sprite", "/HealthSettings/Sprite", "/KeySettings/KeySprite"})
    {
        overlaid.insert(mySettings.at(json::json_pointer(pointer)).get<std::string>());
    }
    for (const std::string& name : overlaid)
    {
        const Platform::DdsImage image = Sprite(name);
        ASSERT_FALSE(image.IsEmpty());
        const std::uint32_t iw = image.width;
        const std::uint32_t ih = image.height;
        for (const auto& [x, y] :
             {std::array<std::uint32_t, 2>{0, 0}, {iw - 1, 0}, {0, ih - 1}, {iw - 1, ih - 1}})
        {
            EXPECT_EQ(Art2dTest::AlphaAt(image, x, y), 0) << name << " corner " << x << "," << y;
        }
        EXPECT_GT(Art2dTest::MaxAlphaIn(image, iw * 2 / 5, ih * 2 / 5, iw * 3 / 5, ih * 3 / 5), 230) << name;
    }
}

TEST_F(UiSettingsContent, HudKeySlotsShareOneShapeAndAKnownAspect)
{
    // The HUD sizes both key slots from the filled key's height over width, so both pictures match
    // and the filled one has a size.
    const Platform::DdsImage key = Sprite(mySettings["KeySettings"]["KeySprite"].get<std::string>());
    const Platform::DdsImage empty = Sprite(mySettings["KeySettings"]["KeyEmptySprite"].get<std::string>());
    ASSERT_FALSE(key.IsEmpty());
    ASSERT_FALSE(empty.IsEmpty());
    EXPECT_GT(key.width, 0u);
    EXPECT_EQ(key.width, empty.width);
    EXPECT_EQ(key.height, empty.height);
}

TEST(SpeechBubbleContent, TheBubblePicturesLoadAndAnyDialogueFileNamesOnlyThose)
{
    const std::filesystem::path sprites = Art2dTest::GameAssetRoot() / "sprites";
    std::set<std::string> names = {"S_SpeechBubble_T.dds"};
    const std::filesystem::path dialogues = Art2dTest::RunFolder() / "settings" / "Dialogues.json";
    if (std::filesystem::exists(dialogues))
    {
        std::string reason;
        const std::optional<json> document = Art2dTest::ReadJson(dialogues, &reason);
        ASSERT_TRUE(document.has_value()) << reason;
        ASSERT_TRUE(document->contains("Bubble") && (*document)["Bubble"].is_string());
        names.insert((*document)["Bubble"].get<std::string>());
        for (const auto& [key, entry] : document->items())
        {
            if (entry.is_object() && entry.contains("BubbleSprite") && entry["BubbleSprite"].is_string())
            {
                names.insert(entry["BubbleSprite"].get<std::string>());
            }
        }
    }
    for (const std::string& name : names)
    {
        std::string reason;
        const Platform::DdsImage bubble = Art2dTest::ReadPicture(sprites / name, &reason);
        ASSERT_FALSE(bubble.IsEmpty()) << name << ": " << reason;
        // White text is drawn over the middle: it must be solid there, and clear in the corners.
        EXPECT_GT(Art2dTest::MaxAlphaIn(bubble, bubble.width / 2 - 2, bubble.height * 2 / 5,
                                        bubble.width / 2 + 2, bubble.height * 2 / 5 + 2),
                  230)
            << name;
        EXPECT_EQ(Art2dTest::AlphaAt(bubble, 0, 0), 0) << name;
    }
}
