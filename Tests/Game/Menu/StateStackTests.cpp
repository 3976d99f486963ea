#include "Base/InputHandler.h"
#include "Game/Menu/RecordingState.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/MainMenu.h"
#include "Menu/SplashMenu.h"
#include "Menu/StateStack.h"
#include "Sound/SoundBank.h"
#include "Support/AssertCapture.h"
#include "Support/WorkingFolder.h"

#include <gtest/gtest.h>

namespace
{
using QelTest::RecordingState;
using Log = std::vector<std::string>;

constexpr std::uint32_t MENU_MUSIC = 3;

// A stack of recording states named A, B, C... from the bottom, built without the documents.
class StackOf : public testing::Test
{
protected:
    void SetUp() override { Bank().StopAll(); }

    RecordingState& Push(const std::string& aName)
    {
        auto* state = new RecordingState(myLog, aName);
        myStack.PushState(state);
        return *state;
    }

    // The log from here on.
    void ClearLog() { myLog.clear(); }

    static SoundBank& Bank() { return SoundBank::GetInstance(); }

    Log myLog;
    InputHandler myInput;
    StateStack myStack;
};

TEST_F(StackOf, APushedStateInitialisesBeforeItIsCounted)
{
    RecordingState& a = Push("A");
    RecordingState& b = Push("B");
    EXPECT_EQ(a.mySizeAtInit, 0);
    EXPECT_EQ(b.mySizeAtInit, 1);
    EXPECT_EQ(myStack.GetSize(), 2);
    EXPECT_EQ(myStack.GetState(1), &b);
}

TEST_F(StackOf, PopsWaitForTheNextUpdateAndTheLastCallWins)
{
    Push("A");
    Push("B");
    RecordingState& c = Push("C");
    Push("D");
    myStack.PopToIndex(1);
    myStack.PopToIndex(2);
    EXPECT_EQ(myStack.GetSize(), 4);

    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"D gone", "C update"}));
    EXPECT_EQ(myStack.GetSize(), 3);
    EXPECT_EQ(c.myInitCount, 1);
}

TEST_F(StackOf, PoppingToTheBottomInitialisesItAgainAndReactivatesIt)
{
    RecordingState& a = Push("A");
    Push("B");
    a.SetActive(false);
    myStack.PopToIndex(0);
    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"B gone", "A init", "A update"}));
    EXPECT_TRUE(a.IsActive());

    // Also on a one-state stack.
    myStack.PopToIndex(0);
    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"A init", "A update"}));
    EXPECT_EQ(a.myInitCount, 3);
}

TEST_F(StackOf, TheBottomMayPushWhileItIsInitialisedAfterAPop)
{
    RecordingState& a = Push("A");
    Push("B");
    a.myOnInit = [this](StateStack& aStack)
    {
        if (aStack.GetSize() == 1)
        {
            aStack.PushState(new RecordingState(myLog, "Film"));
        }
    };
    myStack.PopToIndex(0);
    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    // The state pushed from the bottom's Init is the top and runs this frame.
    EXPECT_EQ(myLog, (Log{"B gone", "A init", "Film init", "Film update"}));
    EXPECT_EQ(myStack.GetSize(), 2);
}

TEST_F(StackOf, AnIndexOutsideTheStackIsCaughtAndIgnored)
{
    Push("A");
    QelTest::AssertCapture asserts;
    myStack.PopToIndex(1);
    myStack.PopToIndex(-1);
    ASSERT_EQ(asserts.GetCount(), 2);
    EXPECT_EQ(asserts.GetFailures()[0], "aIndex >= 0 && aIndex < static_cast<int>(myStates.size())");
    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"A update"}));
}

TEST_F(StackOf, AStateThatDeactivatesItselfIsDrawnOnceMoreThenRemovedWithoutAnotherUpdate)
{
    RecordingState& a = Push("A");
    RecordingState& b = Push("B");
    b.myOnUpdate = [](RecordingState& aSelf)
    {
        aSelf.SetActive(false);
    };
    Qel::SpriteDrawer drawer;

    EXPECT_TRUE(myStack.Update(myInput));
    ClearLog();
    myStack.Render(drawer);
    EXPECT_EQ(myLog, (Log{"B render"}));

    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    // The bottom is on top again, so it is initialised again; it is not updated in that frame.
    EXPECT_EQ(myLog, (Log{"B gone", "A init"}));
    EXPECT_EQ(myStack.GetSize(), 1);

    a.myOnUpdate = [](RecordingState& aSelf)
    {
        aSelf.SetActive(false);
    };
    EXPECT_TRUE(myStack.Update(myInput));
    ClearLog();
    EXPECT_FALSE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"A gone"}));
    EXPECT_EQ(myStack.GetSize(), 0);
    // An empty stack keeps saying so.
    EXPECT_FALSE(myStack.Update(myInput));
}

