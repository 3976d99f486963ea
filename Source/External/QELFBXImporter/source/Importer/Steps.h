// The steps the two loads are made of, over the scene view of the FBX layer. Exposed so that each
// can be exercised on scenes built in code. Pure functions of their arguments.
#pragma once

#include "Importer/Records.h"
#include "Platform/Fbx/FbxImporter.h"
#include "Platform/Fbx/FbxScene.h"

#include <memory>
#include <string>
#include <vector>

namespace QELFBXImporter
{
// Visits aNode's descendants depth first, a node before its children, with an explicit stack so a deep
// hierarchy cannot exhaust the call stack. aVisit(node) returns whether to descend into that node.
template <typename Visit>
void WalkNodesBelow(const Qel::Fbx::Scene& aScene, int32_t aNode, Visit aVisit)
{
    std::vector<int32_t> pending;
    const auto pushChildren = [&](int32_t aParent)
    {
        const auto& children = aScene.nodes[static_cast<size_t>(aParent)].children;
        pending.insert(pending.end(), children.rbegin(), children.rend());
    };
    if (aNode >= 0 && static_cast<size_t>(aNode) < aScene.nodes.size())
    {
        pushChildren(aNode);
    }
    while (!pending.empty())
    {
        const int32_t node = pending.back();
        pending.pop_back();
        if (aVisit(node))
        {
            pushChildren(node);
        }
    }
}

// Appends every mesh node below aNode (depth first, a node before its children); returns the new size.
uint32_t GatherMeshNodes(const Qel::Fbx::Scene& aScene, int32_t aNode, std::vector<int32_t>& aOut);
// Appends one mesh per material slot of the node that owns triangles.
bool ExtractMesh(const Qel::Fbx::Scene& aScene, int32_t aNode, Skeleton& aSkeleton, std::vector<Mesh>& aOut,
                 bool aMergeDuplicateVertices);
uint64_t HashVertex(const Vertex& aVertex);
CentreBounds MergeBounds(const CentreBounds& aFirst, const CentreBounds& aSecond);
MinMaxBounds MakeMinMaxBounds(const std::array<float, 3>& aCentre, const std::array<float, 3>& aHalfExtents);

// Walks aNode's subtree: bones into the skeleton, event and socket nulls into their lists.
// Returns whether the skeleton has a bone. Throws on a repeated short bone name.
bool GatherSkeleton(const Qel::Fbx::Scene& aScene, int32_t aNode, Skeleton& aSkeleton,
                    std::vector<Bone>& aEvents, std::vector<Socket>& aSockets, int32_t aParent);
std::string ShortBoneName(const std::string& aName);
// The namespace of the first bone, or the file name without its extension.
std::string SkeletonNameOf(const Skeleton& aSkeleton, const std::string& aPath);

void ConvertMaterial(const Qel::Fbx::Material& aMaterial, Material& aOut);
MaterialTexture GetMaterialTexture(const Qel::Fbx::Material& aMaterial, const std::string& aProperty);
// Appends the LOD-group nodes below aNode (not searching inside a group); returns the new size.
uint32_t GatherLodGroupNodes(const Qel::Fbx::Scene& aScene, int32_t aNode, std::vector<int32_t>& aOut);

// A layer matrix (column-vector maths) as the record's row-vector matrix.
Matrix ToRecordMatrix(const Qel::Fbx::Matrix& aMatrix);
// A layer matrix copied row by row, unchanged.
Matrix CopyRecordMatrix(const Qel::Fbx::Matrix& aMatrix);

// The opening both loads share. On a soft failure the last-error text is set and false returned.
struct OpenedFile
{
    std::unique_ptr<Qel::Fbx::Importer> importer;
    Qel::Fbx::Scene scene;
    bool imported = false;
};
enum class OpenFor : uint8_t
{
    Model,
    Animation,
};
bool OpenFbxFile(const std::string& aPath, OpenFor aPurpose, const Qel::Fbx::ImportRequest& aRequest,
                 OpenedFile& aOut);
void SetLastError(std::string aText);
// Throws aMessage as a std::runtime_error nesting whatever is being handled.
[[noreturn]] void ThrowNested(const std::string& aMessage);
} // namespace QELFBXImporter
