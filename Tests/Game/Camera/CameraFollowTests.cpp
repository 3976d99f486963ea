// A stand-in player runs and jumps through a level whose camera profile bounds the view; the camera,
// driven in the world's frame order, keeps the player in its dead zone and itself inside the bounds.
#include "Camera/CameraController.h"
#include "ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr float DT = 1.0f / 64.0f;

// Runs right, hops now and then, and turns back at the level's end.
struct StandInPlayer
{
    void Step(float aDeltaTime)
    {
        position.x += speed * aDeltaTime;
        if (position.x > 9000.0f)
        {
            speed = -std::abs(speed);
        }
        time += aDeltaTime;
        // A hop of 300 units every two seconds.
        const float hop = std::fmod(time, 2.0f);
        position.y = hop < 1.0f ? 300.0f * std::sin(hop * 3.14159265f) : 0.0f;
    }

    Qel::Vector3<float> position{200.0f, 0.0f, 0.0f};
    float speed = 700.0f;
    float time = 0.0f;
};

class CameraFollowsPlayer : public QelTest::ProfileFolderFixture
{
protected:
    void SetUp() override
    {
        ProfileFolderFixture::SetUp();
        WriteProfile("camera_profiles", "global_default.json",
                     R"({"modes": {"horizontal": {"followOffset": [0, 400, -4200], "followFovRadians": 0.53,
                         "horizontalPadding": 90, "verticalPadding": 80, "lookAheadDistance": 300,
                         "lerpSpeed": 6}}})");
        WriteProfile("camera_profiles", "L_Run.json",
                     R"({"modes": {"horizontal": {"cameraBoundsEnabled": true,
                         "cameraBoundsMin": [1200, 300, -6000], "cameraBoundsMax": [7800, 2000, 0]}}})");
        myCamera.ResetToDefaults();
        myCamera.SetLevelName("levels/L_Run.vks");
        myCamera.LoadProfiles();
        myCamera.SnapToPlayer(myPlayer.position);
    }

    void Frame()
    {
        myCamera.Update(DT);
        myPlayer.Step(DT);
        if (myCamera.IsFollowEnabled())
        {
            myCamera.UpdateFollow(DT, myPlayer.position);
        }
    }

    CameraController myCamera;
    StandInPlayer myPlayer;
};

TEST_F(CameraFollowsPlayer, WithinItsDeadZoneAndBounds)
{
    const CameraProfile& live = myCamera.GetLiveSettings();
    float lowestX = 1e9f;
    float highestX = -1e9f;
    bool turnedBack = false;
    for (int frame = 0; frame < 64 * 20; ++frame)
    {
        Frame();
        const Qel::Vector3<float>& camera = myCamera.GetPosition();
        const Qel::Vector2<float> focus = myCamera.GetFocus();
        ASSERT_LE(std::abs(myPlayer.position.x - focus.x), live.horizontalPadding + 0.01f)
            << "frame " << frame;
        ASSERT_LE(std::abs(myPlayer.position.y - focus.y), live.verticalPadding + 0.01f) << "frame " << frame;
        ASSERT_GE(camera.x, 1200.0f);
        ASSERT_LE(camera.x, 7800.0f);
        ASSERT_GE(camera.y, 300.0f);
        ASSERT_LE(camera.y, 2000.0f);
        lowestX = std::min(lowestX, camera.x);
        highestX = std::max(highestX, camera.x);
        turnedBack = turnedBack || myCamera.GetFacing() < 0;
        // In the open middle of the level the camera keeps up with the runner.
        if (myPlayer.position.x > 3000.0f && myPlayer.position.x < 6000.0f)
        {
            ASSERT_LT(std::abs(camera.x - myPlayer.position.x), 600.0f) << "frame " << frame;
        }
    }
    // The bounds held the camera at both ends while the player ran on.
    EXPECT_FLOAT_EQ(lowestX, 1200.0f);
    EXPECT_FLOAT_EQ(highestX, 7800.0f);
    EXPECT_TRUE(turnedBack);
    EXPECT_FLOAT_EQ(myCamera.GetPosition().z, -4200.0f);
}
} // namespace
