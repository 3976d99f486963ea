// Creation of a mesh's immutable vertex and index buffers on the engine's device, from the mesh's CPU
// copies. Any thread (the device defers the GL objects to the main thread).
#pragma once

#include "vek/model/Mesh.h"

namespace Qel::impl
{
// True when the buffers were made, or when there is no device to make them on (the mesh then stays a
// CPU-only mesh that draws nothing); false when the device refused one, as it does an empty mesh's.
bool CreateMeshBuffers(MeshData& aMesh);
} // namespace Qel::impl
