#include "RecordWriter.h"

#include "Platform/Fbx/FbxRecords.h"
#include "Platform/Fbx/FbxSceneReader.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qel::Fbx;

namespace
{
using FbxTest::Object;
using FbxTest::Property;

FbxTest::Node Connect(const char* aKind, int64_t aChild, int64_t aParent, const std::string& aProperty = "")
{
    FbxTest::Node c = FbxTest::Make("C");
    c.Text(aKind).Long(aChild).Long(aParent);
    if (!aProperty.empty())
    {
        c.Text(aProperty);
    }
    return c;
}

Scene ReadScene(const std::vector<FbxTest::Node>& aTop)
{
    const std::vector<uint8_t> bytes = FbxTest::Bytes(FbxTest::Writer(7400).Finish(aTop));
    Record root;
    std::string error;
    EXPECT_TRUE(ParseRecords(bytes, root, error)) << error;
    Scene scene;
    EXPECT_TRUE(ReadSceneRecords(root, scene, error)) << error;
    return scene;
}

double MaxDifference(const Matrix& aLeft, const Matrix& aRight)
{
    double worst = 0.0;
    for (size_t i = 0; i < 16; ++i)
    {
        worst = std::max(worst, std::abs(aLeft.m[i] - aRight.m[i]));
    }
    return worst;
}
} // namespace

TEST(FbxSceneReader, NodesKindsMaterialsAndCurvesAreConnected)
{
    FbxTest::Node objects = FbxTest::Make("Objects");
    FbxTest::Node hip = Object("Model", 1, "Hip", "LimbNode");
    hip.Add(
        std::move(FbxTest::Make("Properties70").Add(Property("Lcl Translation", {0, 10, 0}, "Vector3D"))));
    objects.Add(std::move(hip));
    objects.Add(Object("Model", 2, "Hand_socket", "Null"));
    objects.Add(Object("NodeAttribute", 3, "Hand_socket", "Null"));
    objects.Add(Object("Model", 4, "Group", "LodGroup"));
    objects.Add(Object("Material", 5, "M_Skin", ""));
    FbxTest::Node texture = Object("Texture", 6, "T", "");
    texture.Add(std::move(FbxTest::Make("RelativeFilename").Text("tex\\skin_C.dds")));
    objects.Add(std::move(texture));
    objects.Add(Object("LayeredTexture", 7, "L", ""));
    objects.Add(Object("AnimationStack", 8, "Take 001", ""));
    objects.Add(Object("AnimationLayer", 9, "Base", ""));
    objects.Add(Object("AnimationCurveNode", 10, "T", ""));
    FbxTest::Node curve = Object("AnimationCurve", 11, "", "");
    curve.Add(
        std::move(FbxTest::Make("KeyTime").Doubles({0.0, static_cast<double>(TICKS_PER_SECOND)}, false)));
    curve.Add(std::move(FbxTest::Make("KeyValueFloat").Doubles({0.0, 8.0}, true)));
    objects.Add(std::move(curve));
    // Two models connected to each other and to nothing else: a loop.
    objects.Add(Object("Model", 12, "LoopA", "Null"));
    objects.Add(Object("Model", 13, "LoopB", "Null"));

    FbxTest::Node connections = FbxTest::Make("Connections");
    for (FbxTest::Node c :
         {Connect("OO", 1, 0), Connect("OO", 2, 1), Connect("OO", 3, 2), Connect("OO", 4, 0),
          Connect("OO", 5, 1), Connect("OP", 6, 5, "DiffuseColor"), Connect("OP", 7, 5, "NormalMap"),
          Connect("OO", 9, 8), Connect("OO", 10, 9), Connect("OP", 10, 1, "Lcl Translation"),
          Connect("OP", 11, 10, "d|X"), Connect("OO", 12, 13), Connect("OO", 13, 12)})
    {
        connections.Add(std::move(c));
    }
    const Scene scene = ReadScene({objects, connections});

    ASSERT_EQ(scene.nodes.size(), 6u);
    const int32_t hipNode = scene.FindNodeByName("Hip");
    const int32_t socket = scene.FindNodeByName("Hand_socket");
    ASSERT_GT(hipNode, 0);
    EXPECT_EQ(scene.nodes[static_cast<size_t>(hipNode)].kind, NodeKind::Skeleton);
    EXPECT_EQ(scene.nodes[static_cast<size_t>(socket)].kind, NodeKind::Null);
    EXPECT_EQ(scene.nodes[static_cast<size_t>(socket)].parent, hipNode);
    EXPECT_EQ(scene.nodes[static_cast<size_t>(scene.FindNodeByName("Group"))].kind, NodeKind::LodGroup);
    EXPECT_EQ(scene.nodes[0].children.size(), 4u); // Hip, Group, and the loop hung below the root

    ASSERT_EQ(scene.materials.size(), 1u);
    const Material& material = scene.materials[0];
    EXPECT_EQ(material.name, "M_Skin");
    EXPECT_EQ(material.properties.at("DiffuseColor").relativeFileName, "tex\\skin_C.dds");
    EXPECT_TRUE(material.properties.at("NormalMap").layered);
    EXPECT_EQ(scene.nodes[static_cast<size_t>(hipNode)].materials, (std::vector<int32_t>{0}));

    // The X translation is keyed from 0 to 8 over one second; Y keeps its static 10.
    ASSERT_EQ(scene.stacks.size(), 1u);
    EXPECT_EQ(scene.stacks[0].name, "Take 001");
    const Matrix half = scene.EvaluateLocalTransform(hipNode, TICKS_PER_SECOND / 2);
    EXPECT_DOUBLE_EQ(half(0, 3), 4.0);
    EXPECT_DOUBLE_EQ(half(1, 3), 10.0);
    const Matrix global = scene.EvaluateGlobalTransform(socket, TICKS_PER_SECOND);
    EXPECT_DOUBLE_EQ(global(0, 3), 8.0);
    // The loop is broken: its global transform is finite work and the identity.
    EXPECT_LT(MaxDifference(scene.EvaluateGlobalTransform(scene.FindNodeByName("LoopA"), 0), Matrix{}),
              1e-12);
}

