#include "Base/InputHandler.h"
#include "Game/Menu/RecordingState.h"
#include "Menu/MenuButton.h"
#include "Sound/SoundBank.h"
#include "Support/WorkingFolder.h"

#include <gtest/gtest.h>

namespace
{
using QelTest::RecordingState;
using Log = std::vector<std::string>;

constexpr std::uint32_t BUTTON_SELECT_SOUND = 1;

// One menu with one button under the pointer; each frame the left button is down or up.
class ButtonClicks : public testing::Test
{
protected:
    void SetUp() override { SoundBank::GetInstance().StopAll(); }

    // One frame in which the left button is held (or not), with the pointer over the button (or not).
    void Frame(bool aIsDown, bool aIsOverButton = true)
    {
        myInput.UpdateEvents(aIsDown ? WM_KEYDOWN : WM_KEYUP, VK_LBUTTON, 0);
        myInput.Update();
        if (aIsOverButton)
        {
            myMenu.HandleButtonClick(myInput, &myButton);
        }
    }

    static bool SelectSoundStarted()
    {
        const bool started = SoundBank::GetInstance().GetSound(BUTTON_SELECT_SOUND).IsPlaying();
        SoundBank::GetInstance().StopAll();
        return started;
    }

    void WriteKeys(const std::string& aKeysPerLevel)
    {
        myFolder.WriteFile("Source/Game/data/settings/level_coin_progress.json",
                           R"({"PointsPerLevel": {}, "KeysPerLevel": )" + aKeysPerLevel + "}");
    }

