// The program session the play-through and the soak run on: keys reach the world through the game's
// window, every frame is a sixtieth of a second of engine and world time, and a step that overruns
// stops the run and is named.
#include "Game/Support/LevelSteps.h"
#include "Session/RankSystem.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"

#include <gtest/gtest.h>

namespace
{
using GameTest::GameSession;
using GameTest::SessionSteps;

constexpr std::uint32_t KEY_D = 68;

TEST(GameSession, KeysReachTheWorldThroughTheGameWindowAndEveryFrameIsASixtieth)
{
    GameSession session;
    ASSERT_EQ(session.GetStartError(), "");
    std::vector<bool> held;
    int calls = 0;
    session.Run(
        [&](GameSession& aSession)
        {
            if (calls == 1)
            {
                aSession.KeyDown(KEY_D);
            }
            if (calls == 3)
            {
                aSession.KeyUp(KEY_D);
            }
            held.push_back(aSession.GetWorld().GetInput().IsKeyDown(KEY_D));
            return ++calls <= 5;
        });
    // A key sent before a frame is the world's from that frame's update on.
    EXPECT_EQ(held, (std::vector<bool>{false, false, true, true, false, false}));
    EXPECT_EQ(session.GetFrame(), 5);
    EXPECT_FALSE(session.HasQuit());
    // The clock moves after each frame, so the first frame takes no time.
    EXPECT_NEAR(Qel::Engine::GetInstance()->GetTotalTime(), 4.0f / 60.0f, 1e-5f);
}

TEST(SessionSteps, AStepPastItsLimitStopsTheRunAndIsNamed)
{
    GameSession session;
    ASSERT_EQ(session.GetStartError(), "");
    SessionSteps steps;
    bool isFirstDone = false;
    bool isAfterDone = false;
    steps.Do("first", [&isFirstDone](GameSession&) { isFirstDone = true; });
    steps.WaitFor("never", 5, [](const GameSession&) { return false; });
    steps.Do("after", [&isAfterDone](GameSession&) { isAfterDone = true; });
    session.Run(std::ref(steps));
    EXPECT_TRUE(isFirstDone);
    EXPECT_FALSE(isAfterDone);
    EXPECT_EQ(steps.GetFailure(), "step 2 \"never\": took more than 5 frames");
    EXPECT_EQ(session.GetFrame(), 5);
    EXPECT_FALSE(steps.IsFinished());
}

TEST(LevelSteps, ALevelsPointsComeFromItsMapOrTheDefaults)
{
    int wisp = 0;
    int key = 0;
    GameTest::ReadLevelPoints("L_World1_Level1", wisp, key);
    EXPECT_EQ(wisp, 2);
    EXPECT_EQ(key, 5);
    GameTest::ReadLevelPoints("NoSuchLevel", wisp, key);
    EXPECT_EQ(wisp, RankSystem::DEFAULT_POINTS_PER_WISP);
    EXPECT_EQ(key, RankSystem::DEFAULT_POINTS_PER_KEY);
}
} // namespace
