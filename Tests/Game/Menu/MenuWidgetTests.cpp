#include "Base/InputHandler.h"
#include "Menu/CheckBox.h"
#include "Menu/GameMenu.h"
#include "Menu/LevelSelectMenu.h"
#include "Menu/Slider.h"
#include "Menu/SplashMenu.h"
#include "Menu/StateStack.h"
#include "Support/AssertCapture.h"

#include <gtest/gtest.h>

namespace
{
// A 200 px track at x 500 with a 20 px knob: the knob travels from 410 to 590.
class SliderOnTrack : public testing::Test
{
protected:
    void LayOut(float aValue)
    {
        mySlider = std::make_unique<Slider>(0, aValue);
        mySlider->GetTrackSprite().position = {500.0f, 300.0f};
        mySlider->GetTrackSprite().size = {200.0f, 10.0f};
        mySlider->SetKnobSize({20.0f, 20.0f});
        mySlider->Layout();
    }

    // One frame with the left button going down, held, going up or resting, the pointer at aMouse.
    void Frame(const Qel::Vector2<float>& aMouse, std::uint32_t aMessage = 0)
    {
        if (aMessage != 0)
        {
            myInput.UpdateEvents(aMessage, MenuInput::KEY_MOUSE_LEFT, 0);
        }
        myInput.Update();
        mySlider->Update(aMouse, myInput);
    }

