#include "Support/Model/ModelFixtures.h"
#include "vek/model/AnimationPlayer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qel;

namespace
{
// A one-joint clip whose joint sits at x = frame index in frame k and turns 9 degrees a frame.
std::shared_ptr<Animation> MakeClip(std::uint32_t aFrames, float aFps, float aDuration)
{
    auto clip = std::make_shared<Animation>();
    clip->myFrameCount = aFrames;
    clip->myFramesPerSecond = aFps;
    clip->myDuration = aDuration;
    clip->myFrames.resize(aFrames);
    for (std::uint32_t k = 0; k < aFrames; ++k)
    {
        clip->myFrames[k].myCount = 1;
        clip->myFrames[k].mySlots[0].myPosition = Vector3<float>(static_cast<float>(k), 0.0f, 0.0f);
        clip->myFrames[k].mySlots[0].myRotation = QelTest::RotationY(9.0f * static_cast<float>(k));
    }
    return clip;
}

AnimationPlayer Playing(std::shared_ptr<Animation> aClip, bool aLooping)
{
    AnimationPlayer player;
    player.SetAnimation(std::move(aClip));
    player.myIsLooping = aLooping;
    player.myState = AnimationState::Playing;
    return player;
}

float X(const AnimationPlayer& aPlayer)
{
    return aPlayer.myPose.mySlots[0].myPosition.x;
}
} // namespace

TEST(AnimationPlayerPlayback, StartsIdleAndCopiesTheClipRate)
{
    AnimationPlayer player;
    EXPECT_EQ(player.myState, AnimationState::Initial);
    EXPECT_TRUE(player.myInterpolate);
    EXPECT_FALSE(player.myIsLooping);
    EXPECT_EQ(player.myPose.myCount, 0u);
    player.SetAnimation(MakeClip(11, 30.0f, 1.0f / 3.0f));
    EXPECT_FLOAT_EQ(player.myFramesPerSecond, 30.0f);
    EXPECT_EQ(player.myState, AnimationState::Initial);

    // Idle and stopped players keep their time but still sample it.
    player.myTime = 0.1f;
    player.Update(0.2f);
    EXPECT_FLOAT_EQ(player.myTime, 0.1f);
    EXPECT_NEAR(X(player), 3.0f, 1e-4f);
    player.myState = AnimationState::Stopped;
    player.myTime = 0.0f;
    player.Update(0.2f);
    EXPECT_FLOAT_EQ(player.myTime, 0.0f);
    EXPECT_FLOAT_EQ(X(player), 0.0f);
    EXPECT_EQ(player.myPose.myCount, 1u);
}

TEST(AnimationPlayerPlayback, FinishesOnTheLastFrameWithoutBlending)
{
    AnimationPlayer player = Playing(MakeClip(11, 30.0f, 1.0f / 3.0f), false);
    player.Update(0.1f);
    EXPECT_EQ(player.myState, AnimationState::Playing);
    EXPECT_NEAR(X(player), 3.0f, 1e-4f);
    player.Update(0.4f);
    EXPECT_FLOAT_EQ(player.myTime, 1.0f / 3.0f);
    EXPECT_EQ(player.myState, AnimationState::Finished);
    EXPECT_FLOAT_EQ(X(player), 10.0f);
    // A finished player stays where it ended.
    player.Update(1.0f);
    EXPECT_FLOAT_EQ(X(player), 10.0f);
}

TEST(AnimationPlayerPlayback, LoopsByWrappingAndBlendsNeighbours)
{
    AnimationPlayer player = Playing(MakeClip(11, 30.0f, 1.0f / 3.0f), true);
    player.Update(0.45f);
    EXPECT_NEAR(player.myTime, 0.45f - 1.0f / 3.0f, 1e-5f);
    EXPECT_EQ(player.myState, AnimationState::Playing);
    // Frame 3 towards frame 4 by about a half.
    EXPECT_NEAR(X(player), 3.5f, 1e-3f);
    const Quaternion expected = QelTest::RotationY(31.5f);
    EXPECT_NEAR(player.myPose.mySlots[0].myRotation.y, expected.y, 1e-3f);

    // Many durations at once wrap all the way.
    player.Update(10.0f);
    EXPECT_GE(player.myTime, 0.0f);
    EXPECT_LT(player.myTime, 1.0f / 3.0f);

    // Without interpolation the pose is the floor frame's exactly.
    player.myInterpolate = false;
    player.myTime = 0.0f;
    player.Update(0.45f);
    EXPECT_FLOAT_EQ(X(player), 3.0f);
}

TEST(AnimationPlayerPlayback, BlendsFromTheLastFrameTowardsTheFirstWhileLooping)
{
    AnimationPlayer player = Playing(MakeClip(4, 10.0f, 0.5f), true);
    player.Update(0.35f); // frame 3.5: the last frame, blended towards frame 0
    EXPECT_NEAR(X(player), 1.5f, 1e-4f);
}

TEST(AnimationPlayerPlayback, DegenerateClipsNeverHangOrReadPastTheEnd)
{
    // A looping clip of zero length.
    AnimationPlayer zero = Playing(MakeClip(1, 30.0f, 0.0f), true);
    zero.Update(0.5f);
    EXPECT_FLOAT_EQ(zero.myTime, 0.0f);
    EXPECT_FLOAT_EQ(X(zero), 0.0f);

    // A clip whose span claims more frames than it stores, played far past its end.
    auto clip = MakeClip(3, 30.0f, 10.0f);
    clip->myFrameCount = 50;
    AnimationPlayer overrun = Playing(clip, false);
    overrun.Update(5.0f);
    EXPECT_FLOAT_EQ(X(overrun), 2.0f);

    // A clip without frames leaves the pose alone.
    AnimationPlayer empty = Playing(MakeClip(0, 30.0f, 1.0f), true);
    empty.Update(0.5f);
    EXPECT_EQ(empty.myPose.myCount, 0u);

    // A huge clock on a tiny clip still wraps.
    AnimationPlayer huge = Playing(MakeClip(2, 30.0f, 0.001f), true);
    huge.myTime = 1.0e9f;
    huge.Update(0.0f);
    EXPECT_LT(huge.myTime, 0.001f);

    // No clip at all: nothing to sample.
    AnimationPlayer none;
    none.myState = AnimationState::Playing;
    none.Update(0.1f);
    EXPECT_EQ(none.myPose.myCount, 0u);
}
