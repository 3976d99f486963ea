// The level scripts' reader and player: what a script line means, which keys reach the input, and that a
// bad line or a step that never ends is caught with its line rather than played on.
#include "Game/Support/LevelScript.h"

#include "Platform/Window/WindowMessages.h"

#include <gtest/gtest.h>

namespace
{
using GameTest::LevelScript;
using GameTest::LevelScriptPlayer;
using GameTest::PlayerView;

LevelScript ParseOrFail(const std::string& aText)
{
    std::string error;
    std::optional<LevelScript> script = LevelScript::Parse(aText, 60, error);
    EXPECT_TRUE(script.has_value()) << error;
    return script.value_or(LevelScript{});
}

PlayerView At(float aX, float aY, bool aIsGrounded)
{
    PlayerView view;
    view.position = {aX, aY, 0.0f};
    view.isGrounded = aIsGrounded;
    return view;
}
} // namespace

TEST(LevelScript, LinesBecomeStepsOfKeysAndEndings)
{
    const LevelScript script = ParseOrFail("# a comment\n"
                                           "expect coins 7\n"
                                           "wait 0.5\n"
                                           "right sprint until x >= 780 and grounded  # trailing\n"
                                           "right jump for 0.3\n"
                                           "none until y<=-50\n");
    EXPECT_EQ(script.GetExpectedCoins(), 7);
    ASSERT_EQ(script.GetSteps().size(), 4u);
    EXPECT_EQ(script.GetSteps()[0].keys, 0u);
    EXPECT_EQ(script.GetSteps()[0].frames, 30);
    const LevelScript::Step& run = script.GetSteps()[1];
    EXPECT_EQ(run.keys, LevelScript::KEY_RIGHT | LevelScript::KEY_SPRINT);
    EXPECT_EQ(run.line, 4);
    ASSERT_EQ(run.conditions.size(), 2u);
    EXPECT_EQ(run.conditions[0].kind, LevelScript::Condition::X_AT_LEAST);
    EXPECT_FLOAT_EQ(run.conditions[0].value, 780.0f);
    EXPECT_EQ(run.conditions[1].kind, LevelScript::Condition::GROUNDED);
    EXPECT_EQ(script.GetSteps()[2].frames, 18);
    EXPECT_EQ(script.GetSteps()[3].conditions[0].kind, LevelScript::Condition::Y_AT_MOST);
    EXPECT_FLOAT_EQ(script.GetSteps()[3].conditions[0].value, -50.0f);
}

TEST(LevelScript, ABadLineIsRefusedWithItsNumber)
{
    const char* const bad[] = {"right\n",
                               "hop for 1\n",
                               "right for\n",
                               "right for -1\n",
                               "right until x >> 3\n",
                               "wait\n",
                               "expect wisps 3\n",
                               "right until x >= 1 and\n",
                               "left for 1x\n"};
    for (const char* text : bad)
    {
        std::string error;
        const std::string script = std::string("wait 1\n") + text;
        EXPECT_FALSE(LevelScript::Parse(script, 60, error).has_value()) << text;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << text << " -> " << error;
    }
}

TEST(LevelScript, ThePlayerSendsKeyEdgesAndMovesOnWhenConditionsHold)
{
    const LevelScript script = ParseOrFail("right until x >= 100\nright jump for 0.05\nleft for 0.05\n");
    LevelScriptPlayer player(script, 600);
    InputHandler input;

    ASSERT_TRUE(player.Tick(At(0.0f, 0.0f, true), input));
    input.Update();
    EXPECT_TRUE(input.IsKeyPressed(VK_D));
    EXPECT_FALSE(input.IsKeyDown(VK_SPACE));

    // The condition holds: the jump step starts in the same frame, and D stays held without a new press.
    ASSERT_TRUE(player.Tick(At(120.0f, 0.0f, true), input));
    input.Update();
    EXPECT_TRUE(input.IsKeyDown(VK_D));
    EXPECT_FALSE(input.IsKeyPressed(VK_D));
    EXPECT_TRUE(input.IsKeyPressed(VK_SPACE));
    ASSERT_TRUE(player.Tick(At(130.0f, 10.0f, false), input));
    ASSERT_TRUE(player.Tick(At(140.0f, 20.0f, false), input));
    input.Update();
    EXPECT_TRUE(input.IsKeyDown(VK_SPACE));
    // Three frames of jump are over.
    ASSERT_TRUE(player.Tick(At(150.0f, 30.0f, false), input));
    input.Update();
    EXPECT_TRUE(input.IsKeyReleased(VK_D));
    EXPECT_TRUE(input.IsKeyReleased(VK_SPACE));
    EXPECT_TRUE(input.IsKeyPressed(VK_A));

    for (int frame = 0; frame < 3; ++frame)
    {
        ASSERT_TRUE(player.Tick(At(100.0f, 0.0f, true), input));
    }
    input.Update();
    EXPECT_TRUE(player.IsFinished());
    EXPECT_FALSE(input.IsKeyDown(VK_A));
}

TEST(LevelScript, AStepThatNeverEndsFailsTheRunNamingItsLine)
{
    const LevelScript script = ParseOrFail("wait 0.1\nright until y >= 500 and grounded\n");
    LevelScriptPlayer player(script, 10);
    InputHandler input;
    int frames = 0;
    while (player.Tick(At(50.0f, 600.0f, false), input))
    {
        ASSERT_LT(++frames, 100);
    }
    EXPECT_EQ(frames, 6 + 10);
    EXPECT_NE(player.GetFailure().find("line 2"), std::string::npos) << player.GetFailure();
    EXPECT_NE(player.GetFailure().find("(50, 600)"), std::string::npos) << player.GetFailure();
    input.Update();
    EXPECT_FALSE(input.IsKeyDown(VK_D));
    // A failed run stays failed.
    EXPECT_FALSE(player.Tick(At(50.0f, 600.0f, true), input));
}
