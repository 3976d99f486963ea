#include "Importer/Importer.h"
#include "Importer/Steps.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace QELFBXImporter
{
namespace
{
constexpr uint64_t FNV_OFFSET = 0xcbf29ce484222325ULL;
constexpr uint64_t FNV_PRIME = 0x100000001b3ULL;

uint64_t Fnv1a(const void* aData, size_t aSize)
{
    uint64_t hash = FNV_OFFSET;
    const auto* bytes = static_cast<const uint8_t*>(aData);
    for (size_t i = 0; i < aSize; ++i)
    {
        hash ^= bytes[i];
        hash *= FNV_PRIME;
    }
    return hash;
}

struct KeyHash
{
    size_t operator()(uint64_t aKey) const { return static_cast<size_t>(Fnv1a(&aKey, sizeof(aKey))); }
};

void Combine(uint64_t& aSeed, uint64_t aValue)
{
    aSeed ^= aValue + 0x9e3779b9ULL + (aSeed << 6) + (aSeed >> 2);
}

void CombineFloat(uint64_t& aSeed, float aValue)
{
    const float folded = aValue == 0.0f ? 0.0f : aValue; // -0 hashes as +0
    Combine(aSeed, Fnv1a(&folded, sizeof(folded)));
}

std::array<float, 3> ToFloat3(const Qel::Fbx::Vector3& aValue)
{
    return {static_cast<float>(aValue[0]), static_cast<float>(aValue[1]), static_cast<float>(aValue[2])};
}

// The bone index each cluster of a mesh part stands for; names not in the table become bone 0.
std::vector<uint32_t> ClusterBones(const Qel::Fbx::MeshPart& aPart, Skeleton& aSkeleton)
{
    std::vector<uint32_t> bones;
    bones.reserve(aPart.clusterNames.size());
    for (const std::string& name : aPart.clusterNames)
    {
        bones.push_back(aSkeleton.boneIndexByName.try_emplace(ShortBoneName(name), 0u).first->second);
    }
    return bones;
}

// Bind matrices of every skin cluster of the node: inverse(link) x transform x geometric.
void ReadSkin(const Qel::Fbx::Scene& aScene, int32_t aNode, Skeleton& aSkeleton)
{
    const Qel::Fbx::Matrix geometric = aScene.GetGeometricTransform(aNode);
    for (const Qel::Fbx::Cluster& cluster : aScene.nodes[static_cast<size_t>(aNode)].clusters)
    {
        const Qel::Fbx::Matrix bind =
            Qel::Fbx::Inverse(cluster.transformLink) * cluster.transform * geometric;
        const uint32_t bone =
            aSkeleton.boneIndexByName.try_emplace(ShortBoneName(cluster.linkName), 0u).first->second;
        if (bone < aSkeleton.bones.size())
        {
            aSkeleton.bones[bone].matrix = CopyRecordMatrix(bind);
        }
    }
}

Vertex ReadCorner(const Qel::Fbx::MeshPart& aPart, uint32_t aVertex,
                  const std::vector<uint32_t>& aClusterBones, bool aSkinned)
{
    Vertex vertex;
    const auto& p = aPart.positions[aVertex];
    vertex.position = {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]), 1.0f};
    for (size_t s = 0; s < std::min<size_t>(aPart.colourSetCount, 4); ++s)
    {
        vertex.colours[s] = aPart.colours[s][aVertex];
    }
    for (size_t s = 0; s < std::min<size_t>(aPart.uvSetCount, 4); ++s)
    {
        const auto& uv = aPart.uvs[s][aVertex];
        vertex.uvs[s] = {uv[0], 1.0f - uv[1]};
    }
    if (aPart.hasNormals)
    {
        vertex.normal = ToFloat3(aPart.normals[aVertex]);
    }
    if (aPart.hasTangents)
    {
        vertex.tangent = ToFloat3(aPart.tangents[aVertex]);
        vertex.binormal = ToFloat3(aPart.binormals[aVertex]);
    }
    if (aSkinned)
    {
        const auto& influences = aPart.influences[aVertex];
        for (size_t k = 0; k < std::min<size_t>(influences.size(), 4); ++k)
        {
            const uint32_t cluster = influences[k].cluster;
            vertex.boneIndices[k] = cluster < aClusterBones.size() ? aClusterBones[cluster] : 0u;
            vertex.boneWeights[k] = influences[k].weight;
        }
    }
    return vertex;
}

