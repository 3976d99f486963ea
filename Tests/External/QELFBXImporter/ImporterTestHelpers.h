// Shared helpers of the importer tests: fixture paths, a scene built in code, and record checks.
#pragma once

#include "Importer/Importer.h"
#include "Importer/Records.h"
#include "Platform/Fbx/FbxScene.h"
#include "Support/SourceRoot.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace FbxTest
{
inline std::string Fixture(const std::string& aName)
{
    return (QelTest::SourceRoot() / "Tests/External/QELFBXImporter/fixtures" / aName).string();
}

// Keeps the importer set up for the duration of a test.
struct ImporterScope
{
    ImporterScope() { QELFBXImporter::InitImporter(); }
    ~ImporterScope() { QELFBXImporter::UninitImporter(); }
};

inline std::array<float, 3> Corner(const QELFBXImporter::Mesh& aMesh, size_t aIndex)
{
    const auto& p = aMesh.vertices[aMesh.indices[aIndex]].position;
    return {p[0], p[1], p[2]};
}

// The rule the built-in primitives follow: cross(v1 - v0, v2 - v0) points along the corners' normal.
inline size_t CountTrianglesFacingAwayFromNormals(const QELFBXImporter::Mesh& aMesh)
{
    size_t wrong = 0;
    for (size_t t = 0; t + 2 < aMesh.indices.size(); t += 3)
    {
        const auto a = Corner(aMesh, t);
        const auto b = Corner(aMesh, t + 1);
        const auto c = Corner(aMesh, t + 2);
        const std::array<float, 3> e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const std::array<float, 3> e2{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const std::array<float, 3> n{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                     e1[0] * e2[1] - e1[1] * e2[0]};
        float along = 0.0f;
        for (size_t k = 0; k < 3; ++k)
        {
            const auto& normal = aMesh.vertices[aMesh.indices[t + k]].normal;
            along += n[0] * normal[0] + n[1] * normal[1] + n[2] * normal[2];
        }
        wrong += along > 0.0f ? 0 : 1;
    }
    return wrong;
}

// Record matrices are row-vector matrices; their product composes left to right.
inline QELFBXImporter::Matrix Multiply(const QELFBXImporter::Matrix& aLeft,
                                       const QELFBXImporter::Matrix& aRight)
{
    QELFBXImporter::Matrix result;
    for (int r = 1; r <= 4; ++r)
    {
        for (int c = 1; c <= 4; ++c)
        {
            float sum = 0.0f;
            for (int k = 1; k <= 4; ++k)
            {
                sum += aLeft.At(r, k) * aRight.At(k, c);
            }
            result.values[static_cast<size_t>(4 * (r - 1) + (c - 1))] = sum;
        }
    }
    return result;
}

inline QELFBXImporter::Matrix Transposed(const QELFBXImporter::Matrix& aMatrix)
{
    QELFBXImporter::Matrix result;
    for (int r = 1; r <= 4; ++r)
    {
        for (int c = 1; c <= 4; ++c)
        {
            result.values[static_cast<size_t>(4 * (r - 1) + (c - 1))] = aMatrix.At(c, r);
        }
    }
    return result;
}

inline float MaxDifference(const QELFBXImporter::Matrix& aLeft, const QELFBXImporter::Matrix& aRight)
{
    float worst = 0.0f;
    for (size_t i = 0; i < 16; ++i)
    {
        worst = std::max(worst, std::abs(aLeft.values[i] - aRight.values[i]));
    }
    return worst;
}

// A scene built in code: a root and nodes appended below a parent.
class SceneBuilder
{
public:
    SceneBuilder() { scene.nodes.emplace_back().name = "RootNode"; }

    int32_t Add(const std::string& aName, Qel::Fbx::NodeKind aKind, int32_t aParent = 0)
    {
        const int32_t index = static_cast<int32_t>(scene.nodes.size());
        Qel::Fbx::Node& node = scene.nodes.emplace_back();
        node.name = aName;
        node.kind = aKind;
        node.parent = aParent;
        node.uniqueId = static_cast<uint64_t>(1000 + index);
        scene.nodes[static_cast<size_t>(aParent)].children.push_back(index);
        return index;
    }

    // One triangle list for a mesh node; every corner gets the same UV, normal and tangent frame.
    Qel::Fbx::MeshPart& AddPart(int32_t aNode, const std::vector<Qel::Fbx::Vector3>& aPositions,
                                int32_t aMaterial = -1)
    {
        scene.nodes[static_cast<size_t>(aNode)].meshParts.push_back(
            static_cast<int32_t>(scene.meshParts.size()));
        Qel::Fbx::MeshPart& part = scene.meshParts.emplace_back();
        part.material = aMaterial;
        part.positions = aPositions;
        part.hasNormals = true;
        part.hasTangents = true;
        part.uvSetCount = 1;
        part.normals.assign(aPositions.size(), {0.0, 0.0, 1.0});
        part.tangents.assign(aPositions.size(), {1.0, 0.0, 0.0});
        part.binormals.assign(aPositions.size(), {0.0, 1.0, 0.0});
        part.uvs[0].assign(aPositions.size(), {0.25f, 0.75f});
        part.influences.resize(aPositions.size());
        for (uint32_t i = 0; i < aPositions.size(); ++i)
        {
            part.triangles.push_back(i);
        }
        return part;
    }

    Qel::Fbx::Scene scene;
};
} // namespace FbxTest
