#include "Importer/Steps.h"
#include "ImporterTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace QELFBXImporter;
using FbxTest::Fixture;

namespace
{
Model Load(const std::string& aName)
{
    Model model;
    EXPECT_TRUE(LoadModel(Fixture(aName), model, false, true)) << GetLastError();
    return model;
}

// The record bone matrix is the inverse bind in column-vector form; the engine uses its transpose.
Matrix InverseBindRowVector(const Bone& aBone)
{
    return FbxTest::Transposed(aBone.matrix);
}
} // namespace

class FixtureSkeletons : public ::testing::Test
{
protected:
    FbxTest::ImporterScope myImporter;
};

TEST_F(FixtureSkeletons, BonesKeepNamesParentsAndChildren)
{
    const Model model = Load("skinned.fbx");
    const Skeleton& skeleton = model.skeleton;
    EXPECT_EQ(skeleton.name, "rig"); // the namespace of the first bone
    ASSERT_EQ(skeleton.bones.size(), 3u);
    const std::array<const char*, 3> names{"rig:Root", "rig:Mid", "rig:Tip"};
    const std::array<const char*, 3> shortNames{"Root", "Mid", "Tip"};
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(skeleton.bones[i].name, names[i]);
        EXPECT_EQ(skeleton.bones[i].shortName, shortNames[i]);
        EXPECT_EQ(skeleton.bones[i].parent, static_cast<int32_t>(i) - 1);
        EXPECT_EQ(skeleton.boneIndexByName.at(shortNames[i]), i);
    }
    EXPECT_EQ(skeleton.bones[0].children, (std::vector<uint32_t>{1}));
    EXPECT_EQ(skeleton.bones[1].children, (std::vector<uint32_t>{2}));
    EXPECT_TRUE(skeleton.bones[2].children.empty());

    // A socket below the last bone; the event null is not kept by the model.
    ASSERT_EQ(skeleton.sockets.size(), 1u);
    const Socket& socket = skeleton.sockets.at("Hand_socket");
    EXPECT_EQ(socket.parent, 2);
    EXPECT_TRUE(socket.shortName.empty());
    // The script puts it 5 units past the tip of the last bone, which ends 120 units up.
    EXPECT_NEAR(socket.matrix.At(4, 1), 0.0f, 1e-3f);
    EXPECT_NEAR(socket.matrix.At(4, 2), 125.0f, 1e-3f);
    EXPECT_NEAR(socket.matrix.At(4, 3), 0.0f, 1e-3f);
}

TEST_F(FixtureSkeletons, BindMatricesUndoEachBonesRestTransform)
{
    const Model model = Load("skinned.fbx");
    // The bones stand 40 units apart up the Y axis at rest.
    for (size_t i = 0; i < model.skeleton.bones.size(); ++i)
    {
        const Matrix inverseBind = InverseBindRowVector(model.skeleton.bones[i]);
        EXPECT_NEAR(inverseBind.At(4, 2), -40.0f * static_cast<float>(i), 1e-3f) << i;
        EXPECT_NEAR(inverseBind.At(4, 1), 0.0f, 1e-3f);
        EXPECT_NEAR(inverseBind.At(4, 3), 0.0f, 1e-3f);
    }

    // The take's first frame is the rest pose: every bone's global transform times its inverse
    // bind is the identity, so the skin is drawn undeformed.
    Animation animation;
    ASSERT_TRUE(LoadAnimation(Fixture("skinned.fbx"), animation));
    for (const Bone& bone : model.skeleton.bones)
    {
        const Matrix global = animation.frames[0].globalTransforms.at(bone.shortName);
        const Matrix palette = FbxTest::Multiply(InverseBindRowVector(bone), global);
        EXPECT_LT(FbxTest::MaxDifference(palette, Matrix{}), 1e-3f) << bone.name;
    }
}