// The running box of one node's extraction: starts at the origin and spans all its slots.
struct RunningBox
{
    std::array<float, 3> min{};
    std::array<float, 3> max{};

    void Add(const std::array<float, 4>& aPosition)
    {
        for (size_t k = 0; k < 3; ++k)
        {
            min[k] = std::min(min[k], aPosition[k]);
            max[k] = std::max(max[k], aPosition[k]);
        }
    }
};
} // namespace

Matrix ToRecordMatrix(const Qel::Fbx::Matrix& aMatrix)
{
    return CopyRecordMatrix(Qel::Fbx::Transpose(aMatrix));
}

Matrix CopyRecordMatrix(const Qel::Fbx::Matrix& aMatrix)
{
    Matrix result;
    for (size_t i = 0; i < 16; ++i)
    {
        result.values[i] = static_cast<float>(aMatrix.m[i]);
    }
    return result;
}

uint32_t GatherMeshNodes(const Qel::Fbx::Scene& aScene, int32_t aNode, std::vector<int32_t>& aOut)
{
    WalkNodesBelow(aScene, aNode,
                   [&](int32_t aChild)
                   {
                       if (aScene.nodes[static_cast<size_t>(aChild)].kind == Qel::Fbx::NodeKind::Mesh)
                       {
                           aOut.push_back(aChild);
                       }
                       return true;
                   });
    return static_cast<uint32_t>(aOut.size());
}

uint64_t HashVertex(const Vertex& aVertex)
{
    uint64_t seed = 0;
    for (size_t k = 0; k < 3; ++k)
    {
        CombineFloat(seed, aVertex.position[k]);
    }
    for (const auto& colour : aVertex.colours)
    {
        for (const float c : colour)
        {
            CombineFloat(seed, c);
        }
    }
    for (const auto& uv : aVertex.uvs)
    {
        CombineFloat(seed, uv[0]);
        CombineFloat(seed, uv[1]);
    }
    for (const auto* vector : {&aVertex.normal, &aVertex.tangent, &aVertex.binormal})
    {
        for (const float c : *vector)
        {
            CombineFloat(seed, c);
        }
    }
    for (const uint32_t index : aVertex.boneIndices)
    {
        Combine(seed, Fnv1a(&index, sizeof(index)));
    }
    for (const float weight : aVertex.boneWeights)
    {
        CombineFloat(seed, weight);
    }
    return seed;
}

CentreBounds MergeBounds(const CentreBounds& aFirst, const CentreBounds& aSecond)
{
    CentreBounds result;
    for (size_t k = 0; k < 3; ++k)
    {
        const float lo =
            std::min(aFirst.centre[k] - aFirst.halfExtents[k], aSecond.centre[k] - aSecond.halfExtents[k]);
        const float hi =
            std::max(aFirst.centre[k] + aFirst.halfExtents[k], aSecond.centre[k] + aSecond.halfExtents[k]);
        result.halfExtents[k] = (hi - lo) * 0.5f;
        result.centre[k] = (hi + lo) * 0.5f;
    }
    result.radius = std::max({result.halfExtents[0], result.halfExtents[1], result.halfExtents[2]});
    return result;
}

MinMaxBounds MakeMinMaxBounds(const std::array<float, 3>& aCentre, const std::array<float, 3>& aHalfExtents)
{
    MinMaxBounds box;
    for (size_t k = 0; k < 3; ++k)
    {
        box.min[k] = aCentre[k] - aHalfExtents[k];
        box.max[k] = aCentre[k] + aHalfExtents[k];
    }
    box.valid = true;
    return box;
}

