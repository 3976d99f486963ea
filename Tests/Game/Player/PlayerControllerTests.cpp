#include "PlayerTestRig.h"

#include "Platform/Pad/SdlPadBackend.h"
#include "Session/LevelCounters.h"
#include "Support/VirtualPad.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace PlayerTest;

namespace
{
struct Flight
{
    float apexHeight = 0.0f;
    float apexTime = 0.0f;
};

// The fall recurrence the controller integrates, worked out independently: the jump frame only lifts
// by half a unit, then each frame takes gravity off the speed and moves by the new speed.
Flight ExpectedFlight(float aJumpForce, float aGravity)
{
    float y = 0.5f;
    float speed = aJumpForce;
    Flight flight{y, 0.0f};
    for (int frame = 1; frame < 200; ++frame)
    {
        speed -= aGravity * DT;
        y += speed * DT;
        if (y > flight.apexHeight)
        {
            flight = {y, static_cast<float>(frame) * DT};
        }
    }
    return flight;
}

Flight FlyJump(ControllerRig& aRig)
{
    aRig.Controller().OnContact(PlayerController::SIDE_GROUND);
    // Held through the flight: a release would cut it short.
    aRig.Press(KEY_SPACE);
    aRig.Step();
    Flight flight{aRig.Y(), 0.0f};
    for (int frame = 1; frame < 200 && aRig.Controller().IsRising(); ++frame)
    {
        aRig.Step();
        if (aRig.Y() > flight.apexHeight)
        {
            flight = {aRig.Y(), static_cast<float>(frame) * DT};
        }
    }
    return flight;
}

// Airborne against the left wall, holding A for one frame so the wall counts as held.
void HoldOnLeftWall(ControllerRig& aRig)
{
    aRig.PlaceAt(0.0f, 500.0f);
    aRig.Controller().OnContact(PlayerController::SIDE_LEFT_WALL);
    aRig.Press(KEY_A);
    aRig.Step();
}
} // namespace

TEST(PlayerControllerJump, ApexAndTimeFollowTheRecurrenceWithDefaultAndFirstLevelValues)
{
    {
        ControllerRig rig;
        rig.Start();
        const Flight flight = FlyJump(rig);
        const Flight expected = ExpectedFlight(1650.0f, 3750.0f);
        EXPECT_NEAR(flight.apexHeight, expected.apexHeight, 1e-3f);
        EXPECT_FLOAT_EQ(flight.apexTime, expected.apexTime);
        // The continuous apex is 1650^2 / 7500 = 363 after 0.44 s; the steps differ by about one frame.
        EXPECT_NEAR(flight.apexHeight, 363.0f, 1650.0f * DT);
        EXPECT_NEAR(flight.apexTime, 0.44f, DT);
    }
    {
        const ScopedLevel firstLevel(PlayerController::FIRST_LEVEL_PATH);
        ControllerRig rig;
        rig.Start();
        EXPECT_TRUE(rig.Controller().IsPreSpirit());
        EXPECT_FLOAT_EQ(rig.Controller().GetJumpForce(), 1237.5f);
        EXPECT_FLOAT_EQ(rig.Controller().GetEffectiveMaxSpeed(), 600.0f);
        const Flight flight = FlyJump(rig);
        const Flight expected = ExpectedFlight(1237.5f, 3750.0f);
        EXPECT_NEAR(flight.apexHeight, expected.apexHeight, 1e-3f);
        EXPECT_FLOAT_EQ(flight.apexTime, expected.apexTime);
        EXPECT_NEAR(flight.apexHeight, 204.0f, 1237.5f * DT);

        rig.Controller().LeavePreSpirit();
        EXPECT_FLOAT_EQ(rig.Controller().GetJumpForce(), 1650.0f);
        EXPECT_FLOAT_EQ(rig.Controller().GetCurrentMaxSpeed(), 1000.0f);
    }
}

