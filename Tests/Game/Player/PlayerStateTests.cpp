// The player's state machine over its shipped model and clips, driven through the controller with
// contacts set as the collision system would set them.
#include "PlayerTestRig.h"

#include "Player/PlayerStates.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace PlayerTest;

namespace
{
class PlayerStates : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Qel::LoadSettings("Game")); }
    static void TearDownTestSuite() { Qel::ModelFactory::DestroyInstance(); }

    void SetUp() override
    {
        myRig = std::make_unique<ControllerRig>(nullptr, Body::Full);
        myRig->Start();
        ASSERT_TRUE(myRig->Mesh().HasModel());
    }

    // Steps until aDone holds (or aLimit frames), noting each clip the player changes to.
    template <typename Condition>
    void RunUntil(Condition aDone, int aLimit = 400)
    {
        for (int frame = 0; frame < aLimit && !aDone(); ++frame)
        {
            myRig->Step();
            if (myClips.empty() || myClips.back() != myRig->Clip())
            {
                myClips.push_back(myRig->Clip());
            }
        }
    }

    std::unique_ptr<ControllerRig> myRig;
    std::vector<int> myClips;
};
} // namespace

TEST_F(PlayerStates, WalkingOffAnEdgeAndJumpingFallWithDifferentClips)
{
    using namespace PlayerClip;
    ControllerRig& rig = *myRig;
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Step();
    EXPECT_EQ(rig.StateName(), "Idle");
    EXPECT_EQ(rig.Clip(), IDLE);

    rig.Press(KEY_D);
    RunUntil([&] { return rig.StateName() == "Walking"; });
    rig.Controller().ClearContact(PlayerController::SIDE_GROUND);
    RunUntil([&] { return rig.StateName() == "Falling"; });
    rig.Release(KEY_D);
    rig.Steps(4);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    RunUntil([&] { return rig.StateName() == "Idle"; });
    EXPECT_EQ(myClips, (std::vector<int>{WALK, EDGE_FALL_START, EDGE_FALL, JUMP_LEAVE, IDLE}));

    myClips.clear();
    rig.Press(KEY_SPACE);
    RunUntil([&] { return rig.StateName() == "Falling"; });
    rig.Release(KEY_SPACE);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    RunUntil([&] { return rig.StateName() == "Idle"; });
    // The jump's clip (0.4 s) ends before the apex (0.44 s): the fall starts while still rising.
    EXPECT_EQ(myClips, (std::vector<int>{IDLE, JUMP, FALL_START, FALL, JUMP_LEAVE, IDLE}));
}

TEST_F(PlayerStates, WallGrabAndSlidePickTheLeftClipsWhileFacingLeft)
{
    using namespace PlayerClip;
    for (const bool facingRight : {false, true})
    {
        SetUp();
        ControllerRig& rig = *myRig;
        rig.PlaceAt(0.0f, 800.0f);
        rig.Controller().SetFacingRight(facingRight);
        const int side = facingRight ? PlayerController::SIDE_RIGHT_WALL : PlayerController::SIDE_LEFT_WALL;
        rig.Press(facingRight ? KEY_D : KEY_A);
        myClips.clear();
        RunUntil(
            [&]
            {
                rig.Controller().OnContact(side);
                return rig.StateName() == "Wall Slide";
            });
        EXPECT_EQ(rig.Controller().IsFacingRight(), facingRight);
        const int f = facingRight ? 1 : 0;
        EXPECT_EQ(myClips, (std::vector<int>{WALK, WALL_GRAB_LEFT + f, WALL_SLIDE_LEFT + f}));
    }
}

