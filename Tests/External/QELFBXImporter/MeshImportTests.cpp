#include "Importer/Steps.h"
#include "ImporterTestHelpers.h"

#include <gtest/gtest.h>

#include <set>

using namespace QELFBXImporter;
using FbxTest::Fixture;

namespace
{
Model Load(const std::string& aName, bool aMerge = true)
{
    Model model;
    EXPECT_TRUE(LoadModel(Fixture(aName), model, false, aMerge)) << GetLastError();
    return model;
}

void ExpectHalfExtents(const CentreBounds& aBounds, float aX, float aY, float aZ)
{
    EXPECT_NEAR(aBounds.halfExtents[0], aX, 1e-3f);
    EXPECT_NEAR(aBounds.halfExtents[1], aY, 1e-3f);
    EXPECT_NEAR(aBounds.halfExtents[2], aZ, 1e-3f);
}
} // namespace

class FixtureMeshes : public ::testing::Test
{
protected:
    FbxTest::ImporterScope myImporter;
};

TEST_F(FixtureMeshes, CubeMergesCornersThatShareAllValues)
{
    const Model model = Load("cube.fbx");
    EXPECT_EQ(model.path, Fixture("cube.fbx"));
    ASSERT_EQ(model.meshes.size(), 1u);
    const Mesh& mesh = model.meshes[0];
    EXPECT_EQ(mesh.name, "Cube");
    EXPECT_EQ(mesh.vertices.size(), 24u); // 8 corners x 3 face normals
    EXPECT_EQ(mesh.indices.size(), 36u);
    ExpectHalfExtents(mesh.bounds, 50, 50, 50);
    EXPECT_FLOAT_EQ(mesh.bounds.radius, 50.0f);
    EXPECT_TRUE(mesh.box.valid);
    EXPECT_FLOAT_EQ(mesh.box.min[1], -50.0f);
    ASSERT_EQ(model.materials.size(), 1u);
    EXPECT_EQ(model.materials[0].name, "M_Cube");
    EXPECT_EQ(mesh.materialIndex, 0u);
    EXPECT_TRUE(model.skeleton.bones.empty());
    EXPECT_TRUE(model.skeleton.name.empty());

    for (const Vertex& v : mesh.vertices)
    {
        // The script maps u from x and v from the up axis; the importer stores 1 - v.
        EXPECT_NEAR(v.uvs[0][0], (v.position[0] / 50.0f + 1.0f) * 0.5f, 1e-4f);
        EXPECT_NEAR(v.uvs[0][1], 1.0f - (v.position[1] / 50.0f + 1.0f) * 0.5f, 1e-4f);
        EXPECT_EQ(v.position[3], 1.0f);
        EXPECT_EQ(v.colours[0], (std::array<float, 4>{1.0f, 0.0f, 0.0f, 1.0f}));
        EXPECT_EQ(v.colours[1], (std::array<float, 4>{}));
        const float length =
            v.normal[0] * v.normal[0] + v.normal[1] * v.normal[1] + v.normal[2] * v.normal[2];
        EXPECT_NEAR(length, 1.0f, 1e-4f);
        const float tangentDotNormal =
            v.tangent[0] * v.normal[0] + v.tangent[1] * v.normal[1] + v.tangent[2] * v.normal[2];
        EXPECT_NEAR(tangentDotNormal, 0.0f, 1e-4f);
    }
}

TEST_F(FixtureMeshes, WithoutMergingEveryCornerIsItsOwnVertex)
{
    const Model model = Load("cube.fbx", false);
    ASSERT_EQ(model.meshes.size(), 1u);
    const Mesh& mesh = model.meshes[0];
    ASSERT_EQ(mesh.vertices.size(), 36u);
    for (uint32_t i = 0; i < mesh.indices.size(); ++i)
    {
        EXPECT_EQ(mesh.indices[i], i);
    }
}

