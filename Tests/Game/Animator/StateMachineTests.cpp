// Changing states: the order of exit, delete and enter; the same state twice; changes made from inside
// a state's own OnEnter, Update and CheckTransition, chained two deep; and no state at all.
#include "Game/Animator/RecordingState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

class StateMachineTest : public testing::Test
{
protected:
    RecordingState* Make(const std::string& aName) { return new RecordingState(aName, myLog); }

    Log myLog;
    RecordingAnimator myAnimator;
};

TEST_F(StateMachineTest, AChangeExitsAndDeletesTheOldStateBeforeEnteringTheNew)
{
    myAnimator.ChangeState(Make("A"));
    myAnimator.ChangeState(Make("B"));
    EXPECT_EQ(myLog, (Log{"enter A", "exit A", "delete A", "enter B"}));
    ASSERT_NE(myAnimator.GetCurrentState(), nullptr);
    EXPECT_EQ(myAnimator.GetCurrentState()->GetName(), "B");
}

TEST_F(StateMachineTest, ChangingToTheCurrentStateDoesNothing)
{
    RecordingState* a = Make("A");
    myAnimator.ChangeState(a);
    myLog.clear();
    myAnimator.ChangeState(a);
    EXPECT_TRUE(myLog.empty());
    EXPECT_EQ(myAnimator.GetCurrentState(), a);
}

TEST_F(StateMachineTest, ChangesMadeInsideOnEnterChainTwoDeepInOrder)
{
    RecordingState* a = Make("A");
    RecordingState* b = Make("B");
    a->onEnter = [&](RecordingAnimator& anAnimator)
    {
        anAnimator.ChangeState(b);
    };
    b->onEnter = [&](RecordingAnimator& anAnimator)
    {
        anAnimator.ChangeState(Make("C"));
    };
    myAnimator.ChangeState(a);
    EXPECT_EQ(myLog, (Log{"enter A", "exit A", "delete A", "enter B", "exit B", "delete B", "enter C"}));
    ASSERT_NE(myAnimator.GetCurrentState(), nullptr);
    EXPECT_EQ(myAnimator.GetCurrentState()->GetName(), "C");
}

TEST_F(StateMachineTest, AChangeAskedForInsideOnExitIsMadeAfterTheOneRunning)
{
    RecordingState* a = Make("A");
    a->onExit = [&](RecordingAnimator& anAnimator)
    {
        anAnimator.ChangeState(Make("C"));
    };
    myAnimator.ChangeState(a);
    myLog.clear();
    myAnimator.ChangeState(Make("B"));
    EXPECT_EQ(myLog, (Log{"exit A", "delete A", "enter B", "exit B", "delete B", "enter C"}));
    EXPECT_EQ(myAnimator.GetCurrentState()->GetName(), "C");
}

TEST_F(StateMachineTest, OnlyTheLastOfTwoChangesAskedForInsideOnEnterIsEntered)
{
    RecordingState* a = Make("A");
    a->onEnter = [&](RecordingAnimator& anAnimator)
    {
        anAnimator.ChangeState(Make("B"));
        anAnimator.ChangeState(Make("C"));
    };
    myAnimator.ChangeState(a);
    EXPECT_EQ(myLog, (Log{"enter A", "delete B", "exit A", "delete A", "enter C"}));
}

TEST_F(StateMachineTest, AChangeInsideUpdateRunsTheNewStatesCheckInTheSameFrame)
{
    RecordingState* a = Make("A");
    a->onUpdate = [&](RecordingAnimator& anAnimator)
    {
        anAnimator.ChangeState(Make("B"));
    };
    myAnimator.ChangeState(a);
    myLog.clear();
    myAnimator.UpdateCurrentState(0.25f);
    // A finishes its Update (it writes to itself after the change) and is deleted only afterwards.
    EXPECT_EQ(myLog, (Log{"update A at -1.000000", "exit A", "enter B", "check B", "delete A"}));
}

TEST_F(StateMachineTest, AChangeInsideCheckTransitionChainsThroughOnEnter)
{
    RecordingState* a = Make("A");
    a->onCheck = [&](RecordingAnimator& anAnimator)
    {
        RecordingState* b = Make("B");
        b->onEnter = [&](RecordingAnimator& anInner)
        {
            anInner.ChangeState(Make("C"));
        };
        anAnimator.ChangeState(b);
    };
    myAnimator.ChangeState(a);
    myLog.clear();
    myAnimator.UpdateCurrentState(0.25f);
    EXPECT_EQ(myLog, (Log{"update A at -1.000000", "check A", "exit A", "enter B", "exit B", "enter C",
                          "delete A", "delete B"}));
    EXPECT_EQ(myAnimator.GetCurrentState()->GetName(), "C");
}

TEST_F(StateMachineTest, NoStateIsAllowedEverywhere)
{
    myAnimator.ChangeState(nullptr);
    myAnimator.UpdateCurrentState(0.25f);
    EXPECT_TRUE(myLog.empty());
    EXPECT_EQ(myAnimator.GetCurrentState(), nullptr);

    RecordingState* a = Make("A");
    a->onUpdate = [](RecordingAnimator& anAnimator)
    {
        anAnimator.ChangeState(nullptr);
    };
    myAnimator.ChangeState(a);
    myAnimator.UpdateCurrentState(0.25f);
    EXPECT_EQ(myAnimator.GetCurrentState(), nullptr);
    EXPECT_EQ(myLog, (Log{"enter A", "update A at -1.000000", "exit A", "delete A"}));
}

TEST_F(StateMachineTest, DestroyingTheAnimatorExitsAndDeletesItsState)
{
    {
        RecordingAnimator animator;
        animator.ChangeState(Make("A"));
    }
    EXPECT_EQ(myLog, (Log{"enter A", "exit A", "delete A"}));
}
} // namespace
