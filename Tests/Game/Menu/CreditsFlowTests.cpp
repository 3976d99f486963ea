// The credits screen and the credits film on a stack whose bottom is the title: in and out by every
// input, the film started by the outro flag, its three ways to end, and the level unloaded after it.
#include "Base/InputHandler.h"
#include "Engine/vek/graphics/EngineFixture.h"
#include "Game/Support/PlaceholderState.h"
#include "Menu/CreditsMenu.h"
#include "Menu/CreditsVideo.h"
#include "Menu/MainMenu.h"
#include "Menu/MenuButton.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "Support/VideoClip.h"
#include "vek/input/XInputController.h"
#include "vek/video/Video.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace
{
constexpr std::uint32_t MENU_MUSIC = 3;

// One pad in slot 0 whose buttons the test sets.
class OnePad final : public Platform::PadBackend
{
public:
    bool GetState(std::uint32_t aIndex, Platform::PadState& outState) override
    {
        outState = Platform::PadState();
        if (aIndex != 0)
        {
            return false;
        }
        outState.packetNumber = 1;
        outState.gamepad.buttons = buttons;
        return true;
    }

    std::uint16_t buttons = 0;
};

class CreditsFlow : public QelTest::EngineFixture
{
protected:
    void SetUp() override
    {
        QelTest::EngineFixture::SetUp();
        mySavedPad = GetMenuPad();
        GetMenuPad() = Qel::XInputController(myPad);
        SoundBank::GetInstance().StopAll();
        myStack.SetOnUnloadScene([this] { ++myUnloads; });
    }

    void TearDown() override
    {
        GetMenuPad() = mySavedPad;
        QelTest::EngineFixture::TearDown();
    }

    // The title at the bottom, as the program stacks it once the splash is gone.
    void StartAtTitle()
    {
        ASSERT_TRUE(StartEngine(320, 240));
        myStack.PushState(new MainMenu());
        ASSERT_EQ(myStack.GetSize(), 1);
        // Credits is the third button; the choice stays on it after each return.
        Update();
        UpdateWithKey('S');
        UpdateWithKey('S');
    }

    // The key is down for one stack update and up again at the next.
    void UpdateWithKey(std::uint32_t aKey)
    {
        myInput.UpdateEvents(WM_KEYDOWN, aKey, 0);
        myInput.Update();
        myStack.Update(myInput);
        myInput.UpdateEvents(WM_KEYUP, aKey, 0);
        myInput.Update();
    }

    void UpdateWithPad(std::uint16_t aButtons)
    {
        myPad.buttons = aButtons;
        myStack.Update(myInput);
        myPad.buttons = 0;
    }

    void Update() { myStack.Update(myInput); }

    // The top state as the screen the test expects there; a test that finds another fails.
    template <typename Screen>
    Screen& Top() const
    {
        auto* screen = dynamic_cast<Screen*>(myStack.GetState(myStack.GetSize() - 1));
        if (screen == nullptr)
        {
            throw std::logic_error("another screen is on top");
        }
        return *screen;
    }
    CreditsMenu& Credits() const { return Top<CreditsMenu>(); }
    CreditsVideo& Film() const { return Top<CreditsVideo>(); }
    bool IsFilmOnTop() const
    {
        return dynamic_cast<CreditsVideo*>(myStack.GetState(myStack.GetSize() - 1)) != nullptr;
    }
    bool AreCreditsOnTop() const
    {
        return dynamic_cast<CreditsMenu*>(myStack.GetState(myStack.GetSize() - 1)) != nullptr;
    }

    // A short film where the credits screen looks for it: 12 pictures at 24 per second.
    void MakeFilm()
    {
        QelTest::ClipSpec spec;
        spec.myWidth = 96;
        spec.myHeight = 54;
        spec.myRate = "24";
        spec.myFrameCount = 12;
        spec.myCodec = QelTest::ClipCodec::H264;
        const std::filesystem::path path = myFolder.GetPath() / "data" / CreditsVideo::FILM_PATH;
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(QelTest::MakeVideoClip(path, spec));
    }

    // The stack as the last level's outro leaves it: the flag set and everything above the title popped.
    void EndLastLevel()
    {
        myStack.PushState(new PlaceholderState(GameStateCode::LEVEL_SELECT));
        myStack.PushState(new PlaceholderState(GameStateCode::PLAYING));
        myStack.SetPlayCreditsVideo(true);
        myStack.PopToIndex(0);
        Update();
    }

    // The film is on top, has not finished, and the title lies under it.
    void ExpectFilmPlaying()
    {
        ASSERT_EQ(myStack.GetSize(), 2);
        ASSERT_TRUE(IsFilmOnTop());
        EXPECT_FALSE(Film().HasFinished());
        EXPECT_NE(dynamic_cast<MainMenu*>(myStack.GetState(0)), nullptr);
        EXPECT_FALSE(myStack.ShouldPlayCreditsVideo());
        EXPECT_EQ(myUnloads, 0);
    }

    // The film has asked to leave: the level is unloaded once and the menu music plays; the next update
    // leaves the title alone on the stack, and the film does not start again.
    void ExpectBackAtTitleAfterFilm()
    {
        EXPECT_EQ(myUnloads, 1);
        EXPECT_TRUE(SoundBank::GetInstance().GetSound(MENU_MUSIC).IsPlaying());
        Update();
        EXPECT_EQ(myStack.GetSize(), 1);
        EXPECT_EQ(myStack.GetGameState(), GameStateCode::TITLE_MENU);
        Update();
        EXPECT_EQ(myStack.GetSize(), 1);
        EXPECT_EQ(myUnloads, 1);
    }

    OnePad myPad;
    Qel::XInputController mySavedPad;
    InputHandler myInput;
    StateStack myStack;
    int myUnloads = 0;
};

TEST_F(CreditsFlow, TheTitleOpensTheCreditsAndTheBackButtonEnterAndPadAReturnToIt)
{
    StartAtTitle();
    // The back button itself, Enter, and the pad's A all take the same way back.
    const std::vector<std::function<void()>> backs{
        [this] { Credits().OnButtonPressed(CreditsMenu::BACK_BUTTON_INDEX); },
        [this] { UpdateWithKey(VK_RETURN); },
        [this] { UpdateWithPad(MenuInput::PAD_A); },
    };
    for (std::size_t way = 0; way < backs.size(); ++way)
    {
        SCOPED_TRACE(way);
        UpdateWithKey(VK_RETURN);
        ASSERT_EQ(myStack.GetSize(), 2);
        ASSERT_TRUE(AreCreditsOnTop());
        EXPECT_EQ(myStack.GetGameState(), GameStateCode::CREDITS);

        backs[way]();
        EXPECT_FALSE(Credits().IsActive());
        EXPECT_EQ(myStack.GetGameState(), GameStateCode::TITLE_MENU);
        Update();
        EXPECT_EQ(myStack.GetSize(), 1);
    }
    // A button index the screen does not have changes nothing.
    UpdateWithKey(VK_RETURN);
    Credits().OnButtonPressed(1);
    EXPECT_TRUE(Credits().IsActive());
    EXPECT_EQ(myUnloads, 0);
}

TEST_F(CreditsFlow, EscapeAndPadBPopBackToTheTitleWhichStartsAgain)
{
    StartAtTitle();
    for (const bool byPad : {false, true})
    {
        SCOPED_TRACE(byPad);
        UpdateWithKey(VK_RETURN);
        ASSERT_TRUE(AreCreditsOnTop());
        myStack.SetGameState(GameStateCode::PLAYING);

        if (byPad)
        {
            UpdateWithPad(MenuInput::PAD_B);
        }
        else
        {
            UpdateWithKey(VK_ESCAPE);
        }
        // The pop waits for the next update, which starts the title again.
        EXPECT_EQ(myStack.GetSize(), 2);
        Update();
        EXPECT_EQ(myStack.GetSize(), 1);
        EXPECT_EQ(myStack.GetGameState(), GameStateCode::TITLE_MENU);
    }
}

TEST_F(CreditsFlow, TheCreditsLayOutTheirPicturesLinesAndBackButtonFromTheScreenSize)
{
    ASSERT_TRUE(StartEngine(320, 240));
    const nlohmann::json layout = nlohmann::json::parse(R"({
        "SelectHover": {"Size": {"x": 0.1, "y": 0.2}},
        "CreaditSettings": {
            "BackgroundSprite": "S_CreditsScreen_T.dds",
            "Logo": {"Sprite": "S_StudioLogo_T.dds", "Position": {"x": 0.5, "y": 0.8}, "Size": {"x": 0.2, "y": 0.1}},
            "BackButton": {"Text": "Back", "Position": {"x": 0.2, "y": 0.3}, "Size": {"x": 0.1, "y": 0.2},
                           "Sprite": "S_ButtonBack_T.dds"}}})");
    CreditsMenu credits;
    credits.Init(myStack, layout);
    EXPECT_EQ(myStack.GetGameState(), GameStateCode::CREDITS);

    const auto expectLogo = [&credits]
    {
        EXPECT_FLOAT_EQ(credits.GetLogo().size.x, 64.0f);
        EXPECT_FLOAT_EQ(credits.GetLogo().size.y, 24.0f);
        EXPECT_FLOAT_EQ(credits.GetLogo().position.x, 160.0f);
        EXPECT_FLOAT_EQ(credits.GetLogo().position.y, 192.0f);
        EXPECT_FLOAT_EQ(credits.GetBackground().size.x, 320.0f);
        EXPECT_FLOAT_EQ(credits.GetBackground().position.y, 120.0f);
    };
    expectLogo();
    EXPECT_NE(credits.GetBackgroundData().texture, nullptr);
    EXPECT_NE(credits.GetLogoData().texture, nullptr);
    const Qel::Sprite2DInstanceData& button = credits.GetBackButton()->GetPosition();
    EXPECT_FLOAT_EQ(button.position.x, 64.0f);
    EXPECT_FLOAT_EQ(button.position.y, 72.0f);
    EXPECT_EQ(credits.GetBackButton()->GetLabel().GetText(), "Back");
    // The highlight starts on the button.
    EXPECT_FLOAT_EQ(credits.GetHighlight().position.x, 64.0f);

    // A title, then four headings with 5, 2, 3 and 3 names.
    const auto lineTexts = [&credits]
    {
        std::vector<std::string> texts;
        for (const Qel::Text& line : credits.GetLines())
        {
            texts.push_back(line.GetText());
        }
        return texts;
    };
    const std::vector<std::string> first = lineTexts();
    ASSERT_EQ(first.size(), 18u);
    EXPECT_EQ(first[1], "Programmers: ");
    EXPECT_EQ(first[7], "Level Designers: ");
    EXPECT_EQ(first[10], "Animators: ");
    EXPECT_EQ(first[14], "Artists: ");
    const std::vector<Qel::Text>& lines = credits.GetLines();
    // The title is centred on its anchor; headings and names sit exactly at theirs.
    EXPECT_NEAR(lines[0].GetPosition().x + lines[0].GetWidth() * 0.5f, 160.0f, 1e-3f);
    EXPECT_GT(lines[0].GetWidth(), 0.0f);
    EXPECT_FLOAT_EQ(lines[10].GetPosition().x, 0.6f * 320.0f);
    EXPECT_FLOAT_EQ(lines[10].GetPosition().y, 0.75f * 240.0f);
    // The third animator: 0.075 below the heading, then two steps of 0.05.
    EXPECT_FLOAT_EQ(lines[13].GetPosition().x, 0.625f * 320.0f);
    EXPECT_NEAR(lines[13].GetPosition().y, (0.75f - 0.075f - 0.1f) * 240.0f, 1e-3f);

    // A resolution change keeps the logo's fractions, puts the back button at the lower right whatever
    // the layout says, marks its left edge, and rebuilds the lines without doubling them.
    credits.OnResolutionChanged(layout);
    credits.OnResolutionChanged(layout);
    expectLogo();
    EXPECT_FLOAT_EQ(button.position.x, 0.95f * 320.0f);
    EXPECT_FLOAT_EQ(button.position.y, 0.05f * 240.0f);
    EXPECT_FLOAT_EQ(button.size.x, 16.0f);
    EXPECT_FLOAT_EQ(credits.GetHighlight().position.x, 0.95f * 320.0f - 8.0f);
    EXPECT_FLOAT_EQ(credits.GetHighlight().position.y, 12.0f);
    EXPECT_FLOAT_EQ(credits.GetHighlight().size.x, 24.0f);
    EXPECT_FLOAT_EQ(credits.GetHighlight().size.y, 48.0f);
    EXPECT_EQ(lineTexts(), first);
}