TEST_F(FixtureMeshes, EveryTriangleFacesAlongItsNormals)
{
    for (const char* name :
         {"cube.fbx", "two_materials.fbx", "metres.fbx", "dense.fbx", "skinned.fbx", "lod.fbx"})
    {
        const Model model = Load(name);
        ASSERT_FALSE(model.meshes.empty()) << name;
        for (const Mesh& mesh : model.meshes)
        {
            EXPECT_EQ(FbxTest::CountTrianglesFacingAwayFromNormals(mesh), 0u) << name << " " << mesh.name;
        }
        for (const LodGroup& group : model.lodGroups)
        {
            for (const LodLevel& level : group)
            {
                for (const Mesh& mesh : level.meshes)
                {
                    EXPECT_EQ(FbxTest::CountTrianglesFacingAwayFromNormals(mesh), 0u)
                        << name << " " << mesh.name;
                }
            }
        }
    }
}

TEST_F(FixtureMeshes, AxesAreConvertedToYUpLeftHanded)
{
    // The cube's first face in the script is its bottom (-Z in the authoring tool, whose up is Z):
    // after conversion the bottom face's normal points down -Y.
    const Model model = Load("two_materials.fbx");
    ASSERT_GE(model.meshes.size(), 2u);
    const Mesh& bottom = model.meshes[1]; // material 1 owns only that face
    ASSERT_EQ(bottom.vertices.size(), 4u);
    for (const Vertex& v : bottom.vertices)
    {
        EXPECT_NEAR(v.normal[1], -1.0f, 1e-5f);
        EXPECT_NEAR(v.position[1], -50.0f, 1e-4f);
    }
}

TEST_F(FixtureMeshes, MaterialSlotsSplitANodeIntoMeshes)
{
    const Model model = Load("two_materials.fbx");
    ASSERT_EQ(model.materials.size(), 2u);
    EXPECT_EQ(model.materials[0].name, "M_Red");
    EXPECT_EQ(model.materials[1].name, "M_Blue");
    ASSERT_EQ(model.meshes.size(), 4u);

    const Mesh& sides = model.meshes[0];
    const Mesh& bottom = model.meshes[1];
    EXPECT_EQ(sides.name, "TwoMat");
    EXPECT_EQ(bottom.name, "TwoMat");
    EXPECT_EQ(sides.materialIndex, 0u);
    EXPECT_EQ(bottom.materialIndex, 1u);
    EXPECT_EQ(sides.vertices.size(), 20u);
    EXPECT_EQ(sides.indices.size(), 30u);
    EXPECT_EQ(bottom.indices.size(), 6u);
    // The running box is shared by a node's slots: the flat bottom face's box spans the whole cube.
    ExpectHalfExtents(bottom.bounds, 50, 50, 50);

    // A node whose polygons all use its second material gives one mesh with that material.
    EXPECT_EQ(model.meshes[2].name, "OnlySecond");
    EXPECT_EQ(model.meshes[2].materialIndex, 1u);
    EXPECT_EQ(model.meshes[3].name, "NoMaterial");
    EXPECT_EQ(model.meshes[3].materialIndex, 0u);
    // Every box contains the origin, whatever the mesh spans.
    for (const Mesh& mesh : model.meshes)
    {
        for (size_t k = 0; k < 3; ++k)
        {
            EXPECT_LE(mesh.box.min[k], 0.0f);
            EXPECT_GE(mesh.box.max[k], 0.0f);
        }
    }
}

TEST_F(FixtureMeshes, SecondUvSetIsReadThroughItsOwnMapping)
{
    // The script sets UV set 1 to (u * 0.5, v * 0.5 + 0.25) of set 0; both are stored with v flipped.
    const Model model = Load("two_materials.fbx");
    for (const Mesh& mesh : model.meshes)
    {
        if (mesh.name != "TwoMat")
        {
            continue;
        }
        for (const Vertex& v : mesh.vertices)
        {
            EXPECT_NEAR(v.uvs[1][0], v.uvs[0][0] * 0.5f, 1e-5f);
            EXPECT_NEAR(v.uvs[1][1], 0.25f + 0.5f * v.uvs[0][1], 1e-5f);
            EXPECT_EQ(v.uvs[2], (std::array<float, 2>{}));
        }
    }
}

