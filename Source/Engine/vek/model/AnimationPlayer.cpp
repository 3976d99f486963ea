#include "vek/model/AnimationPlayer.h"

#include <cmath>
#include <utility>

namespace Qel
{
void AnimationPlayer::SetAnimation(std::shared_ptr<Animation> aAnimation)
{
    myAnimation = std::move(aAnimation);
    myFramesPerSecond = myAnimation ? myAnimation->myFramesPerSecond : 0.0f;
}

void AnimationPlayer::Update(float aDeltaSeconds)
{
    if (myState == AnimationState::Playing && myAnimation)
    {
        myTime += aDeltaSeconds;
        const float duration = myAnimation->myDuration;
        if (myTime >= duration)
        {
            if (!myIsLooping)
            {
                myTime = duration;
                myState = AnimationState::Finished;
            }
            else if (!(duration > 0.0f) || !std::isfinite(myTime))
            {
                // A clip of no length (or a clock gone non-finite) has nowhere to wrap to.
                myTime = 0.0f;
            }
            else
            {
                // Repeated subtraction keeps the time's rounding the same as one wrap per pass; a
                // delta of very many durations falls back to the remainder so it cannot spin.
                int passes = 0;
                while (myTime >= duration && passes < 64)
                {
                    myTime -= duration;
                    ++passes;
                }
                if (myTime >= duration)
                {
                    myTime = std::fmod(myTime, duration);
                }
            }
        }
    }
    UpdatePose();
}

void AnimationPlayer::UpdatePose()
{
    if (!myAnimation || myAnimation->myFrames.empty())
    {
        return;
    }
    const std::vector<LocalSpacePose>& frames = myAnimation->myFrames;
    const std::size_t last = frames.size() - 1;

    const float f = myFramesPerSecond > 0.0f ? myTime / (1.0f / myFramesPerSecond) : 0.0f;
    const float whole = (std::isfinite(f) && f > 0.0f) ? std::floor(f) : 0.0f;
    const float blend = (std::isfinite(f) && f > 0.0f) ? f - whole : 0.0f;

    // Float error or a span that disagrees with the stored frames could point past the end: past the
    // last stored frame the pose is that frame, unblended.
    const bool pastEnd = whole > static_cast<float>(last);
    const std::size_t frame = pastEnd ? last : static_cast<std::size_t>(whole);
    const float t = pastEnd ? 0.0f : blend;
    std::size_t next = frame;
    if (myState != AnimationState::Finished && !pastEnd)
    {
        next = frame + 1;
        if (next >= myAnimation->myFrameCount || next > last)
        {
            next = 0;
        }
    }

    const LocalSpacePose& current = frames[frame];
    const LocalSpacePose& following = frames[next];
    const std::uint64_t n = current.myCount < MAX_ANIMATION_BONES ? current.myCount : MAX_ANIMATION_BONES;
    for (std::size_t j = 0; j < n; ++j)
    {
        const JointTransform& c = current.mySlots[j];
        if (!myInterpolate)
        {
            myPose.mySlots[j] = c;
            continue;
        }
        const JointTransform& d = following.mySlots[j];
        JointTransform& out = myPose.mySlots[j];
        out.myPosition = Vector3<float>(c.myPosition.x + (d.myPosition.x - c.myPosition.x) * t,
                                        c.myPosition.y + (d.myPosition.y - c.myPosition.y) * t,
                                        c.myPosition.z + (d.myPosition.z - c.myPosition.z) * t);
        out.myScale = Vector3<float>(c.myScale.x + (d.myScale.x - c.myScale.x) * t,
                                     c.myScale.y + (d.myScale.y - c.myScale.y) * t,
                                     c.myScale.z + (d.myScale.z - c.myScale.z) * t);
        out.myRotation = Quaternion::Slerp(c.myRotation, d.myRotation, t);
    }
    myPose.myCount = n;
}
} // namespace Qel
