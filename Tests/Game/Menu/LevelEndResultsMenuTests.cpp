// The results screen: the rank picture by threshold, the score counting up, the buttons there are and
// what each does, keyboard selection, and a layout that is missing or broken.
#include "Base/InputHandler.h"
#include "Menu/LevelEndResultsMenu.h"
#include "Menu/MenuButton.h"
#include "Menu/StateStack.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "Support/WorkingFolder.h"
#include "vek/settings/EngineCreateParameters.h"

#include <gtest/gtest.h>

namespace
{
constexpr const char* LEVEL = "levels/L_World1_Level1.vks";
constexpr const char* NEXT = "levels/L_World1_Level2.vks";

const char* const LAYOUT = R"({"LevelEndResults": {
    "BadThreshold": 50, "OkThreshold": 120, "ScoreCountUpSeconds": 1.5,
    "BadSprite": "Bad.dds", "OkSprite": "Ok.dds", "GoodSprite": "Good.dds",
    "DefaultButtonSettings": {"Position": {"x": 0.5, "y": 0.3}, "Size": {"x": 0.1, "y": 0.1}, "Sprite": "B.dds"},
    "NextLevelButton": {"Position": {"x": 0.7, "y": 0.3}, "Size": {"x": 0.1, "y": 0.1}, "Sprite": "N.dds"},
    "RetryButton": {"Position": {"x": 0.5, "y": 0.3}, "Size": {"x": 0.1, "y": 0.1}, "Sprite": "R.dds"}}})";

// A started stack (title and splash) with the results pushed as the level end pushes them.
class Results : public testing::Test
{
protected:
    void SetUp() override { static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest()); }

    void TearDown() override { static_cast<void>(LevelRegistry::GetInstance().TakeSceneRequest()); }

    LevelEndResultsMenu& Show(const std::string& aNext, int aScore, const char* aLayout = LAYOUT)
    {
        myFolder.WriteFile("settings/UISettings.json", aLayout);
        myFolder.WriteFile("settings/Dialogues.json", "{}");
        // A fresh stack each time; the last one's screens go with it.
        myStackHolder = std::make_unique<StateStack>();
        myStackHolder->SetOnUnloadScene([this] { ++myUnloads; });
        myStackHolder->SetOnReloadScene([this] { ++myReloads; });
        myStackHolder->SetRankSystem(myRankSystem);
        myStackHolder->Init();
        myStackHolder->PushLevelEndResults({LEVEL, aNext, aScore});
        auto* results =
            dynamic_cast<LevelEndResultsMenu*>(myStackHolder->GetState(myStackHolder->GetSize() - 1));
        EXPECT_NE(results, nullptr);
        results->SetClock([this] { return myNow; });
        return *results;
    }

    // One frame with the key down for it (and up again the frame after).
    void PressKey(LevelEndResultsMenu& aMenu, std::uint32_t aKey)
    {
        myInput.UpdateEvents(WM_KEYDOWN, aKey, 0);
        myInput.Update();
        aMenu.Update(myInput, FAR_AWAY);
        myInput.UpdateEvents(WM_KEYUP, aKey, 0);
        myInput.Update();
    }

    static constexpr Qel::Vector2<float> FAR_AWAY{-1000.0f, -1000.0f};
    QelTest::WorkingFolder myFolder;
    std::unique_ptr<StateStack> myStackHolder;
    RankSystem* myRankSystem = nullptr;
    InputHandler myInput;
    float myNow = 0.0f;
    int myUnloads = 0;
    int myReloads = 0;
};

TEST(ResultsRank, ThePictureFollowsTheThresholds)
{
    EXPECT_STREQ(LevelEndResultsMenu::GetRankSpriteKey(49, 50, 120), "BadSprite");
    EXPECT_STREQ(LevelEndResultsMenu::GetRankSpriteKey(50, 50, 120), "OkSprite");
    EXPECT_STREQ(LevelEndResultsMenu::GetRankSpriteKey(119, 50, 120), "OkSprite");
    EXPECT_STREQ(LevelEndResultsMenu::GetRankSpriteKey(120, 50, 120), "GoodSprite");
}

