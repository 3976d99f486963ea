#include "Menu/StateStack.h"
#include "Rules/CollisionSystemComponent.h"
#include "Session/LevelCounters.h"
#include "Session/LevelProgress.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "Support/WorkingFolder.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
// Adds wisps one at a time until the score reaches aScore (keys first while they fit).
void ScoreUpTo(RankSystem& aRank, int aScore, int aPerKey, int aPerWisp)
{
    while (aRank.GetScore() + aPerKey <= aScore)
    {
        aRank.AddScore(RankSystem::KEY);
    }
    while (aRank.GetScore() + aPerWisp <= aScore)
    {
        aRank.AddScore(RankSystem::WISP);
    }
}

TEST(RankSystem, TheDefaultRanksAFrom150BFrom75AndCBelow)
{
    const struct
    {
        int score;
        const char* text;
    } cases[] = {{1, "Your Rank: C"},   {74, "Your Rank: C"},  {75, "Your Rank: B"},
                 {149, "Your Rank: B"}, {150, "Your Rank: A"}, {200, "Your Rank: A"}};
    for (const auto& expected : cases)
    {
        RankSystem rank;
        EXPECT_EQ(rank.GetRankText(), "");
        ScoreUpTo(rank, expected.score, 5, 1);
        ASSERT_EQ(rank.GetScore(), expected.score);
        EXPECT_EQ(rank.GetRankText(), expected.text) << expected.score;
        EXPECT_EQ(rank.GetRankLetter(), std::string(expected.text).substr(11));
    }
}

TEST(RankSystem, ALevelsOwnValuesSetThePointsAndTheThresholds)
{
    RankSystem rank(2, 5, 69, 110);
    rank.AddScore(RankSystem::WISP);
    rank.AddScore(RankSystem::KEY);
    EXPECT_EQ(rank.GetScoreText(), "7");
    ScoreUpTo(rank, 68, 5, 2);
    EXPECT_EQ(rank.GetScore(), 67);
    EXPECT_EQ(rank.GetRankText(), "Your Rank: C");
    rank.AddScore(RankSystem::WISP);
    EXPECT_EQ(rank.GetRankText(), "Your Rank: B");
    ScoreUpTo(rank, 109, 5, 2);
    EXPECT_EQ(rank.GetRankText(), "Your Rank: B");
    rank.AddScore(RankSystem::WISP);
    EXPECT_EQ(rank.GetScore(), 111);
    EXPECT_EQ(rank.GetRankText(), "Your Rank: A");
}

TEST(RankSystem, OtherKindsChangeNothingAndAResetKeepsTheTexts)
{
    RankSystem rank;
    rank.AddScore(2);
    rank.AddScore(-1);
    EXPECT_EQ(rank.GetScore(), 0);
    EXPECT_EQ(rank.GetRankText(), "");

    rank.AddScore(RankSystem::KEY);
    EXPECT_EQ(RankSystem::GetGlobalScore(), 5);
    rank.ResetScore();
    EXPECT_EQ(rank.GetScore(), 0);
    EXPECT_EQ(RankSystem::GetGlobalScore(), 0);
    EXPECT_EQ(rank.GetRankText(), "Your Rank: C");
    EXPECT_EQ(rank.GetScoreText(), "0");
}

TEST(RankSystem, TheProcessWideScoreFollowsTheLastWriterAndANewSystemStartsItAtZero)
{
    RankSystem first;
    first.AddScore(RankSystem::KEY);
    first.AddScore(RankSystem::KEY);
    RankSystem second;
    EXPECT_EQ(RankSystem::GetGlobalScore(), 0);
    second.AddScore(RankSystem::WISP);
    EXPECT_EQ(RankSystem::GetGlobalScore(), 1);
    EXPECT_EQ(first.GetScoreText(), "10");
    EXPECT_EQ(RankSystem::GetGlobalScore(), 10);
}

TEST(RankSystem, TheStackForgetsARankSystemThatIsDestroyed)
{
    QelTest::WorkingFolder folder;
    folder.WriteFile("settings/UISettings.json", "{}");
    folder.WriteFile("settings/Dialogues.json", "{}");
    StateStack stack;
    stack.Init();
    RankSystem kept;
    auto level = std::make_unique<RankSystem>();
    stack.SetRankSystem(level.get());
    level.reset();
    EXPECT_EQ(stack.GetRankSystem(), nullptr);

    // Another rank system going away leaves the registered one alone.
    stack.SetRankSystem(&kept);
    {
        RankSystem other;
    }
    EXPECT_EQ(stack.GetRankSystem(), &kept);
}
} // namespace

namespace
{
class LevelRankSystem : public testing::Test
{
protected:
    void SetUp() override
    {
        myFolder.WriteFile("settings/UISettings.json", "{}");
        myFolder.WriteFile("settings/Dialogues.json", "{}");
        myStack.Init();
    }
    void TearDown() override
    {
        LevelRegistry::GetInstance().SetCurrentScene("");
        ResetCollectedKeyCount();
    }

    QelTest::WorkingFolder myFolder;
    StateStack myStack;
};

TEST_F(LevelRankSystem, TheDefaultOneIsOwnedByTheCollisionSystemAndForgottenOnEveryReset)
{
    auto collision = std::make_unique<CollisionSystemComponent>();
    RankSystem& first = collision->UseDefaultRankSystem();
    EXPECT_EQ(myStack.GetRankSystem(), &first);
    first.AddScore(RankSystem::KEY);

    collision->ResetForLevel();
    EXPECT_EQ(collision->GetRankSystem(), nullptr);
    EXPECT_EQ(myStack.GetRankSystem(), nullptr);
    EXPECT_EQ(RankSystem::GetGlobalScore(), 0);

    RankSystem& second = collision->UseDefaultRankSystem();
    EXPECT_EQ(myStack.GetRankSystem(), &second);
    collision.reset();
    EXPECT_EQ(myStack.GetRankSystem(), nullptr);
}

TEST_F(LevelRankSystem, ALevelsOwnRankSystemIsRegisteredAndLeftToItsObject)
{
    CollisionSystemComponent collision;
    auto levels = std::make_unique<RankSystem>(2, 5, 69, 110);
    collision.UseLevelRankSystem(levels.get());
    EXPECT_EQ(myStack.GetRankSystem(), levels.get());
    collision.ClearRankSystem();
    EXPECT_EQ(myStack.GetRankSystem(), nullptr);
    // Still whole: the collision system never owned it.
    levels->AddScore(RankSystem::WISP);
    EXPECT_EQ(levels->GetScore(), 2);
}

TEST_F(LevelRankSystem, RecordsTheCurrentLevelsScoreAndKeysInTheProgressFile)
{
    CollisionSystemComponent collision;
    collision.ResetForLevel();
    RankSystem& rank = collision.UseDefaultRankSystem();
    rank.AddScore(RankSystem::KEY);
    rank.AddScore(RankSystem::WISP);
    AddCollectedKey();
    LevelRegistry::GetInstance().SetCurrentScene("levels/L_World2_Level1.vks");
    collision.RecordLevelProgress();

    const ProgressRead read = ReadProgressTables(ResolveLevelProgressPath());
    ASSERT_TRUE(read.tables.has_value()) << read.error;
    EXPECT_EQ(read.tables->points.at("levels/L_World2_Level1.vks"), 6);
    EXPECT_EQ(read.tables->keys.at("levels/L_World2_Level1.vks"), 1);
    EXPECT_EQ(LevelProgress::GetProcessProgress().GetLastRecordedScore(), 6);
}
} // namespace
