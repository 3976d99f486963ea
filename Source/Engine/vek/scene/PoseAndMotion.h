// A run-time pose slot of a property: two words, zero by default, never read from or written to files.
#pragma once

namespace Qel
{
struct PoseAndMotion
{
    const void* myPose = nullptr;
    const void* myMotion = nullptr;

    friend bool operator==(const PoseAndMotion&, const PoseAndMotion&) = default;
};
} // namespace Qel
