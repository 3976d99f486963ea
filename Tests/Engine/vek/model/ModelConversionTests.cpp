#include "Support/Model/ModelFixtures.h"
#include "vek/model/Model.h"
#include "vek/model/ModelConversion.h"

#include <gtest/gtest.h>

using namespace Qel;

namespace
{
QELFBXImporter::Matrix Translation(float aX, float aY, float aZ)
{
    QELFBXImporter::Matrix m;
    m.values[12] = aX;
    m.values[13] = aY;
    m.values[14] = aZ;
    return m;
}

QELFBXImporter::Skeleton TwoBones()
{
    QELFBXImporter::Skeleton skeleton;
    QELFBXImporter::Bone root;
    root.shortName = "Hip";
    root.children = {1};
    // Bone matrices arrive transposed: translation in the fourth column.
    root.matrix.values[3] = -1.0f;
    QELFBXImporter::Bone tip;
    tip.shortName = "Knee";
    tip.parent = 0;
    tip.matrix.values[7] = -20.0f;
    skeleton.bones = {root, tip};
    return skeleton;
}
} // namespace

TEST(SkeletonConversion, TransposesBindMatricesAndDerivesTheBindPose)
{
    Skeleton skeleton;
    ASSERT_TRUE(impl::ConvertSkeleton(TwoBones(), skeleton, "two.fbx"));
    ASSERT_EQ(skeleton.myJoints.size(), 2u);
    EXPECT_FLOAT_EQ(skeleton.myJoints[0].myInverseBind(4, 1), -1.0f);
    EXPECT_FLOAT_EQ(skeleton.myJoints[1].myInverseBind(4, 2), -20.0f);
    EXPECT_FLOAT_EQ(skeleton.myBindPose.mySlots[0].myPosition.x, 1.0f);
    EXPECT_FLOAT_EQ(skeleton.myBindPose.mySlots[1].myPosition.y, 20.0f);
    EXPECT_EQ(skeleton.myJoints[1].myParent, 0);
    EXPECT_EQ(skeleton.myJoints[0].myChildren, std::vector<std::uint32_t>{1});
    EXPECT_EQ(skeleton.myJointNameToIndex.at("Knee"), 1u);
}