TEST(FbxScene, LocalTransformsComposePivotsInOrder)
{
    Scene scene;
    scene.nodes.resize(2);
    NodeTransform& t = scene.nodes[1].transform;
    t.translation.value = {1, 2, 3};
    t.rotation.value = {0, 0, 90};
    t.rotationPivot = {0, 3, 0};
    t.scaling.value = {2, 2, 2};
    t.scalingPivot = {1, 0, 0};
    // Scaling about (1, 0, 0) by 2 sends the origin to (-1, 0, 0); rotating 90 about Z around
    // (0, 3, 0) sends that to (3, 2, 0); the translation adds (1, 2, 3).
    const Vector3 origin = TransformPoint(scene.EvaluateLocalTransform(1, 0), {0, 0, 0});
    EXPECT_NEAR(origin[0], 4.0, 1e-12);
    EXPECT_NEAR(origin[1], 4.0, 1e-12);
    EXPECT_NEAR(origin[2], 3.0, 1e-12);

    // Rotation order: X then Z differs from Z then X.
    const Vector3 xThenZ = TransformDirection(EulerRotation({90, 0, 90}, RotationOrder::XYZ), {0, 1, 0});
    const Vector3 zThenX = TransformDirection(EulerRotation({90, 0, 90}, RotationOrder::ZYX), {0, 1, 0});
    EXPECT_NEAR(xThenZ[0], 0.0, 1e-12); // Y -> Z (X turn) -> Z (Z turn)
    EXPECT_NEAR(xThenZ[2], 1.0, 1e-12);
    EXPECT_NEAR(zThenX[0], -1.0, 1e-12);                                    // Y -> -X (Z turn) -> -X (X turn)
    EXPECT_LT(MaxDifference(Inverse(Scaling({0, 1, 1})), Matrix{}), 1e-12); // singular gives identity
}

TEST(FbxScene, ConversionsScaleMirrorAndKeepTrianglesFacingOut)
{
    Scene scene;
    scene.nodes.resize(2);
    scene.nodes[1].transform.translation.value = {0, 0, 1};
    scene.settings.unitScaleFactor = 100.0;
    MeshPart& part = scene.meshParts.emplace_back();
    part.positions = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
    part.normals.assign(3, {0, 0, 1});
    part.hasNormals = true;
    part.triangles = {0, 1, 2};
    scene.nodes[1].clusters.push_back({"Bone", Translation({0, 0, 2}), Matrix{}});

    scene.ConvertToCentimetres();
    EXPECT_EQ(part.positions[1][0], 100.0);
    EXPECT_EQ(scene.EvaluateLocalTransform(1, 0)(2, 3), 100.0);
    scene.ConvertToDirectXAxes();
    EXPECT_EQ(part.positions[1][2], -100.0); // the front axis is mirrored
    EXPECT_EQ(part.normals[0][2], -1.0);
    EXPECT_EQ(part.triangles, (std::vector<uint32_t>{0, 2, 1}));
    EXPECT_EQ(scene.EvaluateLocalTransform(1, 0)(2, 3), -100.0);
    EXPECT_EQ(scene.nodes[1].clusters[0].transform(2, 3), -200.0);

    // The triangle still winds along its normal.
    const Vector3 a = part.positions[part.triangles[0]];
    const Vector3 b = part.positions[part.triangles[1]];
    const Vector3 c = part.positions[part.triangles[2]];
    const Vector3 e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vector3 e2{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double crossZ = e1[0] * e2[1] - e1[1] * e2[0];
    EXPECT_GT(crossZ * part.normals[0][2], 0.0);
}