TEST(PlayerControllerJump, WallJumpsLeaveAt1400AcrossAnd1897Point5Up)
{
    ControllerRig rig;
    rig.Start();
    HoldOnLeftWall(rig);
    EXPECT_EQ(rig.Controller().GetLastWallKey(), PlayerController::WALL_KEY_LEFT);
    EXPECT_TRUE(rig.Controller().CanJump());
    rig.Release(KEY_A);
    rig.Press(KEY_SPACE);
    rig.Step();
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 1897.5f);
    // The jump sets 1400; with no key held the same frame's friction takes 8 dt of it.
    EXPECT_FLOAT_EQ(rig.Controller().GetHorizontalVelocity(), 1400.0f * (1.0f - 8.0f * DT));
    EXPECT_EQ(rig.Controller().GetLastWallKey(), PlayerController::WALL_KEY_NONE);
    EXPECT_FALSE(rig.Controller().IsTouching(PlayerController::SIDE_LEFT_WALL));

    ControllerRig mirrored;
    mirrored.Start();
    mirrored.PlaceAt(0.0f, 500.0f);
    mirrored.Controller().OnContact(PlayerController::SIDE_RIGHT_WALL);
    mirrored.Press(KEY_D);
    mirrored.Step();
    mirrored.Release(KEY_D);
    mirrored.Press(KEY_SPACE);
    mirrored.Step();
    EXPECT_FLOAT_EQ(mirrored.Controller().GetVerticalVelocity(), 1897.5f);
    EXPECT_FLOAT_EQ(mirrored.Controller().GetHorizontalVelocity(), -1400.0f * (1.0f - 8.0f * DT));
}

TEST(PlayerControllerJump, GraceAfterAnEdgeAndTheBufferedPress)
{
    // 3 frames (0.047 s) after walking off an edge the jump still works.
    {
        ControllerRig rig;
        rig.Start();
        rig.Controller().OnContact(PlayerController::SIDE_GROUND);
        rig.Step();
        rig.Controller().ClearContact(PlayerController::SIDE_GROUND);
        rig.Steps(2);
        rig.Tap(KEY_SPACE);
        EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 1650.0f);
        EXPECT_EQ(rig.Controller().GetJumpsLeft(), 0);
    }
    // 10 frames (0.156 s) after: the press fails but starts the buffer, and a second press within the
    // forgiving delay jumps in the air with the jump still left.
    {
        ControllerRig rig;
        rig.Start();
        rig.Controller().OnContact(PlayerController::SIDE_GROUND);
        rig.Step();
        rig.Controller().ClearContact(PlayerController::SIDE_GROUND);
        rig.Steps(9);
        rig.Tap(KEY_SPACE);
        EXPECT_LT(rig.Controller().GetVerticalVelocity(), 0.0f);
        EXPECT_EQ(rig.Controller().GetJumpsLeft(), 1);
        EXPECT_FALSE(rig.Controller().CanJump());
        rig.Step();
        EXPECT_TRUE(rig.Controller().CanJump());
        rig.Tap(KEY_SPACE);
        EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 1650.0f);
    }
    // A press in the air shortly before landing jumps on the landing itself; a late one does not.
    for (const int framesBeforeLanding : {3, 8})
    {
        ControllerRig rig;
        rig.Start();
        rig.PlaceAt(0.0f, 300.0f);
        rig.Steps(20);
        rig.Tap(KEY_SPACE);
        rig.Steps(framesBeforeLanding - 1);
        rig.Controller().OnContact(PlayerController::SIDE_GROUND);
        if (framesBeforeLanding * DT < 0.1f)
        {
            EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 1650.0f);
            EXPECT_FALSE(rig.Controller().IsGrounded());
        }
        else
        {
            EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 0.0f);
            EXPECT_TRUE(rig.Controller().IsGrounded());
        }
    }
}