TEST_F(FixtureSkeletons, VerticesTakeTheirInfluencesInClusterOrder)
{
    const Model model = Load("skinned.fbx");
    ASSERT_EQ(model.meshes.size(), 1u);
    for (const Vertex& v : model.meshes[0].vertices)
    {
        // Rings at heights 0, 40, 80 and 120: Root; Root and Mid; Mid and Tip; Tip.
        const int ring = static_cast<int>(std::lround(v.position[1] / 40.0f));
        ASSERT_GE(ring, 0);
        ASSERT_LE(ring, 3);
        const float sum = v.boneWeights[0] + v.boneWeights[1] + v.boneWeights[2] + v.boneWeights[3];
        EXPECT_NEAR(sum, 1.0f, 1e-5f);
        EXPECT_EQ(v.boneWeights[2], 0.0f);
        if (ring == 0 || ring == 3)
        {
            EXPECT_EQ(v.boneIndices[0], ring == 0 ? 0u : 2u);
            EXPECT_FLOAT_EQ(v.boneWeights[0], 1.0f);
        }
        else
        {
            EXPECT_EQ(v.boneIndices[0], static_cast<uint32_t>(ring - 1));
            EXPECT_EQ(v.boneIndices[1], static_cast<uint32_t>(ring));
            EXPECT_FLOAT_EQ(v.boneWeights[0], 0.5f);
        }
    }
}

TEST_F(FixtureSkeletons, GeometricTransformsEnterTheBindMatrices)
{
    // The pivots fixture is the skinned one with a geometric translation of (0, 0, 10) on the mesh
    // node, which the conversion to left-handed axes turns into (0, 0, -10).
    const Model plain = Load("skinned.fbx");
    const Model moved = Load("pivots.fbx");
    ASSERT_EQ(plain.skeleton.bones.size(), moved.skeleton.bones.size());
    Matrix geometric;
    geometric.values[14] = -10.0f; // row 4, column 3
    for (size_t i = 0; i < plain.skeleton.bones.size(); ++i)
    {
        const Matrix expected = FbxTest::Multiply(geometric, InverseBindRowVector(plain.skeleton.bones[i]));
        EXPECT_LT(FbxTest::MaxDifference(InverseBindRowVector(moved.skeleton.bones[i]), expected), 1e-4f)
            << i;
    }
}

TEST_F(FixtureSkeletons, PivotsAndPreRotationShapeTheNodeTransform)
{
    // Pivot_socket: translation (1, 2, 3), rotation offset (5, 0, 0), rotation pivot (0, 3, 0),
    // pre-rotation 90 about X and rotation 90 about Z. T * Roff * Rp * Rpre * R * Rp^-1 sends the
    // origin to (9, 5, 3), X to +Z, Y to -X and Z to -Y; mirroring Z for the target axes gives the rows
    // below (row-vector form: each row is an axis image, the last row the translation).
    const Model model = Load("pivots.fbx");
    const Socket& socket = model.skeleton.sockets.at("Pivot_socket");
    EXPECT_EQ(socket.parent, -1);
    const Matrix expected{{0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 9, 5, -3, 1}};
    EXPECT_LT(FbxTest::MaxDifference(socket.matrix, expected), 1e-4f);
}

TEST_F(FixtureSkeletons, StaticModelsHaveNoSkeleton)
{
    const Model model = Load("two_materials.fbx");
    EXPECT_TRUE(model.skeleton.bones.empty());
    for (const Mesh& mesh : model.meshes)
    {
        for (const Vertex& v : mesh.vertices)
        {
            EXPECT_EQ(v.boneIndices, (std::array<uint32_t, 4>{}));
            EXPECT_EQ(v.boneWeights, (std::array<float, 4>{}));
        }
    }
}