TEST(SkeletonConversion, RefusesOversizedOrBrokenSkeletons)
{
    QELFBXImporter::Skeleton big;
    big.bones.resize(MAX_ANIMATION_BONES + 1);
    Skeleton out;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(impl::ConvertSkeleton(big, out, "big.fbx"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("[ModelFactory] big.fbx"), std::string::npos);

    big.bones.resize(MAX_ANIMATION_BONES);
    EXPECT_TRUE(impl::ConvertSkeleton(big, out, "full.fbx"));
    EXPECT_EQ(out.myJoints.size(), MAX_ANIMATION_BONES);

    QELFBXImporter::Skeleton broken = TwoBones();
    broken.bones[0].children = {7};
    testing::internal::CaptureStdout();
    EXPECT_FALSE(impl::ConvertSkeleton(broken, out, "broken.fbx"));
    testing::internal::GetCapturedStdout();
}

TEST(SkeletonConversion, MoveAssignmentKeepsTheBindPose)
{
    Skeleton source;
    ASSERT_TRUE(impl::ConvertSkeleton(TwoBones(), source, "two.fbx"));
    Skeleton target;
    target = std::move(source);
    EXPECT_EQ(target.myJoints.size(), 2u);
    EXPECT_FLOAT_EQ(target.myBindPose.mySlots[1].myPosition.y, 20.0f);
    EXPECT_EQ(target.myJointNameToIndex.count("Hip"), 1u);
}

TEST(VertexConversion, MakesBoneIndicesFloatsAndBlankColoursWhite)
{
    QELFBXImporter::Vertex v;
    v.position = {1, 2, 3, 1};
    v.colours[0] = {0.5f, 0.25f, 0.0f, 1.0f};
    v.colours[1] = {1.0f, -1.0f, 0.0f, 0.0f}; // sums to exactly 0
    v.uvs[2] = {0.75f, 0.125f};
    v.normal = {0, 1, 0};
    v.boneIndices = {3, 0, 127, 1};
    v.boneWeights = {0.5f, 0.25f, 0.125f, 0.125f};
    const std::vector<ModelVertex> out = impl::ConvertVertices({v});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_FLOAT_EQ(out[0].myPosition[2], 3.0f);
    EXPECT_FLOAT_EQ(out[0].myColors[0][1], 0.25f);
    for (std::size_t set = 1; set < 4; ++set)
    {
        for (std::size_t k = 0; k < 4; ++k)
        {
            EXPECT_FLOAT_EQ(out[0].myColors[set][k], 1.0f);
        }
    }
    EXPECT_FLOAT_EQ(out[0].myUVs[2][0], 0.75f);
    EXPECT_FLOAT_EQ(out[0].myNormal[1], 1.0f);
    EXPECT_FLOAT_EQ(out[0].myBones[2], 127.0f);
    EXPECT_FLOAT_EQ(out[0].myWeights[3], 0.125f);
}

TEST(AnimationRetargeting, MatchesJointsByNameInTheModelsOrder)
{
    Model model;
    ASSERT_TRUE(impl::ConvertSkeleton(TwoBones(), model.mySkeleton, "two.fbx"));
    Skeleton::Joint spare;
    spare.myName = "Tail";
    model.mySkeleton.myJoints.push_back(spare);
    model.mySkeleton.myJointNameToIndex["Tail"] = 2;

    QELFBXImporter::Animation record;
    record.name = "clips/walk\xe9.fbx";
    record.frameCount = 2;
    record.framesPerSecond = 24.0f;
    record.duration = 1.0 / 24.0;
    record.frames.resize(2);
    for (std::size_t k = 0; k < 2; ++k)
    {
        // Listed as the clip's file has them: knee first, and a bone the model lacks.
        record.frames[k].localTransforms["Knee"] = Translation(0.0f, 20.0f + static_cast<float>(k), 0.0f);
        record.frames[k].localTransforms["Hip"] = Translation(1.0f, 0.0f, static_cast<float>(k));
        record.frames[k].localTransforms["Wing"] = Translation(9.0f, 9.0f, 9.0f);
    }
    Animation clip;
    impl::BuildAnimation(record, model, clip);
    EXPECT_EQ(clip.myFrameCount, 2u);
    EXPECT_FLOAT_EQ(clip.myFramesPerSecond, 24.0f);
    EXPECT_FLOAT_EQ(clip.myDuration, 1.0f / 24.0f);
    ASSERT_EQ(clip.myFrames.size(), 2u);
    EXPECT_EQ(clip.myName.size(), record.name.size());
    EXPECT_EQ(clip.myName.back(), L'x');
    EXPECT_EQ(static_cast<unsigned>(clip.myName[10]), 0xe9u);
    for (std::size_t k = 0; k < 2; ++k)
    {
        const LocalSpacePose& pose = clip.myFrames[k];
        EXPECT_EQ(pose.myCount, 3u);
        EXPECT_FLOAT_EQ(pose.mySlots[0].myPosition.z, static_cast<float>(k));
        EXPECT_FLOAT_EQ(pose.mySlots[1].myPosition.y, 20.0f + static_cast<float>(k));
        // The joint the clip lacks keeps the identity, not its bind transform.
        EXPECT_FLOAT_EQ(pose.mySlots[2].myPosition.x, 0.0f);
        EXPECT_FLOAT_EQ(pose.mySlots[2].myScale.y, 1.0f);
        EXPECT_EQ(pose.mySlots[2].myRotation, Quaternion());
        EXPECT_FLOAT_EQ(pose.mySlots[3].myPosition.x, 0.0f); // the extra bone lands nowhere
    }
}