TEST_F(PlayerStates, AKillingHitGoesThroughHurtToDeathInOneFrameAndDeathAsksForARespawn)
{
    myRig = std::make_unique<ControllerRig>(nullptr, Body::Full, 1);
    ControllerRig& rig = *myRig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Controller().SetFacingRight(false);
    rig.Step();
    rig.Damageable().TakeDamage(1, nullptr);
    rig.Step();
    EXPECT_EQ(rig.StateName(), "Death");
    EXPECT_EQ(rig.Clip(), PlayerClip::DEATH);
    EXPECT_FALSE(rig.Animator().IsBlinking());
    EXPECT_TRUE(rig.Mesh().IsEnabled());
    EXPECT_TRUE(rig.Controller().IsFacingRight());
    EXPECT_FALSE(rig.Animator().ConsumeRespawnRequest());

    RunUntil([&] { return rig.StateName() != "Death"; });
    EXPECT_EQ(rig.StateName(), "Idle");
    EXPECT_TRUE(rig.Animator().ConsumeRespawnRequest());
    EXPECT_FALSE(rig.Animator().ConsumeRespawnRequest());
}

TEST_F(PlayerStates, TheHurtBlinkSlowsDownAndEndsVisible)
{
    ControllerRig& rig = *myRig;
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Step();
    rig.Damageable().TakeDamage(1, nullptr);
    rig.Step();
    EXPECT_EQ(rig.StateName(), "Hurt");
    EXPECT_EQ(rig.Clip(), PlayerClip::DAMAGE_ON_GROUND);
    ASSERT_TRUE(rig.Animator().IsBlinking());

    std::vector<int> toggleFrames;
    bool visible = rig.Mesh().IsEnabled();
    for (int frame = 1; frame <= 200; ++frame)
    {
        rig.Step();
        if (rig.Mesh().IsEnabled() != visible)
        {
            visible = rig.Mesh().IsEnabled();
            toggleFrames.push_back(frame);
        }
    }
    ASSERT_GE(toggleFrames.size(), 20u);
    // 0.1 s apart (6 or 7 frames of 1/64 s) until 0.875 s of the 2.5 s are left, then 0.22 s apart.
    for (std::size_t i = 1; i < toggleFrames.size(); ++i)
    {
        const int gap = toggleFrames[i] - toggleFrames[i - 1];
        const bool isSlow = toggleFrames[i] * DT > 2.5f - 0.875f + 2.0f * DT;
        if (isSlow)
        {
            EXPECT_TRUE(gap == 14 || gap == 15) << "gap " << gap << " at frame " << toggleFrames[i];
        }
        else if (toggleFrames[i] * DT < 2.5f - 0.875f)
        {
            EXPECT_TRUE(gap == 6 || gap == 7) << "gap " << gap << " at frame " << toggleFrames[i];
        }
    }
    EXPECT_FALSE(rig.Animator().IsBlinking());
    EXPECT_TRUE(rig.Mesh().IsEnabled());
    EXPECT_EQ(rig.StateName(), "Idle");
}

TEST_F(PlayerStates, TheFirstLevelPlaysThePreSpiritVariantsUntilTheSpiritIsMet)
{
    using namespace PlayerClip;
    const ScopedLevel firstLevel(PlayerController::FIRST_LEVEL_PATH);
    PlayerAnimator::SetCurrentLevelPath(PlayerController::FIRST_LEVEL_PATH);
    myRig = std::make_unique<ControllerRig>(nullptr, Body::Full);
    ControllerRig& rig = *myRig;
    rig.Start();
    // A scene load puts the player back in Idle once the controller knows the level.
    rig.Controller().ResetToIdle();
    rig.Controller().ResetMovement();
    EXPECT_EQ(rig.Clip(), IDLE_PRE_SPIRIT);
    rig.Steps(33);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Press(KEY_D);
    rig.Step();
    EXPECT_EQ(rig.Clip(), WALK_PRE_SPIRIT);
    rig.Release(KEY_D);
    RunUntil([&] { return rig.StateName() == "Idle"; });
    EXPECT_EQ(myClips.back(), IDLE_PRE_SPIRIT);
    EXPECT_NE(std::find(myClips.begin(), myClips.end(), STOP_PRE_SPIRIT), myClips.end());

    rig.Controller().LeavePreSpirit();
    rig.Controller().ResetToIdle();
    EXPECT_EQ(rig.Clip(), IDLE);
    PlayerAnimator::SetCurrentLevelPath("");
}