    std::unique_ptr<Slider> mySlider;
    InputHandler myInput;
};

TEST_F(SliderOnTrack, TheValuePlacesTheKnobAndReadsAsACutPercentage)
{
    LayOut(0.5f);
    EXPECT_FLOAT_EQ(mySlider->GetKnobMinX(), 410.0f);
    EXPECT_FLOAT_EQ(mySlider->GetKnobMaxX(), 590.0f);
    EXPECT_FLOAT_EQ(mySlider->GetKnobPosition().x, 500.0f);
    EXPECT_FLOAT_EQ(mySlider->GetKnobPosition().y, 300.0f);
    EXPECT_EQ(mySlider->GetValueText().GetText(), " 50 %");
    LayOut(1.0f);
    EXPECT_EQ(mySlider->GetKnobPosition().x, 590.0f) << "exact at the right end";
    LayOut(0.0f);
    EXPECT_EQ(mySlider->GetKnobPosition().x, 410.0f);
    EXPECT_EQ(Slider::FormatValue(0.999f), " 99 %");
    EXPECT_EQ(Slider::FormatValue(0.75f), " 75 %");
}

TEST_F(SliderOnTrack, AKnobMovedByItsOwnerChangesTheValueAtTheNextUpdateWithinTheTravel)
{
    LayOut(0.5f);
    mySlider->GetKnobPosition().x = 545.0f;
    EXPECT_FLOAT_EQ(mySlider->GetValue(), 0.5f);
    Frame({0.0f, 0.0f});
    EXPECT_FLOAT_EQ(mySlider->GetValue(), 0.75f);
    EXPECT_EQ(mySlider->GetValueText().GetText(), " 75 %");
    mySlider->GetKnobPosition().x = 1000.0f;
    Frame({0.0f, 0.0f});
    EXPECT_FLOAT_EQ(mySlider->GetValue(), 1.0f);
    EXPECT_FLOAT_EQ(mySlider->GetKnobPosition().x, 590.0f);
}

TEST_F(SliderOnTrack, OnlyAPressOnTheKnobDragsAndAReleaseAnywhereEndsIt)
{
    LayOut(0.5f);
    // Beside the knob (its edge is at 510): no drag.
    Frame({511.0f, 300.0f}, WM_KEYDOWN);
    EXPECT_FALSE(mySlider->IsDragging());
    Frame({511.0f, 300.0f}, WM_KEYUP);

    // On the knob's border: a drag, which follows the pointer and stops at the travel's end.
    Frame({510.0f, 310.0f}, WM_KEYDOWN);
    EXPECT_TRUE(mySlider->IsDragging());
    Frame({100.0f, 0.0f});
    EXPECT_FLOAT_EQ(mySlider->GetKnobPosition().x, 410.0f);
    // The value follows one update later: here it is the knob's place at the press.
    EXPECT_FLOAT_EQ(mySlider->GetValue(), 100.0f / 180.0f);
    Frame({100.0f, 0.0f}, WM_KEYUP);
    EXPECT_FALSE(mySlider->IsDragging());
    EXPECT_FLOAT_EQ(mySlider->GetValue(), 0.0f);
    Frame({900.0f, 0.0f});
    EXPECT_FLOAT_EQ(mySlider->GetKnobPosition().x, 410.0f) << "no drag after the release";
}

TEST(SliderTravel, AKnobWiderThanItsTrackIsAnAssertedMistake)
{
    EXPECT_EQ(Slider::ClampValue(5.0f, 1.0f, 3.0f), 3.0f);
    EXPECT_EQ(Slider::ClampValue(-5.0f, 1.0f, 3.0f), 1.0f);
    InputHandler input;
    // A knob wider than the track reverses the travel, one as wide leaves none: both keep the value.
    for (const float knobWidth : {20.0f, 10.0f})
    {
        QelTest::AssertCapture asserts;
        Slider slider(0, 0.5f);
        slider.GetTrackSprite().size = {10.0f, 10.0f};
        slider.SetKnobSize({knobWidth, 20.0f});
        slider.Layout();
        slider.Update({0.0f, 0.0f}, input);
        const std::vector<std::string> expected =
            knobWidth > 10.0f ? std::vector<std::string>{"aMinValue <= aMaxValue", "aMinValue < aMaxValue"}
                              : std::vector<std::string>{"aMinValue < aMaxValue"};
        EXPECT_EQ(asserts.GetFailures(), expected) << knobWidth;
        EXPECT_FLOAT_EQ(slider.GetValue(), 0.5f) << "the value stays";
    }
}

TEST(CheckBoxes, ToggleTwiceRestoresAndTheMarkCoversTheBoxWhereItsBordersCount)
{
    CheckBox box(1, true);
    box.GetBoxSprite().position = {100.0f, 50.0f};
    box.GetBoxSprite().size = {40.0f, 20.0f};
    box.GetBoxSprite().pivot = {0.5f, 0.5f};
    box.AlignCheckToBox();
    EXPECT_EQ(box.GetCheckSprite().position.x, 100.0f);
    EXPECT_EQ(box.GetCheckSprite().size.y, 20.0f);
    box.Toggle();
    EXPECT_FALSE(box.IsChecked());
    box.Toggle();
    EXPECT_TRUE(box.IsChecked());
    EXPECT_TRUE(box.IsMouseOver({80.0f, 40.0f}));
    EXPECT_TRUE(box.IsMouseOver({120.0f, 60.0f}));
    EXPECT_FALSE(box.IsMouseOver({120.5f, 60.0f}));
    EXPECT_FALSE(box.IsMouseOver({100.0f, 39.0f}));
}

// The splash's clock, driven by the stack's frame time without an engine.
class SplashClock : public testing::Test
{
protected:
    void Start(const nlohmann::json& aSettings)
    {
        mySplash = std::make_unique<SplashMenu>();
        mySplash->Init(myStack, {{"SplashSettings", aSettings}});
    }
    void Advance(float aSeconds)
    {
        myStack.SetDeltaTime(aSeconds);
        mySplash->Update(myInput, {0.0f, 0.0f});
    }

