#include "Support/AssertCapture.h"
#include "Support/Model/ModelFixtures.h"
#include "Support/TempDir.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/AssetPaths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>

using namespace Qel;
using QelTest::ModelFixture;

namespace
{
class ModelFactoryTest : public testing::Test
{
protected:
    ModelFactory myFactory;
};

const float* FaceColour(const Model& aModel, std::size_t aFace)
{
    return aModel.myMeshes[0].myVertices[4 * aFace].myColors[0];
}
} // namespace

TEST_F(ModelFactoryTest, BuildsTheCubeAndPlanePrimitives)
{
    const std::shared_ptr<Model> cube = myFactory.GetModel("Cube");
    ASSERT_TRUE(cube);
    EXPECT_EQ(cube, myFactory.GetModel("Cube"));
    EXPECT_EQ(cube->myPath, "Cube");
    ASSERT_EQ(cube->myMeshes.size(), 1u);
    const MeshData& mesh = cube->myMeshes[0];
    EXPECT_EQ(mesh.myVertexCount, 24u);
    EXPECT_EQ(mesh.myIndexCount, 36u);
    EXPECT_EQ(mesh.myStride, 180u);
    EXPECT_TRUE(mesh.myName.empty());
    EXPECT_NEAR(mesh.myBounds.myRadius, 86.60254f, 1e-3f);
    EXPECT_FLOAT_EQ(mesh.myBounds.myHalfExtents[1], 50.0f);
    EXPECT_FLOAT_EQ(mesh.myBounds.myCentre[0], 0.0f);
    EXPECT_TRUE(cube->mySkeleton.myJoints.empty());
    // Top yellow, bottom magenta.
    EXPECT_EQ(std::vector<float>(FaceColour(*cube, 4), FaceColour(*cube, 4) + 4),
              (std::vector<float>{1, 1, 0, 1}));
    EXPECT_EQ(std::vector<float>(FaceColour(*cube, 5), FaceColour(*cube, 5) + 4),
              (std::vector<float>{1, 0, 1, 1}));
    // Each face's triangles wind the same way round its normal.
    for (std::size_t t = 0; t < 36; t += 3)
    {
        const float* a = mesh.myVertices[mesh.myIndices[t]].myPosition;
        const float* b = mesh.myVertices[mesh.myIndices[t + 1]].myPosition;
        const float* c = mesh.myVertices[mesh.myIndices[t + 2]].myPosition;
        const Vector3<float> e1(b[0] - a[0], b[1] - a[1], b[2] - a[2]);
        const Vector3<float> e2(c[0] - a[0], c[1] - a[1], c[2] - a[2]);
        const float* n = mesh.myVertices[mesh.myIndices[t]].myNormal;
        EXPECT_GT(e1.Cross(e2).Dot(Vector3<float>(n[0], n[1], n[2])), 0.0f) << t;
    }

    const std::shared_ptr<Model> plane = myFactory.GetModel("Plane");
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane->myMeshes[0].myIndices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_NEAR(plane->myMeshes[0].myBounds.myRadius, 70.71068f, 1e-3f);
    EXPECT_FLOAT_EQ(plane->myMeshes[0].myBounds.myHalfExtents[1], 0.0f);
}

TEST(MeshBoundsCalculation, UsesTheHalfExtentLengthAndHandlesNoVertices)
{
    std::vector<ModelVertex> quad(4, ModelVertex{});
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (std::size_t i = 0; i < 4; ++i)
    {
        quad[i].myPosition[0] = corners[i][0] + 2.0f;
        quad[i].myPosition[2] = corners[i][1];
        quad[i].myPosition[3] = 100.0f; // w is ignored
    }
    const MeshBounds bounds = ModelFactory::CalculateBounds(quad);
    EXPECT_NEAR(bounds.myRadius, 1.41421f, 1e-4f);
    EXPECT_FLOAT_EQ(bounds.myCentre[0], 2.0f);
    EXPECT_FLOAT_EQ(bounds.myHalfExtents[2], 1.0f);

    EXPECT_EQ(bounds.mySkinJointCount, 0u) << "no vertex is skinned";

    // What the vertex stage reads: a bone number rounded, the palette's last entry past its end.
    quad[0].myWeights[0] = 0.75f;
    quad[0].myBones[0] = 6.6f;
    quad[1].myWeights[0] = 1.5f;
    quad[1].myWeights[1] = -0.25f;
    quad[2].myWeights[0] = -1.0f;
    quad[2].myBones[0] = 300.0f;
    const MeshBounds skinned = ModelFactory::CalculateBounds(quad);
    EXPECT_EQ(skinned.mySkinJointCount, 8u);
    EXPECT_FLOAT_EQ(skinned.mySkinWeightMagnitude, 1.75f);
    EXPECT_FLOAT_EQ(skinned.mySkinWeightSumError, 0.25f);
    quad[3].myWeights[0] = 1.0f;
    quad[3].myBones[3] = 500.0f;
    EXPECT_EQ(ModelFactory::CalculateBounds(quad).mySkinJointCount, 128u);

    const MeshBounds none = ModelFactory::CalculateBounds({});
    EXPECT_TRUE(std::isinf(none.myRadius) && none.myRadius > 0.0f);
    EXPECT_TRUE(std::isinf(none.myHalfExtents[0]) && none.myHalfExtents[0] < 0.0f);
    EXPECT_FLOAT_EQ(none.myCentre[1], 0.0f);
}

