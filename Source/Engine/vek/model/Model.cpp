#include "vek/model/Model.h"

#include "vek/Core/Assert.h"

namespace Qel
{
void Model::Init(const std::vector<MeshData>& someMeshData, const std::string& aPath)
{
    QEL_ASSERT(someMeshData.size() <= MAX_MESHES_PER_MODEL);
    const std::size_t kept =
        someMeshData.size() < MAX_MESHES_PER_MODEL ? someMeshData.size() : MAX_MESHES_PER_MODEL;
    myMeshes.assign(someMeshData.begin(), someMeshData.begin() + static_cast<std::ptrdiff_t>(kept));
    myPath = aPath;
}

void Model::AddMesh(const MeshData& aMesh, const std::string& aPath)
{
    myMeshes.push_back(aMesh);
    myPath = aPath;
}
} // namespace Qel