    StateStack myStack;
    InputHandler myInput;
    std::unique_ptr<SplashMenu> mySplash;
};

TEST_F(SplashClock, EachLogoFadesInHoldsAndFadesOutThenTheSplashEnds)
{
    Start(nlohmann::json::object());
    EXPECT_EQ(mySplash->GetCurrentLogo(), 0);
    EXPECT_EQ(mySplash->GetAlpha(), 0.0f);
    Advance(0.25f);
    EXPECT_FLOAT_EQ(mySplash->GetAlpha(), 0.5f);
    Advance(1.0f);
    EXPECT_EQ(mySplash->GetAlpha(), 1.0f);
    Advance(1.5f); // 2.75 s: half-way out.
    EXPECT_FLOAT_EQ(mySplash->GetAlpha(), 0.5f);
    Advance(0.5f); // 3.25 s
    EXPECT_EQ(mySplash->GetCurrentLogo(), 1);
    EXPECT_FLOAT_EQ(mySplash->GetAlpha(), 0.5f);
    Advance(2.7f); // 5.95 s
    EXPECT_TRUE(mySplash->IsActive());
    Advance(0.05f);
    EXPECT_EQ(mySplash->GetCurrentLogo(), -1);
    EXPECT_FALSE(mySplash->IsActive());
}

TEST_F(SplashClock, ZeroTimesEndAtOnceNegativeHoldIsNoneAndNoFadeInShowsFullAtOnce)
{
    Start({{"FadeInSeconds", 0}, {"HoldSeconds", 0}, {"FadeOutSeconds", 0}});
    Advance(0.0f);
    EXPECT_FALSE(mySplash->IsActive());

    Start({{"FadeInSeconds", 1}, {"HoldSeconds", -3}, {"FadeOutSeconds", 1}});
    Advance(1.5f);
    EXPECT_EQ(mySplash->GetCurrentLogo(), 0);
    EXPECT_FLOAT_EQ(mySplash->GetAlpha(), 0.5f) << "straight into the fade-out";
    Advance(1.0f);
    EXPECT_EQ(mySplash->GetCurrentLogo(), 1);

    Start({{"FadeInSeconds", 0}});
    EXPECT_EQ(mySplash->GetAlpha(), 1.0f);
}

TEST_F(SplashClock, LogosAreSixteenByNineWithinTheHeightRatioAndNinetyPercentOfTheWidth)
{
    Start({{"DisplayHeightRatio", 5}});
    EXPECT_EQ(mySplash->GetDisplayHeightRatio(), 1.0f);
    mySplash->LayoutLogos({1600.0f, 1200.0f});
    EXPECT_FLOAT_EQ(mySplash->GetLogo(0).size.x, 1440.0f);
    EXPECT_FLOAT_EQ(mySplash->GetLogo(0).size.y, 810.0f);
    EXPECT_FLOAT_EQ(mySplash->GetLogo(1).position.x, 800.0f);
    EXPECT_FLOAT_EQ(mySplash->GetLogo(1).position.y, 600.0f);

    Start({{"DisplayHeightRatio", 0.01}});
    EXPECT_FLOAT_EQ(mySplash->GetDisplayHeightRatio(), 0.1f);
    mySplash->LayoutLogos({1920.0f, 1080.0f});
    EXPECT_FLOAT_EQ(mySplash->GetLogo(0).size.y, 108.0f);
    EXPECT_FLOAT_EQ(mySplash->GetLogo(0).size.x, 192.0f);

    // A wrong type is reported and taken as the default.
    testing::internal::CaptureStdout();
    Start({{"HoldSeconds", "long"}});
    EXPECT_NE(testing::internal::GetCapturedStdout().find("HoldSeconds"), std::string::npos);
    EXPECT_FLOAT_EQ(mySplash->GetLogoDuration(0), 3.0f);
}

TEST(HudKeys, TheAspectOfAPictureWithoutWidthIsOne)
{
    EXPECT_EQ(GameMenu::KeyAspect(0.0f, 0.0f), 1.0f);
    EXPECT_EQ(GameMenu::KeyAspect(0.0f, 64.0f), 1.0f);
    EXPECT_EQ(GameMenu::KeyAspect(64.0f, 128.0f), 2.0f);
}

TEST(LevelSelectLayout, NineKeysByIndexAndNoneBeyond)
{
    EXPECT_STREQ(LevelSelectMenu::GetButtonKey(0), "ButtonLevel_1_1");
    EXPECT_STREQ(LevelSelectMenu::GetButtonKey(4), "ButtonLevel_Bonus");
    EXPECT_STREQ(LevelSelectMenu::GetButtonKey(8), "ButtonLevel_RenderTest");
    EXPECT_EQ(LevelSelectMenu::GetButtonKey(9), nullptr);
    EXPECT_EQ(LevelSelectMenu::GetButtonKey(-1), nullptr);
}
} // namespace