TEST(ModelMeshLimit, KeepsOnlyTheMeshesThatHaveTextureEntries)
{
    QelTest::AssertCapture capture;
    Model model;
    model.Init(std::vector<MeshData>(6), "six.fbx");
    EXPECT_EQ(capture.GetCount(), 1);
    EXPECT_EQ(model.myMeshes.size(), MAX_MESHES_PER_MODEL);
}

TEST_F(ModelFactoryTest, LoadsOnceCachesByTheTextAndNeverCachesFailures)
{
    const std::string path = ModelFixture("two_materials.fbx");
    const std::shared_ptr<Model> model = myFactory.GetModel(path);
    ASSERT_TRUE(model);
    EXPECT_EQ(model, myFactory.GetModel(path));
    EXPECT_EQ(model->myPath, path);
    ASSERT_EQ(model->myMeshes.size(), 4u);
    EXPECT_FALSE(model->myMeshes[0].myMaterialName.empty());
    EXPECT_NE(model->myMeshes[0].myMaterialName, model->myMeshes[1].myMaterialName);
    EXPECT_EQ(model->myMeshes[0].myVertexCount, model->myMeshes[0].myVertices.size());

    // Another spelling of the same file is another key.
    const std::string other = std::filesystem::path(path).parent_path().string() + "/./two_materials.fbx";
    const std::shared_ptr<Model> second = myFactory.GetModel(other);
    ASSERT_TRUE(second);
    EXPECT_NE(second, model);

    EXPECT_FALSE(myFactory.GetModel("models/none/Missing.fbx"));
    EXPECT_FALSE(myFactory.GetModel(""));
    const ModelInstance missing = myFactory.GetModelInstance("models/none/Missing.fbx");
    EXPECT_FALSE(missing.GetModel());
    EXPECT_EQ(missing.myTransform, Matrix4x4());
    EXPECT_EQ(missing.myTextures[0].myAlbedo, nullptr);

    // A file the importer cannot read fails every time it is asked for.
    QelTest::TempDir dir;
    const std::string bad = dir.WriteFile("bad.fbx", "not an fbx file").string();
    EXPECT_FALSE(myFactory.GetModel(bad));
    EXPECT_FALSE(myFactory.GetModel(bad));
}

TEST_F(ModelFactoryTest, InstancesCopyTexturesAndAnimatedOnesNeedJoints)
{
    ModelInstance a = myFactory.GetModelInstance("Cube");
    ModelInstance b = myFactory.GetModelInstance("Cube");
    ASSERT_TRUE(a.GetModel());
    Texture* marker = reinterpret_cast<Texture*>(&a);
    a.myTextures[0].myAlbedo = marker;
    EXPECT_NE(b.myTextures[0].myAlbedo, marker);
    EXPECT_NE(a.GetModel()->myTextures[0].myAlbedo, marker);

    const AnimatedModelInstance staticModel = myFactory.GetAnimatedModelInstance("Cube");
    EXPECT_FALSE(staticModel.GetModel());
    EXPECT_EQ(staticModel.myBones[127], Matrix4x4());

    AnimatedModelInstance skinned = myFactory.GetAnimatedModelInstance(ModelFixture("skinned.fbx"));
    ASSERT_TRUE(skinned.GetModel());
    EXPECT_EQ(skinned.GetModel()->mySkeleton.myJoints.size(), 3u);
    EXPECT_EQ(skinned.GetModel()->mySkeleton.myJointNameToIndex.count("Mid"), 1u);
}