TEST_F(CreditsFlow, AMissingCreditsSectionIsReportedAndLaidOutWithDefaults)
{
    ASSERT_TRUE(StartEngine(320, 240));
    CreditsMenu credits;
    testing::internal::CaptureStdout();
    credits.Init(myStack, nlohmann::json::object());
    credits.OnResolutionChanged(nlohmann::json::object());
    const std::string output = testing::internal::GetCapturedStdout();
    // Once for the section at each layout, nothing for the keys inside it, and the highlight's size,
    // which a resolution change needs.
    const std::string line =
        "[CreditsMenu] \"CreaditSettings\" in settings/UISettings.json is not an object; "
        "using a default\n";
    EXPECT_EQ(output,
              line + line +
                  "[CreditsMenu] \"SelectHover\" in settings/UISettings.json is not an object; using a "
                  "default\n");
    EXPECT_EQ(credits.GetLines().size(), 18u);
    EXPECT_FLOAT_EQ(credits.GetLogo().size.x, 0.0f);
    EXPECT_TRUE(std::isfinite(credits.GetHighlight().position.x));
}

TEST_F(CreditsFlow, TheOutroFlagStartsTheFilmAtTheTitleWhichEndsByItselfAndUnloadsTheLevel)
{
    StartAtTitle();
    MakeFilm();
    EndLastLevel();
    ExpectFilmPlaying();
    // It fills the screen: the picture's share of the power-of-two texture spans 320 x 240.
    ASSERT_NE(Film().GetVideo(), nullptr);
    const Qel::Video& video = *Film().GetVideo();
    ASSERT_EQ(video.GetState(), Qel::VIDEO_STATE_READY);
    EXPECT_NEAR(Film().GetSprite().size.x * static_cast<float>(video.GetFrameWidth()) /
                    static_cast<float>(video.GetTextureWidth()),
                320.0f, 1e-3f);
    EXPECT_NEAR(Film().GetSprite().size.y * static_cast<float>(video.GetFrameHeight()) /
                    static_cast<float>(video.GetTextureHeight()),
                240.0f, 1e-3f);
    EXPECT_FLOAT_EQ(Film().GetSprite().position.y, 240.0f);

    // The film advances by the stack's frame time; half a second plays its 12 pictures.
    CreditsVideo& film = Film();
    int frames = 0;
    while (!film.HasFinished() && frames < 100)
    {
        myStack.SetDeltaTime(0.1f);
        film.Update(myInput, {0.0f, 0.0f});
        ++frames;
        if (frames == 2)
        {
            EXPECT_EQ(myUnloads, 0);
        }
    }
    EXPECT_TRUE(film.HasFinished());
    EXPECT_LT(frames, 20);
    ExpectBackAtTitleAfterFilm();
}