TEST_F(FixtureMeshes, MetreFilesAreScaledToCentimetres)
{
    const Model model = Load("metres.fbx");
    ASSERT_EQ(model.meshes.size(), 1u);
    ExpectHalfExtents(model.meshes[0].bounds, 50, 50, 50); // a 1 m cube
    ExpectHalfExtents(model.bounds, 50, 50, 50);
    EXPECT_TRUE(model.materials.empty());
    EXPECT_EQ(model.meshes[0].materialIndex, 0u);
}

TEST_F(FixtureMeshes, DenseMeshSharesVertices)
{
    const Model model = Load("dense.fbx");
    ASSERT_EQ(model.meshes.size(), 1u);
    const Mesh& mesh = model.meshes[0];
    EXPECT_LT(mesh.vertices.size() * 3, mesh.indices.size()); // most corners are shared
    for (const uint32_t index : mesh.indices)
    {
        ASSERT_LT(index, mesh.vertices.size());
    }
    EXPECT_NEAR(mesh.bounds.radius, 50.0f, 0.01f);
}

TEST(VertexHash, FoldsNegativeZeroAndIgnoresW)
{
    Vertex a;
    a.position = {1.0f, 0.0f, 2.0f, 1.0f};
    a.normal = {0.0f, 0.0f, 1.0f};
    Vertex b = a;
    b.position[1] = -0.0f;
    b.normal[0] = -0.0f;
    b.position[3] = 0.0f;
    EXPECT_EQ(HashVertex(a), HashVertex(b));

    Vertex c = a;
    c.boneIndices[3] = 1;
    EXPECT_NE(HashVertex(a), HashVertex(c));
    Vertex d = a;
    d.boneWeights[3] = 0.5f;
    EXPECT_NE(HashVertex(a), HashVertex(d));
    Vertex e = a;
    e.uvs[3][1] = 0.5f;
    EXPECT_NE(HashVertex(a), HashVertex(e));
    Vertex f = a;
    f.colours[3][3] = 1.0f;
    EXPECT_NE(HashVertex(a), HashVertex(f));
}

TEST(MeshSteps, MergedVerticesKeepTheFirstCopyAndBoxesStartAtTheOrigin)
{
    FbxTest::SceneBuilder builder;
    const int32_t node = builder.Add("Tri", Qel::Fbx::NodeKind::Mesh);
    // Two triangles that share two corners; all x are positive.
    Qel::Fbx::MeshPart& part =
        builder.AddPart(node, {{1, 0, 0}, {2, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}});
    part.positions[3][1] = -0.0; // the same corner, with a negative zero

    Skeleton skeleton;
    std::vector<Mesh> meshes;
    EXPECT_TRUE(ExtractMesh(builder.scene, node, skeleton, meshes, true));
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].vertices.size(), 4u);
    EXPECT_EQ(meshes[0].indices, (std::vector<uint32_t>{0, 1, 2, 1, 3, 2}));
    EXPECT_EQ(meshes[0].box.min[0], 0.0f);
    EXPECT_EQ(meshes[0].box.max[0], 2.0f);
    EXPECT_EQ(meshes[0].bounds.radius, 1.0f);
    EXPECT_EQ(meshes[0].vertices[0].uvs[0], (std::array<float, 2>{0.25f, 0.25f}));
}

TEST(MeshSteps, SlotsWithoutPolygonsGiveNoMesh)
{
    FbxTest::SceneBuilder builder;
    builder.scene.materials.resize(3);
    const int32_t node = builder.Add("Two", Qel::Fbx::NodeKind::Mesh);
    builder.scene.nodes[static_cast<size_t>(node)].materials = {2, 1};
    builder.AddPart(node, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, 1);

    Skeleton skeleton;
    std::vector<Mesh> meshes;
    ExtractMesh(builder.scene, node, skeleton, meshes, true);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].materialIndex, 1u);
}