TEST_F(ModelFactoryTest, ClipsBindPerModelAndTheirFirstFrameIsTheBindPose)
{
    const std::string path = ModelFixture("skinned.fbx");
    const std::shared_ptr<Model> model = myFactory.GetModel(path);
    ASSERT_TRUE(model);
    EXPECT_FALSE(myFactory.GetAnimation(path, nullptr));
    EXPECT_FALSE(myFactory.GetAnimation(ModelFixture("missing_clip.fbx"), model));

    const std::shared_ptr<Animation> clip = myFactory.GetAnimation(path, model);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip, myFactory.GetAnimation(path, model));
    EXPECT_EQ(clip->myFrameCount, 31u);
    EXPECT_EQ(clip->myFrames.size(), 31u);
    EXPECT_FLOAT_EQ(clip->myFramesPerSecond, 30.0f);
    EXPECT_FLOAT_EQ(clip->myDuration, 1.0f);
    EXPECT_EQ(clip->myFrames[0].myCount, 3u);

    // The same file bound to another model of the same joints is another clip.
    const std::shared_ptr<Model> copy =
        myFactory.GetModel(std::filesystem::path(path).parent_path().string() + "/../fixtures/skinned.fbx");
    ASSERT_TRUE(copy);
    EXPECT_NE(myFactory.GetAnimation(path, copy), clip);

    // The player resolves its path, so it shares the clip cached under the resolved text.
    AnimationPlayer player = myFactory.GetAnimationPlayer(path, model);
    EXPECT_EQ(player.myAnimation, myFactory.GetAnimation(ResolveAssetPath(path), model));
    EXPECT_FLOAT_EQ(player.myFramesPerSecond, 30.0f);
    EXPECT_EQ(player.myState, AnimationState::Initial);
    const AnimationPlayer none = myFactory.GetAnimationPlayer("clips/none.fbx", model);
    EXPECT_FALSE(none.myAnimation);

    // Frame 0 of the take is the rest pose: every joint's palette entry is the same rigid transform (the
    // root's local, which carries the rig node's axis turn), so the mesh moves as one piece.
    AnimatedModelInstance instance = myFactory.GetAnimatedModelInstance(path);
    player.Update(0.0f);
    instance.SetPose(player);
    const Matrix4x4 root = clip->myFrames[0].mySlots[0].GetMatrix();
    for (std::size_t j = 0; j < 3; ++j)
    {
        EXPECT_LT(QelTest::MaxDifference(instance.myBones[j], root), 1e-3f) << j;
    }
    // Playing on turns the middle joint: the tip's entry leaves the root's, the root's stays.
    player.myState = AnimationState::Playing;
    player.Update(0.5f);
    instance.SetPose(player);
    EXPECT_LT(QelTest::MaxDifference(instance.myBones[0], root), 1e-3f);
    EXPECT_GT(QelTest::MaxDifference(instance.myBones[2], root), 0.1f);
    EXPECT_EQ(instance.myBones[3], Matrix4x4());
}

TEST(ModelFileChange, DropsTheModelSoTheNextRequestLoadsItAgain)
{
    using namespace std::chrono_literals;
    QelTest::TempDir dir;
    const std::filesystem::path file = dir.GetPath() / "Changing.fbx";
    std::filesystem::copy_file(ModelFixture("cube.fbx"), file);
    FileWatcher watcher([] { return true; });
    ModelFactory factory(&watcher);

    const std::string path = file.string();
    const ModelInstance before = factory.GetModelInstance(path);
    const std::shared_ptr<Model> first = before.GetModel();
    ASSERT_TRUE(first);
    const std::shared_ptr<Animation> firstClip = factory.GetAnimation(ModelFixture("skinned.fbx"), first);

    std::filesystem::copy_file(ModelFixture("skinned.fbx"), file,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + 2s);
    std::shared_ptr<Model> second = first;
    // The scan the polling thread would make, at once, then the frame start's callbacks.
    watcher.ScanNow();
    watcher.FlushChanges();
    second = factory.GetModel(path);
    ASSERT_TRUE(second);
    ASSERT_NE(second, first);
    EXPECT_EQ(second->mySkeleton.myJoints.size(), 3u);
    // Earlier holders keep the old model.
    EXPECT_EQ(before.GetModel(), first);
    EXPECT_TRUE(first->mySkeleton.myJoints.empty());
    EXPECT_EQ(factory.GetAnimation(ModelFixture("skinned.fbx"), first), firstClip);
    EXPECT_EQ(factory.GetModel(path), second);
}

TEST_F(ModelFactoryTest, AClipTheImporterThrowsOnIsLoggedOnceACallAndNeverCached)
{
    const std::shared_ptr<Model> model = myFactory.GetModel(ModelFixture("skinned.fbx"));
    ASSERT_TRUE(model);
    // A file without a skeleton makes the importer throw.
    const std::string clipPath = ModelFixture("cube.fbx");
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(myFactory.GetAnimation(clipPath, model));
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output.rfind("[ModelFactory] ", 0), 0u) << output;
        EXPECT_NE(output.find(clipPath), std::string::npos) << output;
        EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line";
    }
    testing::internal::CaptureStdout();
    const AnimationPlayer player = myFactory.GetAnimationPlayer(clipPath, model);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(player.myAnimation);
    // A good clip after the bad one still loads.
    EXPECT_TRUE(myFactory.GetAnimation(ModelFixture("skinned.fbx"), model));
}