TEST(PlayerControllerJump, EveryReleaseDoublesGravityUntilTheNextLanding)
{
    ControllerRig rig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Press(KEY_SPACE);
    rig.Step();
    rig.Step();
    const float rising = rig.Controller().GetVerticalVelocity();
    rig.Release(KEY_SPACE);
    rig.Step();
    EXPECT_FLOAT_EQ(rig.Controller().GetCurrentGravity(), 7500.0f);
    // The speed was cut by 1.75 after this frame's fall step.
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), (rising - 3750.0f * DT) / 1.75f);
    rig.Tap(KEY_SPACE);
    rig.Step();
    EXPECT_FLOAT_EQ(rig.Controller().GetCurrentGravity(), 15000.0f);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    EXPECT_FLOAT_EQ(rig.Controller().GetCurrentGravity(), 3750.0f);
}

TEST(PlayerControllerMoves, GroundPoundHangsForItsDelayThenFallsFromMinus2250WithoutLimit)
{
    ControllerRig rig;
    rig.Start();
    rig.PlaceAt(0.0f, 1000.0f);
    rig.Steps(4);
    rig.Tap(KEY_S);
    ASSERT_TRUE(rig.Controller().IsGroundPounding());
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), -2250.0f);
    const float hangHeight = rig.Y();
    // Keys do nothing during the pound.
    rig.Press(KEY_D);
    for (int frame = 1; frame <= 19; ++frame)
    {
        rig.Step();
        EXPECT_FLOAT_EQ(rig.Y(), hangHeight) << "frame " << frame;
    }
    rig.Step();
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), -2250.0f - 3750.0f * DT);
    EXPECT_LT(rig.Y(), hangHeight);
    rig.Steps(20);
    EXPECT_LT(rig.Controller().GetVerticalVelocity(), -2250.0f - 20.0f * 3750.0f * DT);
    EXPECT_FLOAT_EQ(rig.X(), 0.0f);

    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    EXPECT_FALSE(rig.Controller().IsGroundPounding());
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 0.0f);
}

TEST(PlayerControllerMoves, WallSlideFallsNoFasterThan150AndFreeFallNoFasterThan1500)
{
    ControllerRig rig;
    rig.Start();
    HoldOnLeftWall(rig);
    float fastest = 0.0f;
    for (int frame = 0; frame < 128; ++frame)
    {
        rig.Step();
        rig.Controller().OnContact(PlayerController::SIDE_LEFT_WALL);
        fastest = std::min(fastest, rig.Controller().GetVerticalVelocity());
    }
    EXPECT_TRUE(rig.Controller().IsOnWall());
    EXPECT_NEAR(rig.Controller().GetVerticalVelocity(), -150.0f, 0.5f);
    // One frame of gravity past the limit at most, pulled back afterwards.
    EXPECT_GT(fastest, -150.0f - 3750.0f * DT - 0.01f);

    ControllerRig falling;
    falling.Start();
    falling.PlaceAt(0.0f, 10000.0f);
    falling.Steps(256);
    EXPECT_NEAR(falling.Controller().GetVerticalVelocity(), -1500.0f, 0.5f);
}

TEST(PlayerControllerMoves, LeftWinsOverRightUnlessALeftWallBlocksIt)
{
    ControllerRig rig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Press(KEY_A);
    rig.Press(KEY_D);
    rig.Step();
    EXPECT_FLOAT_EQ(rig.Controller().GetHorizontalVelocity(), -3000.0f * DT);
    EXPECT_LT(rig.X(), 0.0f);

    ControllerRig walled;
    walled.Start();
    walled.Controller().OnContact(PlayerController::SIDE_GROUND);
    walled.Controller().OnContact(PlayerController::SIDE_LEFT_WALL);
    walled.Press(KEY_A);
    walled.Press(KEY_D);
    walled.Step();
    EXPECT_FLOAT_EQ(walled.Controller().GetHorizontalVelocity(), 3000.0f * DT);
    EXPECT_FALSE(walled.Controller().IsTouching(PlayerController::SIDE_LEFT_WALL));
}