    QelTest::WorkingFolder myFolder;
    Log myLog;
    RecordingState myMenu{myLog, "M"};
    MenuButton myButton{2};
    InputHandler myInput;
};

TEST_F(ButtonClicks, PressHoldAndReleaseRunTheirPhasesOnce)
{
    Frame(true);
    EXPECT_TRUE(SelectSoundStarted());
    Frame(true);
    Frame(false);
    Frame(false);
    EXPECT_EQ(myLog, (Log{"M down 2", "M held 2", "M pressed 2"}));
    EXPECT_FALSE(SelectSoundStarted());
}

TEST_F(ButtonClicks, AReleaseElsewhereLeavesTheLatchSoTheNextClickActsOnReleaseWithoutTheSound)
{
    Frame(true);
    SelectSoundStarted();
    Frame(false, false);
    Frame(false, false);
    Frame(true);
    EXPECT_FALSE(SelectSoundStarted());
    Frame(false);
    EXPECT_EQ(myLog, (Log{"M down 2", "M held 2", "M pressed 2"}));
}

TEST_F(ButtonClicks, TheBonusButtonAnswersOnlyAtExactlyTwelveKeys)
{
    MenuButton bonus(MenuState::BONUS_BUTTON_INDEX);
    const auto click = [&]
    {
        myLog.clear();
        for (const bool down : {true, true, false})
        {
            myInput.UpdateEvents(down ? WM_KEYDOWN : WM_KEYUP, VK_LBUTTON, 0);
            myInput.Update();
            myMenu.HandleButtonClick(myInput, &bonus);
        }
        return myLog;
    };
    const Log nothing;
    const Log clicked = {"M down 4", "M held 4", "M pressed 4"};

    EXPECT_EQ(click(), nothing) << "no progress file";
    WriteKeys(R"({"a": 5, "b": 6})");
    EXPECT_EQ(click(), nothing) << "11 keys";
    EXPECT_FALSE(SelectSoundStarted());
    WriteKeys(R"({"a": 5, "b": 7})");
    EXPECT_EQ(click(), clicked) << "12 keys";
    EXPECT_TRUE(SelectSoundStarted());
    WriteKeys(R"({"a": 6, "b": 7})");
    EXPECT_EQ(click(), nothing) << "13 keys";
    WriteKeys(R"({"a": 12)");
    EXPECT_EQ(click(), nothing) << "a cut-off file";
    myLog.clear();
    // Another button is not locked whatever the key count.
    Frame(true);
    EXPECT_EQ(myLog, (Log{"M down 2"}));
}

TEST_F(ButtonClicks, TheBonusLockReadsTheFileTheWriterUsesUnderTheParentToo)
{
    MenuButton bonus(MenuState::BONUS_BUTTON_INDEX);
    myFolder.WriteFile("../Source/Game/data/settings/level_coin_progress.json",
                       R"({"PointsPerLevel": {}, "KeysPerLevel": {"a": 12}})");
    myInput.UpdateEvents(WM_KEYDOWN, VK_LBUTTON, 0);
    myInput.Update();
    myMenu.HandleButtonClick(myInput, &bonus);
    EXPECT_EQ(myLog, (Log{"M down 4"}));
}

TEST(MenuButtonHit, EdgesOfTheInnerRectangleCountAndTheOuterBandsDoNot)
{
    MenuButton button(0);
    button.GetPosition().position = {100.0f, 50.0f};
    button.GetPosition().size = {200.0f, 100.0f};
    // Half extents 70 and 30.
    for (const Qel::Vector2<float> inside :
         {Qel::Vector2<float>{30.0f, 20.0f}, {170.0f, 80.0f}, {100.0f, 50.0f}})
    {
        EXPECT_TRUE(button.IsMouseOver(inside)) << inside.x << ", " << inside.y;
    }
    for (const Qel::Vector2<float> outside : {Qel::Vector2<float>{29.9f, 50.0f},
                                              {170.1f, 50.0f},
                                              {100.0f, 19.9f},
                                              {100.0f, 80.1f},
                                              {5.0f, 50.0f},
                                              {100.0f, 95.0f}})
    {
        EXPECT_FALSE(button.IsMouseOver(outside)) << outside.x << ", " << outside.y;
    }
    const MenuButton::HitRect& rect = button.GetHitRect();
    EXPECT_FLOAT_EQ(rect.left, 30.0f);
    EXPECT_FLOAT_EQ(rect.bottom, 20.0f);
    EXPECT_FLOAT_EQ(rect.right, 170.0f);
    EXPECT_FLOAT_EQ(rect.top, 80.0f);
}

TEST(MenuButtonHit, AMissKeepsTheRectangleOfTheLastLayoutAndAZeroSizeHitsOnlyItsCentre)
{
    MenuButton button(1);
    button.GetPosition().position = {10.0f, 10.0f};
    button.GetPosition().size = {0.0f, 0.0f};
    EXPECT_TRUE(button.IsMouseOver({10.0f, 10.0f}));
    EXPECT_FALSE(button.IsMouseOver({10.001f, 10.0f}));

    button.GetPosition().position = {500.0f, 300.0f};
    button.GetPosition().size = {100.0f, 100.0f};
    EXPECT_FALSE(button.IsMouseOver({0.0f, 0.0f}));
    EXPECT_FLOAT_EQ(button.GetHitRect().left, 465.0f);
    EXPECT_FLOAT_EQ(button.GetHitRect().top, 330.0f);
}

TEST(MenuLayout, ReadVector2NeedsAnObjectWithBothNumbersOrGivesTheFallbackWhole)
{
    const nlohmann::json layout = nlohmann::json::parse(R"({
        "Whole": {"x": 0.25, "y": 0.75}, "NoY": {"x": 0.3}, "Text": {"x": "0.1", "y": 0.2},
        "Pair": [0.1, 0.2]})");
    const Qel::Vector2<float> fallback{0.5f, 0.5f};
    const Qel::Vector2<float> whole = MenuState::ReadVector2(layout, "Whole", fallback);
    EXPECT_FLOAT_EQ(whole.x, 0.25f);
    EXPECT_FLOAT_EQ(whole.y, 0.75f);
    for (const char* key : {"NoY", "Text", "Pair", "Missing"})
    {
        const Qel::Vector2<float> read = MenuState::ReadVector2(layout, key, fallback);
        EXPECT_FLOAT_EQ(read.x, 0.5f) << key;
        EXPECT_FLOAT_EQ(read.y, 0.5f) << key;
    }
    EXPECT_FLOAT_EQ(MenuState::ReadVector2(nlohmann::json::array(), "Whole", fallback).x, 0.5f);

    const Qel::Vector2<float> pixels = ScaleVector2(whole, {1920.0f, 1080.0f});
    EXPECT_FLOAT_EQ(pixels.x, 480.0f);
    EXPECT_FLOAT_EQ(pixels.y, 810.0f);
}

} // namespace