TEST_F(Results, TheRankPictureIsTheLayoutsPictureForTheScore)
{
    EXPECT_EQ(Show(NEXT, 49).GetRankSpritePath(), "sprites/Bad.dds");
    EXPECT_EQ(Show(NEXT, 120).GetRankSpritePath(), "sprites/Good.dds");
    EXPECT_EQ(Show(NEXT, 60).GetRankSpritePath(), "sprites/Ok.dds");
    // A negative score counts as none.
    EXPECT_EQ(Show(NEXT, -5).GetScore(), 0);
}

TEST_F(Results, TheScoreCountsUpOverTheCountUpTimeAndNeverBack)
{
    LevelEndResultsMenu& results = Show(NEXT, 200);
    EXPECT_TRUE(results.PausesGame());
    EXPECT_FALSE(results.IsOverlay());
    EXPECT_EQ(myStackHolder->GetGameState(), GameStateCode::LEVEL_RESULTS);
    results.Update(myInput, FAR_AWAY);
    EXPECT_EQ(results.GetShownScore(), 0);
    myNow = 0.75f;
    results.Update(myInput, FAR_AWAY);
    EXPECT_EQ(results.GetShownScore(), 100);
    EXPECT_EQ(results.GetScoreText(), "Score: 100");
    // The clock stepping back does not take the count down.
    myNow = 0.25f;
    results.Update(myInput, FAR_AWAY);
    EXPECT_EQ(results.GetShownScore(), 100);
    // Only the time since the last frame counts: 0.75 s and 0.375 s.
    myNow = 0.625f;
    results.Update(myInput, FAR_AWAY);
    EXPECT_EQ(results.GetShownScore(), 150);
    myNow = 1.8f;
    results.Update(myInput, FAR_AWAY);
    EXPECT_EQ(results.GetShownScore(), 200);
    myNow = 60.0f;
    results.Update(myInput, FAR_AWAY);
    EXPECT_EQ(results.GetShownScore(), 200);
}