bool ExtractMesh(const Qel::Fbx::Scene& aScene, int32_t aNode, Skeleton& aSkeleton, std::vector<Mesh>& aOut,
                 bool aMergeDuplicateVertices)
{
    const Qel::Fbx::Node& node = aScene.nodes[static_cast<size_t>(aNode)];
    aOut.reserve(aOut.size() + node.materials.size());
    const bool skinned = !aSkeleton.bones.empty();
    if (skinned)
    {
        ReadSkin(aScene, aNode, aSkeleton);
    }
    RunningBox box;
    const size_t slotCount = std::max<size_t>(node.materials.size(), 1);
    for (size_t slot = 0; slot < slotCount; ++slot)
    {
        Mesh mesh;
        mesh.name = node.name;
        const int32_t slotMaterial = node.materials.empty() ? -1 : node.materials[slot];
        mesh.materialIndex = slotMaterial >= 0 ? static_cast<uint32_t>(slotMaterial) : 0u;

        std::vector<const Qel::Fbx::MeshPart*> parts;
        size_t triangleCount = 0;
        for (const int32_t index : node.meshParts)
        {
            const Qel::Fbx::MeshPart& part = aScene.meshParts[static_cast<size_t>(index)];
            if (node.materials.empty() || part.material == slotMaterial)
            {
                parts.push_back(&part);
                triangleCount += part.triangles.size() / 3;
            }
        }
        mesh.vertices.reserve(triangleCount * 3);
        mesh.indices.reserve(triangleCount * 3);
        std::unordered_map<uint64_t, uint32_t, KeyHash> seen(8);
        seen.max_load_factor(1.0f);
        seen.reserve(triangleCount * 3);

        for (const Qel::Fbx::MeshPart* part : parts)
        {
            const std::vector<uint32_t> clusterBones =
                skinned ? ClusterBones(*part, aSkeleton) : std::vector<uint32_t>{};
            for (const uint32_t corner : part->triangles)
            {
                const Vertex vertex = ReadCorner(*part, corner, clusterBones, skinned);
                box.Add(vertex.position);
                if (!aMergeDuplicateVertices)
                {
                    mesh.indices.push_back(static_cast<uint32_t>(mesh.vertices.size()));
                    mesh.vertices.push_back(vertex);
                    continue;
                }
                const auto [it, added] =
                    seen.try_emplace(HashVertex(vertex), static_cast<uint32_t>(mesh.vertices.size()));
                if (added)
                {
                    mesh.vertices.push_back(vertex);
                }
                mesh.indices.push_back(it->second);
            }
        }
        if (mesh.vertices.empty())
        {
            continue;
        }
        for (size_t k = 0; k < 3; ++k)
        {
            mesh.bounds.halfExtents[k] = (box.max[k] - box.min[k]) * 0.5f;
            mesh.bounds.centre[k] = (box.max[k] + box.min[k]) * 0.5f;
        }
        mesh.bounds.radius =
            std::max({mesh.bounds.halfExtents[0], mesh.bounds.halfExtents[1], mesh.bounds.halfExtents[2]});
        mesh.box = MakeMinMaxBounds(mesh.bounds.centre, mesh.bounds.halfExtents);
        aOut.push_back(std::move(mesh));
    }
    return true;
}

namespace
{
// Every mesh node needs UVs and, after import, tangents and binormals.
void CheckMeshNode(const Qel::Fbx::Scene& aScene, int32_t aNode)
{
    const Qel::Fbx::Node& node = aScene.nodes[static_cast<size_t>(aNode)];
    for (const int32_t index : node.meshParts)
    {
        const Qel::Fbx::MeshPart& part = aScene.meshParts[static_cast<size_t>(index)];
        if (part.uvSetCount == 0)
        {
            ThrowNested("Cannot load FBX file! No UV layers are present in the file.");
        }
        if (!part.hasTangents)
        {
            ThrowNested("Failed to generate Tangent/BiNormal data for the mesh " + node.name +
                        "! FBX Error was: the mesh has no normals to build them from");
        }
    }
}

void AddMeshes(std::vector<Mesh>& aFrom, std::vector<Mesh>& aTo, CentreBounds& aBounds)
{
    for (Mesh& mesh : aFrom)
    {
        aBounds = MergeBounds(aBounds, mesh.bounds);
        aTo.push_back(std::move(mesh));
    }
    aFrom.clear();
}
} // namespace