TEST(SkeletonSteps, NamespacesEventsAndSocketsAreSortedOut)
{
    FbxTest::SceneBuilder builder;
    using Kind = Qel::Fbx::NodeKind;
    const int32_t hip = builder.Add("rig:Hip", Kind::Skeleton);
    const int32_t spine = builder.Add("rig:Spine", Kind::Skeleton, hip);
    const int32_t socket = builder.Add("Hand_socket", Kind::Null, spine);
    builder.Add("rig:Finger", Kind::Skeleton, socket);
    builder.Add("Step_evt", Kind::Null, hip);
    builder.Add("Group", Kind::Null, hip);
    builder.Add("Prop_skt", Kind::Null);

    Skeleton skeleton;
    std::vector<Bone> events;
    std::vector<Socket> sockets;
    EXPECT_TRUE(GatherSkeleton(builder.scene, 0, skeleton, events, sockets, -1));
    ASSERT_EQ(skeleton.bones.size(), 3u);
    EXPECT_EQ(skeleton.bones[2].shortName, "Finger");
    EXPECT_EQ(skeleton.bones[2].parent, 1); // the socket between passes its parent through
    EXPECT_EQ(skeleton.bones[1].children, (std::vector<uint32_t>{2}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "Step_evt");
    EXPECT_EQ(events[0].parent, 0);
    EXPECT_TRUE(events[0].shortName.empty());
    ASSERT_EQ(sockets.size(), 2u);
    EXPECT_EQ(sockets[0].name, "Hand_socket");
    EXPECT_EQ(sockets[0].parent, 1);
    EXPECT_EQ(sockets[1].parent, -1);
    EXPECT_EQ(SkeletonNameOf(skeleton, "Models/Hero.fbx"), "rig");
}

TEST(SkeletonSteps, RepeatedShortNamesThrowNamingTheSecondBone)
{
    FbxTest::SceneBuilder builder;
    builder.Add("a:Hip", Qel::Fbx::NodeKind::Skeleton);
    builder.Add("b:Hip", Qel::Fbx::NodeKind::Skeleton);
    Skeleton skeleton;
    std::vector<Bone> events;
    std::vector<Socket> sockets;
    try
    {
        GatherSkeleton(builder.scene, 0, skeleton, events, sockets, -1);
        FAIL() << "expected a throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Found more than one bone with the same name [b:Hip]!");
    }
}

TEST(SkeletonSteps, NamesWithoutNamespaceComeFromTheFile)
{
    Skeleton skeleton;
    EXPECT_EQ(SkeletonNameOf(skeleton, "Models/Hero.fbx"), ""); // no bones, no name
    skeleton.bones.emplace_back().name = "Hip";
    EXPECT_EQ(SkeletonNameOf(skeleton, "Models/Hero.fbx"), "Hero");
    EXPECT_EQ(SkeletonNameOf(skeleton, "C:\\Content\\Boss.fbx"), "Boss");
    EXPECT_EQ(SkeletonNameOf(skeleton, "a/bc.fbx"), "bc");
    EXPECT_EQ(SkeletonNameOf(skeleton, "a/b.c"), "b.c"); // shorter than an extension: kept whole
    EXPECT_EQ(ShortBoneName("a:b:Hip"), "Hip");
}

TEST(SkeletonSteps, OnlyTheFirstFourInfluencesAreKept)
{
    FbxTest::SceneBuilder builder;
    using Kind = Qel::Fbx::NodeKind;
    for (const char* name : {"B0", "B1", "B2", "B3", "B4"})
    {
        builder.Add(name, Kind::Skeleton);
    }
    const int32_t node = builder.Add("Skin", Kind::Mesh);
    Qel::Fbx::MeshPart& part = builder.AddPart(node, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    // Clusters in the order B4, B0, B3, B1, B2 all weigh on the first corner; a cluster naming no
    // bone counts as bone 0.
    part.clusterNames = {"B4", "B0", "ns:B3", "B1", "B2", "Elsewhere"};
    for (uint32_t c = 0; c < 5; ++c)
    {
        part.influences[0].push_back({c, 0.1f * static_cast<float>(c + 1)});
    }
    part.influences[1].push_back({5, 0.0f});

    Skeleton skeleton;
    std::vector<Bone> events;
    std::vector<Socket> sockets;
    ASSERT_TRUE(GatherSkeleton(builder.scene, 0, skeleton, events, sockets, -1));
    std::vector<Mesh> meshes;
    ExtractMesh(builder.scene, node, skeleton, meshes, false);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].vertices[0].boneIndices, (std::array<uint32_t, 4>{4, 0, 3, 1}));
    EXPECT_EQ(meshes[0].vertices[0].boneWeights, (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(meshes[0].vertices[1].boneIndices[0], 0u);
    EXPECT_EQ(meshes[0].vertices[1].boneWeights[0], 0.0f); // weights are kept as read
    EXPECT_EQ(skeleton.boneIndexByName.at("Elsewhere"), 0u);
    // No cluster set a matrix: every bone keeps the identity.
    for (const Bone& bone : skeleton.bones)
    {
        EXPECT_EQ(FbxTest::MaxDifference(bone.matrix, Matrix{}), 0.0f);
    }
}