TEST(MeshSteps, GatherMeshNodesVisitsParentsBeforeChildren)
{
    FbxTest::SceneBuilder builder;
    const int32_t a = builder.Add("A", Qel::Fbx::NodeKind::Mesh);
    const int32_t group = builder.Add("Group", Qel::Fbx::NodeKind::Null);
    const int32_t b = builder.Add("B", Qel::Fbx::NodeKind::Mesh, group);
    const int32_t c = builder.Add("C", Qel::Fbx::NodeKind::Mesh, b);
    const int32_t d = builder.Add("D", Qel::Fbx::NodeKind::Mesh, group);
    builder.Add("Bone", Qel::Fbx::NodeKind::Skeleton, a);

    std::vector<int32_t> nodes{99};
    EXPECT_EQ(GatherMeshNodes(builder.scene, 0, nodes), 5u);
    EXPECT_EQ(nodes, (std::vector<int32_t>{99, a, b, c, d}));
}

TEST(MeshSteps, BoundsMergeIntoTheSpanningBox)
{
    CentreBounds a;
    a.centre = {1, 0, 0};
    a.halfExtents = {1, 1, 1};
    CentreBounds b;
    b.centre = {-4, 0, 0};
    b.halfExtents = {1, 3, 1};
    const CentreBounds merged = MergeBounds(a, b);
    EXPECT_EQ(merged.centre, (std::array<float, 3>{-1.5f, 0, 0}));
    EXPECT_EQ(merged.halfExtents, (std::array<float, 3>{3.5f, 3, 1}));
    EXPECT_EQ(merged.radius, 3.5f);
    const MinMaxBounds box = MakeMinMaxBounds(merged.centre, merged.halfExtents);
    EXPECT_TRUE(box.valid);
    EXPECT_EQ(box.min, (std::array<float, 3>{-5, -3, -1}));
    EXPECT_EQ(box.max, (std::array<float, 3>{2, 3, 1}));
}

TEST_F(FixtureMeshes, RegeneratedTangentsStayPerpendicularToTheNormals)
{
    Model model;
    ASSERT_TRUE(LoadModel(Fixture("dense.fbx"), model, true, true)) << GetLastError();
    ASSERT_EQ(model.meshes.size(), 1u);
    size_t checked = 0;
    for (const Vertex& v : model.meshes[0].vertices)
    {
        const float length =
            v.tangent[0] * v.tangent[0] + v.tangent[1] * v.tangent[1] + v.tangent[2] * v.tangent[2];
        if (length < 0.5f)
        {
            continue; // the poles' degenerate UVs give no tangent direction
        }
        const float dot =
            v.tangent[0] * v.normal[0] + v.tangent[1] * v.normal[1] + v.tangent[2] * v.normal[2];
        EXPECT_NEAR(dot, 0.0f, 1e-3f);
        ++checked;
    }
    EXPECT_GT(checked, model.meshes[0].vertices.size() / 2);
}

TEST_F(FixtureMeshes, NodesWithTheSameNameKeepTheirOwnGeometry)
{
    // The two-material file with its second node renamed to the name of the third.
    const Model model = Load("duplicate_names.fbx");
    ASSERT_EQ(model.meshes.size(), 4u);
    EXPECT_EQ(model.meshes[2].name, "NoMaterial");
    EXPECT_EQ(model.meshes[3].name, "NoMaterial");
    EXPECT_EQ(model.meshes[2].materialIndex, 1u);
    ExpectHalfExtents(model.meshes[2].bounds, 20, 0, 20);
    EXPECT_EQ(model.meshes[3].materialIndex, 0u);
    ExpectHalfExtents(model.meshes[3].bounds, 10, 0, 10);
}