TEST(PlayerControllerMoves, RunsUpToItsMaximumAndSprintsPastIt)
{
    ControllerRig rig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Press(KEY_D);
    // 1000 at 3000/s^2 takes a third of a second; well after it the speed holds just under the top.
    rig.Steps(64);
    EXPECT_NEAR(rig.Controller().GetHorizontalVelocity(), 1000.0f, 3000.0f * DT);
    EXPECT_FALSE(rig.Controller().IsRunning());
    rig.Tap(KEY_SHIFT);
    rig.Press(KEY_SHIFT);
    rig.Steps(64);
    EXPECT_TRUE(rig.Controller().IsRunning());
    EXPECT_NEAR(rig.Controller().GetHorizontalVelocity(), 1300.0f, 7800.0f * DT);
    EXPECT_GT(rig.Controller().GetHorizontalVelocity(), 1100.0f);
    rig.Release(KEY_SHIFT);
    rig.Step();
    EXPECT_FALSE(rig.Controller().IsSprinting());
    EXPECT_FLOAT_EQ(rig.Controller().GetCurrentMaxSpeed(), 1000.0f);
}

TEST(PlayerControllerMoves, NothingMovesDuringTheHalfSecondStartUp)
{
    ControllerRig rig;
    rig.PlaceAt(0.0f, 500.0f);
    rig.Start(false);
    rig.Press(KEY_D);
    for (int frame = 0; frame < 32; ++frame)
    {
        EXPECT_FALSE(rig.Controller().HasMoveInput()) << "frame " << frame;
        rig.Step();
    }
    EXPECT_FLOAT_EQ(rig.X(), 0.0f);
    EXPECT_FLOAT_EQ(rig.Y(), 500.0f);
    rig.Step();
    EXPECT_TRUE(rig.Controller().HasMoveInput());
    EXPECT_GT(rig.X(), 0.0f);
    EXPECT_LT(rig.Y(), 500.0f);

    // A scene load freezes the player and releases it with the start-up delay running again.
    rig.Controller().ResetToIdle();
    const float frozenX = rig.X();
    rig.Steps(8);
    EXPECT_FLOAT_EQ(rig.X(), frozenX);
    rig.Controller().ResetMovement();
    rig.Steps(32);
    EXPECT_FLOAT_EQ(rig.X(), frozenX);
    rig.Steps(2);
    EXPECT_GT(rig.X(), frozenX);
}

TEST(PlayerControllerMoves, ScriptedWalkArrivesWithinTenUnitsAndStops)
{
    ControllerRig rig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Controller().MoveTo({300.0f, 0.0f, 0.0f}, 640.0f);
    ASSERT_TRUE(rig.Controller().IsScriptedWalkActive());
    rig.Step();
    EXPECT_FLOAT_EQ(rig.X(), 10.0f);
    rig.Steps(28);
    // 10 units short is not yet there.
    EXPECT_FLOAT_EQ(rig.X(), 290.0f);
    EXPECT_TRUE(rig.Controller().IsScriptedWalkActive());
    rig.Step();
    EXPECT_FLOAT_EQ(rig.X(), 300.0f);
    EXPECT_FALSE(rig.Controller().IsScriptedWalkActive());
}

TEST(PlayerControllerMoves, KnockbackSparesBlockedSidesAndRespawnResetsTheBody)
{
    ControllerRig rig;
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    rig.Controller().OnContact(PlayerController::SIDE_LEFT_WALL);
    rig.Controller().ApplyKnockback({-500.0f, -300.0f, 0.0f});
    EXPECT_FLOAT_EQ(rig.Controller().GetHorizontalVelocity(), 0.0f);
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 0.0f);
    rig.Controller().ApplyKnockback({500.0f, 1800.0f, 0.0f});
    EXPECT_FLOAT_EQ(rig.Controller().GetHorizontalVelocity(), 500.0f);
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 1800.0f);

    SetPlayerHealth(0);
    rig.Controller().Respawn({40.0f, 80.0f, 0.0f}, false);
    EXPECT_EQ(GetPlayerHealth(), 2);
    EXPECT_FLOAT_EQ(rig.X(), 40.0f);
    EXPECT_FLOAT_EQ(rig.Y(), 81.0f);
    EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 0.0f);
    EXPECT_FALSE(rig.Controller().IsFacingRight());
    EXPECT_TRUE(rig.Controller().IsGrounded());
    EXPECT_FALSE(rig.Controller().IsTouching(PlayerController::SIDE_LEFT_WALL));
}

