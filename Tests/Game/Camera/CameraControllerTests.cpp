// The level camera's motion: following with dead zone, look-ahead and smoothing, sway and shake, the
// auto-camera and the rotation, with the built-in settings.
#include "Camera/CameraController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float DT = 1.0f / 64.0f;
using Vector3 = Qel::Vector3<float>;

class CameraMotion : public testing::Test
{
protected:
    void SetUp() override
    {
        myCamera.ResetToDefaults();
        myCamera.ApplyActiveProfile();
        myCamera.SnapToPlayer(myPlayer);
    }

    void Follow(int aFrames, float aDeltaTime = DT)
    {
        for (int frame = 0; frame < aFrames; ++frame)
        {
            myCamera.UpdateFollow(aDeltaTime, myPlayer);
        }
    }

    CameraController myCamera;
    Vector3 myPlayer{1000.0f, 200.0f, 0.0f};
};

TEST_F(CameraMotion, SnapPlacesTheCameraAheadOfAndAboveThePlayer)
{
    EXPECT_FLOAT_EQ(myCamera.GetPosition().x, 1346.0f);
    EXPECT_FLOAT_EQ(myCamera.GetPosition().y, 706.0f);
    EXPECT_FLOAT_EQ(myCamera.GetPosition().z, -4500.0f);
    EXPECT_EQ(myCamera.GetFacing(), 1);
    EXPECT_FLOAT_EQ(myCamera.GetCurrentFov(), 1.2217305f);
}

TEST_F(CameraMotion, AZeroStepLeavesTheCameraStill)
{
    myCamera.AddShake(1.0f, 60.0f);
    Follow(5);
    const Vector3 before = myCamera.GetPosition();
    const float lookAhead = myCamera.GetLookAhead();
    const float shakeLeft = myCamera.GetShakeRemaining();

    myPlayer.x -= 3000.0f;
    myCamera.UpdateFollow(0.0f, myPlayer);
    EXPECT_EQ(myCamera.GetPosition(), before);
    EXPECT_EQ(myCamera.GetFacing(), 1);
    EXPECT_EQ(myCamera.GetLookAhead(), lookAhead);
    EXPECT_EQ(myCamera.GetShakeRemaining(), shakeLeft);

    myCamera.Update(0.0f);
    EXPECT_EQ(myCamera.GetPosition(), before);
}

TEST_F(CameraMotion, TheFocusMovesOnlyWhenThePlayerLeavesTheDeadZone)
{
    const float padding = myCamera.GetLiveSettings().horizontalPadding;
    myPlayer.x += padding - 1.0f;
    myPlayer.y -= 70.0f;
    Follow(1);
    EXPECT_EQ(myCamera.GetFocus().x, 1000.0f);
    EXPECT_EQ(myCamera.GetFocus().y, 200.0f);

    myPlayer.x = 1300.0f;
    myPlayer.y = 0.0f;
    Follow(1);
    EXPECT_FLOAT_EQ(myCamera.GetFocus().x, 1300.0f - padding);
    EXPECT_FLOAT_EQ(myCamera.GetFocus().y, 0.0f + myCamera.GetLiveSettings().verticalPadding);
}

TEST_F(CameraMotion, RunningLeftTurnsTheLookAheadRoundGradually)
{
    const float distance = myCamera.GetLiveSettings().lookAheadDistance;
    // Slower than the threshold: the camera keeps looking right.
    myPlayer.x -= 50.0f * DT;
    Follow(1);
    EXPECT_EQ(myCamera.GetFacing(), 1);
    EXPECT_FLOAT_EQ(myCamera.GetLookAhead(), distance);

    myPlayer.x -= 600.0f * DT;
    Follow(1);
    EXPECT_EQ(myCamera.GetFacing(), -1);
    const float t = 1.0f - std::exp(-myCamera.GetLiveSettings().lerpSpeed * DT);
    EXPECT_NEAR(myCamera.GetLookAhead(), distance - 2.0f * distance * t, 0.01f);

    Follow(64);
    EXPECT_NEAR(myCamera.GetLookAhead(), -distance, 0.01f);
    EXPECT_EQ(myCamera.GetFacing(), -1);
}

TEST_F(CameraMotion, SmoothingCatchesUpAtTheSameRateWhateverTheFrameRate)
{
    CameraController fine;
    fine.ResetToDefaults();
    fine.ApplyActiveProfile();
    fine.SnapToPlayer(myPlayer);

    myPlayer.y += 2000.0f;
    const float gapBefore = myPlayer.y - myCamera.GetPosition().y;
    Follow(4);
    for (int frame = 0; frame < 8; ++frame)
    {
        fine.UpdateFollow(DT / 2.0f, myPlayer);
    }
    EXPECT_NEAR(myCamera.GetPosition().y, fine.GetPosition().y, 0.5f);

    // A sixteenth of a second at 17 per second closes 1 - e^(-17/16) of the gap.
    const float closed = 1.0f - std::exp(-17.0f / 16.0f);
    const float target = myPlayer.y - myCamera.GetLiveSettings().verticalPadding + 506.0f;
    const float gap = target - 706.0f;
    EXPECT_GT(gapBefore, 0.0f);
    EXPECT_NEAR(myCamera.GetPosition().y - 706.0f, gap * closed, 5.0f);
}

