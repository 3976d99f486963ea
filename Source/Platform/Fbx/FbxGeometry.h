// Reads the mesh geometry of an FBX file through Assimp (triangulated, with tangents) and attaches
// it to the scene's mesh nodes as per-material MeshParts. Use from any thread, one call per scene.
#pragma once

#include "Platform/Fbx/FbxScene.h"

#include <cstdint>
#include <span>
#include <string>

namespace Qel::Fbx
{
struct GeometryOptions
{
    bool regenerateTangents = false; // drop the file's tangents and binormals and compute new ones
};

// False with aError when Assimp cannot read the file.
bool ReadGeometry(std::span<const uint8_t> aBytes, const GeometryOptions& aOptions, Scene& aScene,
                  std::string& aError);
} // namespace Qel::Fbx