TEST_F(PlayerStates, AGroundPoundRunsItsThreeClipsAndVictoryLocksInput)
{
    using namespace PlayerClip;
    ControllerRig& rig = *myRig;
    rig.PlaceAt(0.0f, 2000.0f);
    rig.Steps(2);
    rig.Press(KEY_S);
    RunUntil([&] { return rig.StateName() == "Ground Pound Fall"; });
    rig.Release(KEY_S);
    rig.Steps(10);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    RunUntil([&] { return rig.StateName() == "Idle"; });
    // Idle has no way into a fall of its own, so the pound starts straight from it.
    EXPECT_EQ(myClips,
              (std::vector<int>{IDLE, GROUND_POUND_START, GROUND_POUND_FALL, GROUND_POUND_END, IDLE}));

    rig.Animator().EnterVictoryState();
    EXPECT_EQ(rig.StateName(), "Victory");
    EXPECT_EQ(rig.Clip(), WIN);
    EXPECT_TRUE(rig.Controller().IsInputLocked());
    rig.Press(KEY_D);
    rig.Steps(100);
    EXPECT_EQ(rig.StateName(), "Victory");
    EXPECT_FLOAT_EQ(rig.X(), 0.0f);

    // Only a scene load ends it.
    rig.Controller().ResetToIdle();
    EXPECT_EQ(rig.StateName(), "Idle");
    EXPECT_FALSE(rig.Controller().IsInputLocked());
    EXPECT_TRUE(rig.Controller().IsFrozen());
}

TEST_F(PlayerStates, AMissingClipIsReportedOnceAndItsTimedStateEndsAtOnce)
{
    using namespace PlayerClip;
    myRig = std::make_unique<ControllerRig>(nullptr, Body::Full, 2, JUMP);
    ControllerRig& rig = *myRig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Step();
    testing::internal::CaptureStdout();
    rig.Press(KEY_SPACE);
    rig.Steps(2);
    EXPECT_EQ(rig.StateName(), "Jump Start");
    EXPECT_EQ(rig.Clip(), JUMP);
    // No length: the next frame moves on, while the player is still rising.
    rig.Step();
    EXPECT_EQ(rig.StateName(), "Fall Start");
    EXPECT_EQ(rig.Clip(), FALL_START);
    rig.Steps(20);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output,
              "[PlayerAnimator] Clip 12 has no animation (\"Animations/Player/missing.fbx\"); the player "
              "holds its pose\n");
}

TEST_F(PlayerStates, ThePreloadImportsEveryClipSoPlayingThemImportsNothing)
{
    myRig.reset();
    Qel::ModelFactory::DestroyInstance();
    PlayerAnimator::StartAnimationPreloadAsync().get();
    Qel::ModelFactory& factory = *Qel::ModelFactory::GetInstance();
    ASSERT_EQ(factory.GetAnimationCount(), static_cast<std::size_t>(PlayerClip::COUNT));

    myRig = std::make_unique<ControllerRig>(nullptr, Body::Full);
    myRig->Start();
    for (int clip = 0; clip < PlayerClip::COUNT; ++clip)
    {
        myRig->Animator().PlayAnimation(clip);
        const Qel::AnimationPlayer* player = myRig->Animator().GetCurrentAnimationPlayer();
        ASSERT_NE(player, nullptr);
        EXPECT_NE(player->myAnimation, nullptr) << PlayerAnimator::GetClipPath(clip);
    }
    EXPECT_EQ(factory.GetAnimationCount(), static_cast<std::size_t>(PlayerClip::COUNT))
        << "a clip was imported while the level played";
}
