// A skeletal clip bound to one model's joint order: frame k holds a local transform per joint of that
// model, at the joint's own index. Built by the model factory, shared through std::shared_ptr and
// never changed afterwards; any thread may read it.
#pragma once

#include "vek/model/Pose.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Qel
{
struct Animation
{
    std::vector<LocalSpacePose> myFrames;
    std::uint32_t myFrameCount = 0;
    float myFramesPerSecond = 0.0f;
    float myDuration = 0.0f;
    // The clip file's path as it was given to the importer.
    std::wstring myName;
};
} // namespace Qel