TEST_F(Results, ButtonsFollowTheNextLevelAndMissingSectionsTakeTheDefaultOnes)
{
    LevelEndResultsMenu& withNext = Show(NEXT, 10);
    EXPECT_EQ(withNext.GetButtonIndices(), (std::vector<int>{2, 1, 0}));
    ASSERT_NE(withNext.GetCurrentButton(), nullptr);
    EXPECT_EQ(withNext.GetCurrentButton()->GetIndex(), 2);

    LevelEndResultsMenu& last = Show("", 10);
    EXPECT_EQ(last.GetButtonIndices(), (std::vector<int>{1, 0}));
    // Next Level does nothing on the last level.
    last.OnButtonPressed(LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
    EXPECT_TRUE(last.IsActive());
    EXPECT_FALSE(LevelRegistry::GetInstance().HasSceneRequest());
    EXPECT_EQ(myStackHolder->GetGameState(), GameStateCode::LEVEL_RESULTS);
}

TEST_F(Results, KeysMoveTheSelectionRoundAndEnterActs)
{
    LevelEndResultsMenu& results = Show(NEXT, 10);
    PressKey(results, 'A');
    EXPECT_EQ(results.GetCurrentButton()->GetIndex(), 1);
    PressKey(results, 'A');
    EXPECT_EQ(results.GetCurrentButton()->GetIndex(), 0);
    PressKey(results, 'A');
    EXPECT_EQ(results.GetCurrentButton()->GetIndex(), 2);
    PressKey(results, 'D');
    EXPECT_EQ(results.GetCurrentButton()->GetIndex(), 0);
    PressKey(results, 'D');
    EXPECT_EQ(results.GetCurrentButton()->GetIndex(), 1);
    // The highlight sits on the chosen button.
    EXPECT_EQ(results.GetHighlight().position.x, results.GetCurrentButton()->GetPosition().position.x);

    // Enter acts on the chosen button, and the mouse pass still runs that frame: the button under
    // the pointer becomes the chosen one.
    const auto screen = Qel::GetEngineCreateParameters().renderSize;
    const Qel::Vector2<float> overNext{0.7f * static_cast<float>(screen.x),
                                       0.3f * static_cast<float>(screen.y)};
    myInput.UpdateEvents(WM_KEYDOWN, VK_RETURN, 0);
    myInput.Update();
    results.Update(myInput, overNext);
    EXPECT_EQ(myReloads, 1);
    EXPECT_FALSE(results.IsActive());
    EXPECT_FALSE(results.PausesGame());
    EXPECT_EQ(myStackHolder->GetGameState(), GameStateCode::SCENE_CHANGE_REQUESTED);
    EXPECT_TRUE(results.IsHovered());
    EXPECT_EQ(results.GetCurrentButton()->GetIndex(), LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
}

TEST_F(Results, NextRequestsTheNextLevelAndReturnUnloadsToTheTitle)
{
    LevelEndResultsMenu& results = Show(NEXT, 10);
    results.OnButtonPressed(LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
    EXPECT_EQ(LevelRegistry::GetInstance().TakeSceneRequest(), NEXT);
    EXPECT_EQ(myStackHolder->GetGameState(), GameStateCode::SCENE_CHANGE_REQUESTED);
    EXPECT_FALSE(results.IsActive());
    EXPECT_EQ(myReloads, 0);

    LevelEndResultsMenu& again = Show(NEXT, 10);
    again.OnButtonPressed(LevelEndResultsMenu::RETURN_TO_MENU_BUTTON);
    EXPECT_EQ(myUnloads, 1);
    EXPECT_EQ(myStackHolder->GetGameState(), GameStateCode::TITLE_MENU);
    EXPECT_FALSE(again.PausesGame());
    EXPECT_TRUE(myStackHolder->Update(myInput));
    EXPECT_EQ(myStackHolder->GetSize(), 1);
}

TEST_F(Results, ANextLevelThatIsThisLevelRetriesIt)
{
    LevelEndResultsMenu& results = Show(LEVEL, 10);
    results.OnButtonPressed(LevelEndResultsMenu::NEXT_LEVEL_BUTTON);
    EXPECT_EQ(myReloads, 1);
    EXPECT_FALSE(LevelRegistry::GetInstance().HasSceneRequest());
    EXPECT_EQ(myStackHolder->GetGameState(), GameStateCode::SCENE_CHANGE_REQUESTED);
    EXPECT_FALSE(results.IsActive());
}

TEST_F(Results, TheRankTextComesFromTheLevelsRankSystemAndIsEmptyWithoutOne)
{
    LevelEndResultsMenu& without = Show(NEXT, 10);
    EXPECT_EQ(without.GetResultText(), "");

    RankSystem ranks(1, 5, 1, 2);
    ranks.AddScore(RankSystem::KEY);
    myRankSystem = &ranks;
    LevelEndResultsMenu& with = Show(NEXT, 5);
    EXPECT_EQ(with.GetResultText(), ranks.GetRankText());
    EXPECT_FALSE(with.GetResultText().empty());
    myStackHolder.reset();
    ranks.ResetScore();
}

TEST_F(Results, ABrokenLayoutGivesDefaultsAndNoButtonsLeavesNoCurrentButton)
{
    LevelEndResultsMenu& noSection = Show(NEXT, 60, R"({"LevelEndResults": 3})");
    EXPECT_FLOAT_EQ(noSection.GetCountUpSeconds(), 1.5f);
    EXPECT_EQ(noSection.GetRankSpritePath(), "sprites/S_WorldMap_T.dds");
    // No section and no default: every button is made from nothing but its index.
    EXPECT_EQ(noSection.GetButtonIndices(), (std::vector<int>{2, 1, 0}));

    LevelEndResultsMenu& noButtons = Show(NEXT, 60, R"({"LevelEndResults": {"ScoreCountUpSeconds": 0,
        "NextLevelButton": 1, "RetryButton": "x", "ReturnToMenuButton": []}})");
    EXPECT_FLOAT_EQ(noButtons.GetCountUpSeconds(), 0.01f);
    EXPECT_EQ(noButtons.GetButtonCount(), 0);
    EXPECT_EQ(noButtons.GetCurrentButton(), nullptr);
    PressKey(noButtons, VK_RETURN);
    PressKey(noButtons, 'A');
    EXPECT_TRUE(noButtons.IsActive());
    EXPECT_EQ(myReloads + myUnloads, 0);
}
} // namespace