TEST_F(CreditsFlow, SpaceHeldOrPadAEndsTheFilmAtOnce)
{
    StartAtTitle();
    MakeFilm();
    for (const bool byPad : {false, true})
    {
        SCOPED_TRACE(byPad);
        myUnloads = 0;
        EndLastLevel();
        ExpectFilmPlaying();
        if (byPad)
        {
            UpdateWithPad(MenuInput::PAD_A);
        }
        else
        {
            UpdateWithKey(VK_SPACE);
        }
        ExpectBackAtTitleAfterFilm();
    }
}

TEST_F(CreditsFlow, AFilmThatCannotBeOpenedSaysSoOnceAndLeavesAtTheFirstUpdate)
{
    StartAtTitle();
    testing::internal::CaptureStdout();
    // The update that brings the title back also gives the new film its first update.
    EndLastLevel();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("[CreditsVideo] Could not open the credits film"), std::string::npos) << output;
    EXPECT_EQ(output.find("[CreditsVideo]"), output.rfind("[CreditsVideo]")) << output;
    ASSERT_EQ(myStack.GetSize(), 2);
    ASSERT_TRUE(IsFilmOnTop());
    EXPECT_TRUE(Film().HasFinished());
    EXPECT_FALSE(myStack.ShouldPlayCreditsVideo());
    // No picture size to divide by: nothing to draw, and no NaN.
    EXPECT_FLOAT_EQ(Film().GetSprite().size.x, 0.0f);
    EXPECT_FLOAT_EQ(Film().GetSprite().size.y, 0.0f);
    ExpectBackAtTitleAfterFilm();
}
} // namespace
