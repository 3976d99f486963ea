// Plays one clip: a clock advanced by the frame's delta time while playing, wrapped or stopped at the
// clip's end, and the clip sampled into a local pose, blending neighbouring frames. A plain value that
// the game copies, drives once a frame and writes the state and time of directly. One thread at a time.
#pragma once

#include "vek/model/Animation.h"
#include "vek/model/Pose.h"

#include <cstdint>
#include <memory>

namespace Qel
{
enum class AnimationState : std::uint8_t
{
    Initial = 1,
    Playing = 2,
    Stopped = 3,
    Finished = 5,
};

class AnimationPlayer
{
public:
    AnimationPlayer() = default;

    // Stores the clip and copies its frame rate; time, state, flags and pose stay as they are.
    void SetAnimation(std::shared_ptr<Animation> aAnimation);
    // Advances the time while playing (wrapping when looping, finishing otherwise), then samples.
    void Update(float aDeltaSeconds);
    // Samples the clip at the current time into the pose. Without a clip, or a clip without frames,
    // the pose is left as it is.
    void UpdatePose();

    std::shared_ptr<Animation> myAnimation;
    float myTime = 0.0f;
    bool myIsLooping = false;
    bool myInterpolate = true;
    float myFramesPerSecond = 0.0f;
    AnimationState myState = AnimationState::Initial;
    LocalSpacePose myPose;
};
} // namespace Qel
