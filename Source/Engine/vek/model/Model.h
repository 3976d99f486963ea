// A loaded or built-in model: its skeleton (empty for static models), up to MAX_MESHES_PER_MODEL
// meshes, its path (the resolved file, or "Cube"/"Plane") and four textures per mesh. Built whole by
// the model factory, then shared through std::shared_ptr and never changed; any thread may read it.
#pragma once

#include "vek/model/Mesh.h"
#include "vek/model/Skeleton.h"
#include "vek/scene/SceneAssets.h"

#include <array>
#include <string>
#include <vector>

namespace Qel
{
class Model
{
public:
    Model() = default;

    // Replaces the meshes and sets the path. More than MAX_MESHES_PER_MODEL meshes fail the assertion
    // and only the first MAX_MESHES_PER_MODEL are kept, so every mesh has its texture entry.
    void Init(const std::vector<MeshData>& someMeshData, const std::string& aPath);
    // Appends a mesh (callers build at most MAX_MESHES_PER_MODEL) and sets the path.
    void AddMesh(const MeshData& aMesh, const std::string& aPath);

    Skeleton mySkeleton;
    std::vector<MeshData> myMeshes;
    std::string myPath;
    std::array<MeshTextures, MAX_MESHES_PER_MODEL> myTextures{};
};
} // namespace Qel