TEST_F(CameraMotion, AStillPlayerLeavesOnlyTheIdleSway)
{
    float lowX = 1e9f;
    float highX = -1e9f;
    float lowY = 1e9f;
    float highY = -1e9f;
    // Past the first second, for a whole period of the sway.
    const int frames = 64 + static_cast<int>(std::ceil(64.0f / 0.28f));
    for (int frame = 0; frame < frames; ++frame)
    {
        myCamera.UpdateFollow(DT, myPlayer);
        if (frame < 64)
        {
            continue;
        }
        const Vector3 position = myCamera.GetPosition();
        lowX = std::min(lowX, position.x);
        highX = std::max(highX, position.x);
        lowY = std::min(lowY, position.y);
        highY = std::max(highY, position.y);
    }
    const float centreX = 1346.0f;
    const float centreY = 706.0f;
    // Smoothing trails the sway a little, so the swing falls a little short of its amplitude.
    EXPECT_NEAR(highX - centreX, 8.0f, 0.3f);
    EXPECT_NEAR(centreX - lowX, 8.0f, 0.3f);
    EXPECT_NEAR(highY - centreY, 3.6f, 0.2f);
    EXPECT_NEAR(centreY - lowY, 3.6f, 0.2f);
    EXPECT_EQ(myCamera.GetFocus().x, 1000.0f);
    EXPECT_EQ(myCamera.GetFocus().y, 200.0f);
}

TEST(CameraShake, StrengthsAddUpToTheCapAndALongShakeIsNotCutShort)
{
    CameraController camera;
    camera.AddShake(2.0f, 80.0f);
    camera.AddShake(0.5f, 80.0f);
    EXPECT_FLOAT_EQ(camera.GetShakeStrength(), 120.0f);
    EXPECT_FLOAT_EQ(camera.GetShakeRemaining(), 2.0f);
    camera.AddShake(1.0f, -50.0f);
    EXPECT_FLOAT_EQ(camera.GetShakeStrength(), 120.0f);

    CameraController brief;
    brief.AddShake(0.0f, 10.0f);
    EXPECT_FLOAT_EQ(brief.GetShakeRemaining(), 0.01f);
}

// With an auto-camera that sits on its target, the camera's distance from the target is the shake.
class AutoCameraShake : public testing::Test
{
protected:
    void SetUp() override
    {
        myCamera.ResetToDefaults();
        CameraController::AutoCamera& autoCamera = myCamera.GetAutoCamera();
        autoCamera.active = true;
        autoCamera.positionSpeed = 0.0f;
        autoCamera.targetPosition = {100.0f, 200.0f, -3000.0f};
    }

    Vector3 StepOffset(float aDeltaTime)
    {
        myCamera.Update(aDeltaTime);
        return myCamera.GetPosition() - myCamera.GetAutoCamera().targetPosition;
    }

    CameraController myCamera;
};

TEST_F(AutoCameraShake, TheOffsetFadesWithTheSquareOfTheTimeLeft)
{
    myCamera.AddShake(1.0f, 100.0f);
    const Vector3 offset = StepOffset(0.25f);
    const float amplitude = 100.0f * 0.75f * 0.75f;
    const float angle = 2.0f * 3.14159265f * 0.25f * 9.0f;
    EXPECT_NEAR(offset.x, std::sin(2.07f * angle) * amplitude, 0.01f);
    EXPECT_NEAR(offset.y, std::cos(1.63f * angle) * amplitude * 0.7f, 0.01f);
    EXPECT_EQ(offset.z, 0.0f);

    StepOffset(0.75f);
    EXPECT_EQ(myCamera.GetShakeStrength(), 0.0f);
    EXPECT_EQ(StepOffset(DT), Vector3());
}

TEST_F(AutoCameraShake, TwoStrongShakesNeverSwingBeyondTheCap)
{
    myCamera.AddShake(2.0f, 80.0f);
    myCamera.AddShake(2.0f, 80.0f);
    float largest = 0.0f;
    for (int frame = 1; frame <= 128; ++frame)
    {
        const Vector3 offset = StepOffset(DT);
        const float left = 1.0f - static_cast<float>(frame) * DT / 2.0f;
        EXPECT_LE(std::abs(offset.x), 120.0f * left * left + 0.01f) << "frame " << frame;
        largest = std::max(largest, std::abs(offset.x));
    }
    // More than one shake of 80 could give.
    EXPECT_GT(largest, 90.0f);
}