TEST_F(StackOf, DeactivateAllRemovesOneStatePerFrameAndThenEndsTheGame)
{
    Push("A");
    Push("B");
    Push("C");
    myStack.DeactivateAll();
    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_FALSE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"C gone", "B gone", "A init", "A gone"}));
}

TEST_F(StackOf, OverlaysLetTheStatesBelowDrawFirst)
{
    Push("A");
    RecordingState& b = Push("B");
    RecordingState& c = Push("C");
    Qel::SpriteDrawer drawer;

    myStack.Render(drawer);
    EXPECT_EQ(myLog, (Log{"A init", "B init", "C init", "C render"}));

    c.SetOverlay(true);
    ClearLog();
    myStack.Render(drawer);
    EXPECT_EQ(myLog, (Log{"B render", "C render"}));

    b.SetOverlay(true);
    ClearLog();
    myStack.Render(drawer);
    EXPECT_EQ(myLog, (Log{"A render", "B render", "C render"}));
}

TEST_F(StackOf, WhileHiddenNothingRunsPopsWaitAndNothingIsDrawn)
{
    Push("A");
    Push("B");
    myStack.PopToIndex(0);
    myStack.SetHidden(true);
    Qel::SpriteDrawer drawer;
    ClearLog();
    EXPECT_TRUE(myStack.Update(myInput));
    myStack.Render(drawer);
    EXPECT_TRUE(myLog.empty());
    EXPECT_EQ(myStack.GetSize(), 2);

    myStack.SetHidden(false);
    EXPECT_TRUE(myStack.Update(myInput));
    EXPECT_EQ(myLog, (Log{"B gone", "A init", "A update"}));
}

TEST_F(StackOf, TheResultsArePushedOnceAndPauseTheGame)
{
    Push("Title");
    Push("Hud");
    myStack.SetGameState(GameStateCode::PLAYING);
    const LevelEndResultData data{"levels/L_World1_Level1.vks", "levels/L_World1_Level2.vks", -4};
    myStack.PushLevelEndResults(data);
    myStack.PushLevelEndResults(data);
    ASSERT_EQ(myStack.GetSize(), 3);
    const auto* results = dynamic_cast<LevelEndResultsMenu*>(myStack.GetState(2));
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->GetLevelPath(), data.currentLevel);
    EXPECT_EQ(results->GetNextLevelPath(), data.nextLevel);
    EXPECT_EQ(results->GetScore(), 0);
    EXPECT_EQ(myStack.GetGameState(), GameStateCode::LEVEL_RESULTS);
    EXPECT_TRUE(myStack.IsGamePaused());

    // A pause menu on top does not hide the results below it from a second push.
    Push("Pause");
    myStack.PushLevelEndResults(data);
    EXPECT_EQ(myStack.GetSize(), 5);
}

TEST(StateStackInstance, IsClearedWhenItsStackIsDestroyed)
{
    QelTest::WorkingFolder folder;
    folder.WriteFile("settings/UISettings.json", "{}");
    folder.WriteFile("settings/Dialogues.json", "{}");
    {
        StateStack stack;
        stack.Init();
        EXPECT_EQ(StateStack::GetInstance(), &stack);
        EXPECT_EQ(GameFlow::GetCurrent(), &stack) << "gameplay reaches the screens through the same stack";
    }
    EXPECT_EQ(StateStack::GetInstance(), nullptr);
    EXPECT_EQ(GameFlow::GetCurrent(), nullptr);
}

class StateStackStart : public testing::Test
{
protected:
    void SetUp() override
    {
        // Logos of no time: the splash is done on its first frame.
        myFolder.WriteFile("settings/UISettings.json",
                           R"({"SelectHover": {"Sprite": "S.dds"},
                               "SplashSettings": {"FadeInSeconds": 0, "HoldSeconds": 0, "FadeOutSeconds": 0}})");
        myFolder.WriteFile("settings/Dialogues.json", R"({"Bubble": "S_SpeechBubble_T.dds"})");
        if (Bank().IsMuted())
        {
            Bank().ToggleMute();
        }
        Bank().StopAll();
    }

    void TearDown() override
    {
        if (Bank().IsMuted())
        {
            Bank().ToggleMute();
        }
    }

    static SoundBank& Bank() { return SoundBank::GetInstance(); }

    QelTest::WorkingFolder myFolder;
    InputHandler myInput;
};

