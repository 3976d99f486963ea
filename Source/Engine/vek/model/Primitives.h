// The built-in meshes: a cube and a horizontal plane of half size 50, in the model vertex layout.
// Pure data; any thread.
#pragma once

#include "vek/model/Mesh.h"

namespace Qel::impl
{
inline constexpr float PRIMITIVE_HALF_SIZE = 50.0f;

// Vertices and indices only; buffers and bounds are the factory's.
MeshData BuildCubeMesh();
MeshData BuildPlaneMesh();
} // namespace Qel::impl