TEST(AutoCamera, ReachesItsTargetAndClampsItsFovAndTheFollowStaysIdle)
{
    CameraController camera;
    camera.ResetToDefaults();
    camera.ApplyActiveProfile();
    camera.SnapToPlayer({0.0f, 0.0f, 0.0f});
    CameraController::AutoCamera& autoCamera = camera.GetAutoCamera();
    autoCamera.active = true;
    autoCamera.targetPosition = {500.0f, 300.0f, -2000.0f};
    autoCamera.targetFov = 170.0f * 0.017453292f;
    autoCamera.fovSpeed = 0.0f;
    autoCamera.positionSpeed = 0.0f;
    camera.Update(DT);
    EXPECT_EQ(camera.GetPosition(), autoCamera.targetPosition);
    EXPECT_FLOAT_EQ(camera.GetCurrentFov(), 2.8012533f);

    camera.UpdateFollow(DT, {5000.0f, 0.0f, 0.0f});
    EXPECT_EQ(camera.GetPosition(), autoCamera.targetPosition);

    // At 8 per second a sixteenth of a second goes half the way.
    autoCamera.positionSpeed = 8.0f;
    autoCamera.fovSpeed = 8.0f;
    autoCamera.targetPosition = {1500.0f, 300.0f, -2000.0f};
    autoCamera.targetFov = 0.6f;
    camera.Update(1.0f / 16.0f);
    EXPECT_FLOAT_EQ(camera.GetPosition().x, 1000.0f);
    EXPECT_NEAR(camera.GetFov(), (2.8012533f + 0.6f) / 2.0f, 1e-5f);
}

TEST_F(CameraMotion, AfterTheAutoCameraLetsGoFollowingEasesBackFromWhereItIs)
{
    CameraController::AutoCamera& autoCamera = myCamera.GetAutoCamera();
    autoCamera.active = true;
    autoCamera.positionSpeed = 0.0f;
    autoCamera.targetPosition = {3000.0f, 900.0f, -5000.0f};
    myCamera.Update(DT);
    autoCamera.active = false;
    myCamera.Update(DT);
    EXPECT_EQ(myCamera.GetPosition(), autoCamera.targetPosition);

    Follow(1);
    const Vector3 eased = myCamera.GetPosition();
    EXPECT_LT(eased.x, 3000.0f);
    EXPECT_GT(eased.x, 2000.0f);
    Follow(128);
    EXPECT_NEAR(myCamera.GetPosition().x, 1346.0f, 10.0f);
    EXPECT_NEAR(myCamera.GetPosition().z, -4500.0f, 1.0f);
}

TEST(CameraRotation, TheFollowCameraLooksAtTheLevelAndALittleDown)
{
    CameraController camera;
    camera.ResetToDefaults();
    camera.SnapToPlayer({300.0f, 0.0f, 0.0f});
    // The engine camera's third row is the direction it looks in, its fourth where it stands.
    const Qel::Matrix4x4& view = camera.GetCamera().GetTransform();
    EXPECT_NEAR(view(3, 1), 0.0f, 1e-6f);
    EXPECT_NEAR(view(3, 2), -std::sin(0.0959931f), 1e-5f);
    EXPECT_NEAR(view(3, 3), std::cos(0.0959931f), 1e-5f);
    EXPECT_FLOAT_EQ(view(4, 1), 646.0f);
    EXPECT_FLOAT_EQ(view(4, 3), -4500.0f);
}

TEST(CameraRotation, QuaternionsFromAxisAndAngle)
{
    const Qel::Quaternion identity = CameraController::QuaternionFromAxisAngle({0.0f, 0.0f, 0.0f}, 1.0f);
    EXPECT_EQ(identity, Qel::Quaternion());
    const Qel::Quaternion turn = CameraController::QuaternionFromAxisAngle({0.0f, 3.0f, 0.0f}, 1.0f);
    EXPECT_FLOAT_EQ(turn.w, std::cos(0.5f));
    EXPECT_FLOAT_EQ(turn.y, std::sin(0.5f));
    EXPECT_EQ(turn.x, 0.0f);
}

TEST(CameraProjection, FollowsTheRenderSizeAndTheLivePlanes)
{
    CameraController camera;
    camera.ResetToDefaults();
    EXPECT_FLOAT_EQ(camera.GetAspect(), 1280.0f / 720.0f);
    EXPECT_FLOAT_EQ(camera.GetFov(), 0.5323254f);
    const Qel::Camera& engineCamera = camera.GetCamera();
    EXPECT_FLOAT_EQ(engineCamera.GetNearPlane(), 1500.0f);
    EXPECT_FLOAT_EQ(engineCamera.GetFarPlane(), 20000.0f);
    // A horizontal field of view of 30.5 degrees.
    EXPECT_NEAR(engineCamera.GetProjection()(1, 1), 1.0f / std::tan(0.5323254f / 2.0f), 1e-4f);
}
} // namespace