TEST_F(StateStackStart, StacksTheSplashOverTheTitleAndStartsTheMenuMusicOnceItIsGone)
{
    StateStack stack;
    stack.Init();
    ASSERT_EQ(stack.GetSize(), 2);
    EXPECT_NE(dynamic_cast<MainMenu*>(stack.GetState(0)), nullptr);
    EXPECT_NE(dynamic_cast<SplashMenu*>(stack.GetState(1)), nullptr);
    EXPECT_EQ(stack.GetGameState(), GameStateCode::TITLE_MENU);
    EXPECT_EQ(stack.GetUISettings().at("SelectHover").at("Sprite"), "S.dds");
    EXPECT_EQ(stack.GetDialogues().at("Bubble"), "S_SpeechBubble_T.dds");
    EXPECT_TRUE(Bank().IsMuted());

    // The splash is done on its first frame and stays muted; it is gone on the next.
    EXPECT_TRUE(stack.Update(myInput));
    EXPECT_TRUE(Bank().IsMuted());
    EXPECT_FALSE(Bank().GetSound(MENU_MUSIC).IsPlaying());
    stack.SetGameState(GameStateCode::PLAYING);
    EXPECT_TRUE(stack.Update(myInput));
    EXPECT_EQ(stack.GetSize(), 1);
    EXPECT_EQ(stack.GetGameState(), GameStateCode::TITLE_MENU);
    EXPECT_FALSE(Bank().IsMuted());
    EXPECT_TRUE(Bank().GetSound(MENU_MUSIC).IsPlaying());

    // Never again in this run, whatever comes on top.
    Bank().StopAll();
    Log log;
    stack.PushState(new RecordingState(log, "Other"));
    stack.PopToIndex(0);
    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_TRUE(stack.Update(myInput));
    }
    EXPECT_FALSE(Bank().GetSound(MENU_MUSIC).IsPlaying());
}

TEST_F(StateStackStart, LeavesAMuteItFoundAlone)
{
    Bank().ToggleMute();
    StateStack stack;
    stack.Init();
    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_TRUE(stack.Update(myInput));
    }
    EXPECT_EQ(stack.GetSize(), 1);
    EXPECT_TRUE(Bank().IsMuted());
}

TEST_F(StateStackStart, TheTitlesQuitButtonEmptiesTheStack)
{
    StateStack stack;
    stack.Init();
    EXPECT_TRUE(stack.Update(myInput));
    EXPECT_TRUE(stack.Update(myInput));
    // W from Start wraps to Quit; Enter presses it.
    myInput.UpdateEvents(WM_KEYDOWN, 'W', 0);
    myInput.Update();
    EXPECT_TRUE(stack.Update(myInput));
    myInput.UpdateEvents(WM_KEYUP, 'W', 0);
    myInput.UpdateEvents(WM_KEYDOWN, VK_RETURN, 0);
    myInput.Update();
    EXPECT_TRUE(stack.Update(myInput));
    EXPECT_FALSE(stack.Update(myInput));
}

TEST_F(StateStackStart, AMissingOrMalformedDocumentIsNamedWithItsReason)
{
    const struct
    {
        const char* file;
        const char* text;
        const char* reason;
    } cases[] = {
        {"settings/UISettings.json", nullptr, "cannot be opened"},
        {"settings/UISettings.json", R"({"a": 1,})", "parse_error"},
        {"settings/Dialogues.json", R"({"a": 1} // no comments)", "parse_error"},
        {"settings/Dialogues.json", "", "parse_error"},
    };
    for (const auto& bad : cases)
    {
        SetUp();
        if (bad.text == nullptr)
        {
            std::filesystem::remove(myFolder.GetPath() / bad.file);
        }
        else
        {
            myFolder.WriteFile(bad.file, bad.text);
        }
        StateStack stack;
        try
        {
            stack.Init();
            ADD_FAILURE() << bad.file << " was accepted";
        }
        catch (const SettingsDocumentError& anError)
        {
            const std::string message = anError.what();
            EXPECT_EQ(message.rfind(bad.file, 0), 0u) << message;
            EXPECT_NE(message.find(bad.reason), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
        EXPECT_EQ(stack.GetSize(), 0);
    }
}
} // namespace