TEST(PlayerControllerPad, KeyboardIsIgnoredWhileAPadIsInUse)
{
    Platform::SdlPadBackend backend;
    ASSERT_TRUE(backend.IsReady()) << SDL_GetError();
    ControllerRig rig(&backend);
    rig.Start();
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    {
        QelTest::VirtualPad pad;
        ASSERT_TRUE(pad.IsAttached()) << SDL_GetError();
        rig.Press(KEY_D);
        rig.Steps(4);
        EXPECT_TRUE(rig.Controller().IsPadInUse());
        EXPECT_FLOAT_EQ(rig.X(), 0.0f);
        EXPECT_FALSE(rig.Controller().HasMoveInput());

        // Half a stick to the left: the top speed follows the stick, the keyboard's D is still ignored.
        pad.Set(SDL_CONTROLLER_AXIS_LEFTX, -16384);
        SDL_PumpEvents();
        rig.Steps(64);
        EXPECT_LT(rig.X(), 0.0f);
        EXPECT_NEAR(rig.Controller().GetCurrentMaxSpeed(), 500.0f, 30.0f);
        EXPECT_NEAR(rig.Controller().GetHorizontalVelocity(), -rig.Controller().GetCurrentMaxSpeed(), 50.0f);

        pad.Set(SDL_CONTROLLER_AXIS_LEFTX, 0);
        pad.Set(SDL_CONTROLLER_BUTTON_A, true);
        SDL_PumpEvents();
        rig.Step();
        EXPECT_FLOAT_EQ(rig.Controller().GetVerticalVelocity(), 1650.0f);
    }
    SDL_PumpEvents();
    // Unplugged: the keyboard counts again.
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    const float speed = rig.Controller().GetHorizontalVelocity();
    rig.Steps(4);
    EXPECT_FALSE(rig.Controller().IsPadInUse());
    EXPECT_TRUE(rig.Controller().HasMoveInput());
    EXPECT_GT(rig.Controller().GetHorizontalVelocity(), speed + 100.0f);
}

TEST(PlayerControllerMoves, ALandingNearThePreviousHeightDropsThePendingLandingImpact)
{
    ControllerRig rig;
    rig.Start();
    GameObject platform("Platform");
    rig.PlaceAt(0.0f, 100.0f);
    rig.Step();
    rig.Controller().SetLandingImpact(&platform, 640.0f, false);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    GameObject* landedOn = nullptr;
    float speed = 0.0f;
    bool wasPound = true;
    ASSERT_TRUE(rig.Controller().ConsumeLandingImpact(landedOn, speed, wasPound));
    EXPECT_EQ(landedOn, &platform);
    EXPECT_FLOAT_EQ(speed, 640.0f);
    EXPECT_FALSE(wasPound);
    EXPECT_FALSE(rig.Controller().ConsumeLandingImpact(landedOn, speed, wasPound));

    // Up and down again within 20 units of the last landing: the impact set on the way is dropped.
    rig.Controller().ClearContact(PlayerController::SIDE_GROUND);
    rig.PlaceAt(0.0f, 110.0f);
    rig.Step();
    rig.Controller().SetLandingImpact(&platform, 300.0f, true);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    EXPECT_FALSE(rig.Controller().ConsumeLandingImpact(landedOn, speed, wasPound));

    // 20 units or more counts again.
    rig.Controller().ClearContact(PlayerController::SIDE_GROUND);
    rig.PlaceAt(0.0f, 160.0f);
    rig.Step();
    rig.Controller().SetLandingImpact(&platform, 300.0f, true);
    rig.Controller().OnContact(PlayerController::SIDE_GROUND);
    EXPECT_TRUE(rig.Controller().ConsumeLandingImpact(landedOn, speed, wasPound));
    EXPECT_TRUE(wasPound);
}