bool LoadModel(const std::string& aPath, Model& aOut, bool aRegenerateTangents, bool aMergeDuplicateVertices)
{
    Qel::Fbx::ImportRequest request;
    request.regenerateTangents = aRegenerateTangents;
    OpenedFile file;
    if (!OpenFbxFile(aPath, OpenFor::Model, request, file))
    {
        return false;
    }
    if (!file.imported)
    {
        // The file is FBX but its content could not be read: keep the reason for the caller.
        SetLastError("Failed to import the FBX file! Error was: " + file.importer->GetErrorString() + ".");
        return false;
    }
    Qel::Fbx::Scene& scene = file.scene;
    scene.ConvertToCentimetres();

    std::vector<Material> materials(scene.materials.size());
    for (size_t i = 0; i < scene.materials.size(); ++i)
    {
        ConvertMaterial(scene.materials[i], materials[i]);
    }

    std::vector<int32_t> meshNodes;
    std::vector<int32_t> lodNodes;
    GatherMeshNodes(scene, 0, meshNodes);
    GatherLodGroupNodes(scene, 0, lodNodes);
    for (const int32_t node : meshNodes)
    {
        CheckMeshNode(scene, node);
    }
    scene.ConvertToDirectXAxes();

    Skeleton skeleton;
    std::vector<Bone> events;
    std::vector<Socket> sockets;
    if (GatherSkeleton(scene, 0, skeleton, events, sockets, -1))
    {
        skeleton.name = SkeletonNameOf(skeleton, aPath);
    }
    for (Socket& socket : sockets)
    {
        skeleton.sockets.try_emplace(socket.name, std::move(socket));
    }

    CentreBounds bounds;
    std::vector<LodGroup> lodGroups;
    std::vector<Mesh> extracted;
    for (const int32_t group : lodNodes)
    {
        LodGroup& levels = lodGroups.emplace_back();
        const Qel::Fbx::Node& groupNode = scene.nodes[static_cast<size_t>(group)];
        for (size_t i = 0; i < groupNode.children.size(); ++i)
        {
            LodLevel level;
            level.level = static_cast<uint32_t>(i);
            if (i > 0 && i - 1 < groupNode.lodThresholds.size())
            {
                level.threshold = static_cast<float>(groupNode.lodThresholds[i - 1]);
            }
            std::vector<int32_t> levelNodes;
            GatherMeshNodes(scene, groupNode.children[i], levelNodes);
            for (const int32_t node : levelNodes)
            {
                const uint64_t id = scene.nodes[static_cast<size_t>(node)].uniqueId;
                const auto it =
                    std::find_if(meshNodes.begin(), meshNodes.end(),
                                 [&](int32_t aCandidate)
                                 { return scene.nodes[static_cast<size_t>(aCandidate)].uniqueId == id; });
                if (it != meshNodes.end())
                {
                    meshNodes.erase(it);
                }
                ExtractMesh(scene, node, skeleton, extracted, aMergeDuplicateVertices);
                AddMeshes(extracted, level.meshes, bounds);
            }
            levels.push_back(std::move(level));
        }
    }
    std::vector<Mesh> meshes;
    for (const int32_t node : meshNodes)
    {
        ExtractMesh(scene, node, skeleton, extracted, aMergeDuplicateVertices);
        AddMeshes(extracted, meshes, bounds);
    }

    if (!meshes.empty() || !lodGroups.empty())
    {
        aOut.path = aPath;
        aOut.meshes = std::move(meshes);
        aOut.lodGroups = std::move(lodGroups);
        aOut.skeleton = std::move(skeleton);
        aOut.materials = std::move(materials);
        aOut.bounds = bounds;
        aOut.box = MakeMinMaxBounds(bounds.centre, bounds.halfExtents);
    }
    return file.importer->GetStatusCode() == 0;
}
} // namespace QELFBXImporter
