// One coloured line segment as callers hand it to the line drawer, and the 36-byte vertex the drawer
// writes for each end. Plain value types; any thread.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Vector3.h"

#include <array>

namespace Qel
{
struct LinePrimitive
{
    // Sent to the GPU as it is, without sRGB conversion.
    Color color;
    Vector3<float> fromPosition;
    Vector3<float> toPosition;
};

namespace impl
{
// Position (already transformed), colour, and 8 bytes the input layout does not read.
struct LineVertex
{
    float position[3];
    float color[4];
    float unused[2];
};
static_assert(sizeof(LineVertex) == 36);

// Both ends multiplied as points (w = 1) by aTransform with row vectors, each with the line's colour.
std::array<LineVertex, 2> MakeLineVertices(const LinePrimitive& aLine, const Matrix4x4& aTransform);
} // namespace impl
} // namespace Qel
