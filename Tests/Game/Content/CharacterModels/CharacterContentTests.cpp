// The shipped characters as the game loads them: every model stands where the game expects it, every
// clip listed in the characters' manifest binds to its model's joints, has its listed length, moves,
// and closes when it loops; every colour texture loads.
#include "Animator/ClipIndices.h"
#include "Platform/Image/DdsImage.h"
#include "Support/GfxWindow.h"
#include "Support/SourceRoot.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace Qel;

namespace
{
struct ClipEntry
{
    std::string path;
    std::string model;
    float length = 0.0f;
    bool loops = false;
};

std::filesystem::path ManifestPath()
{
    return QelTest::SourceRoot() / "Source/Game/content/make/characters/MANIFEST.md";
}

std::vector<std::string> Cells(const std::string& aLine)
{
    std::vector<std::string> cells;
    std::stringstream stream(aLine);
    std::string cell;
    while (std::getline(stream, cell, '|'))
    {
        const auto first = cell.find_first_not_of(" `");
        const auto last = cell.find_last_not_of(" `");
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    }
    return cells;
}

// The clip rows of the manifest: | clip | model | length | frames | loop |.
std::vector<ClipEntry> ReadClipManifest()
{
    std::vector<ClipEntry> clips;
    std::ifstream file(ManifestPath());
    std::string line;
    while (std::getline(file, line))
    {
        const std::vector<std::string> cells = Cells(line);
        if (cells.size() >= 6 && cells[1].starts_with("Animations/"))
        {
            clips.push_back({cells[1], cells[2], std::stof(cells[3]), cells[5] == "loop"});
        }
    }
    return clips;
}

class CharacterContentTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(LoadSettings("Game"));
        ourClips = ReadClipManifest();
    }

    std::shared_ptr<Model> GetModel(const std::string& aPath) { return myFactory.GetModel(aPath); }

    std::shared_ptr<Animation> GetClip(const ClipEntry& aClip, const std::shared_ptr<Model>& aModel)
    {
        return myFactory.GetAnimation(ResolveAssetPath(aClip.path), aModel);
    }

    static std::vector<ClipEntry> ourClips;
    ModelFactory myFactory;
};
std::vector<ClipEntry> CharacterContentTest::ourClips;

struct Box
{
    float low[3] = {1e9f, 1e9f, 1e9f};
    float high[3] = {-1e9f, -1e9f, -1e9f};

    void Add(const float* aPoint)
    {
        for (int k = 0; k < 3; ++k)
        {
            low[k] = std::min(low[k], aPoint[k]);
            high[k] = std::max(high[k], aPoint[k]);
        }
    }
    float Size(int aAxis) const { return high[aAxis] - low[aAxis]; }
};

// Every vertex of the model moved by the palette (row vectors, as the skinning shader does).
std::vector<std::array<float, 3>> Skinned(const Model& aModel, const BonePalette& aPalette)
{
    std::vector<std::array<float, 3>> out;
    for (const MeshData& mesh : aModel.myMeshes)
    {
        for (const ModelVertex& v : mesh.myVertices)
        {
            std::array<float, 3> p{};
            for (int i = 0; i < 4; ++i)
            {
                const Matrix4x4& m = aPalette[static_cast<std::size_t>(v.myBones[i])];
                for (int c = 0; c < 3; ++c)
                {
                    const float moved = v.myPosition[0] * m(1, c + 1) + v.myPosition[1] * m(2, c + 1) +
                                        v.myPosition[2] * m(3, c + 1) + m(4, c + 1);
                    p[static_cast<std::size_t>(c)] += v.myWeights[i] * moved;
                }
            }
            out.push_back(p);
        }
    }
    return out;
}

BonePalette PaletteAt(const std::shared_ptr<Model>& aModel, const std::shared_ptr<Animation>& aClip,
                      float aTime)
{
    AnimatedModelInstance instance;
    instance.Init(aModel);
    AnimationPlayer player;
    player.SetAnimation(aClip);
    player.myTime = aTime;
    player.UpdatePose();
    instance.SetPose(player);
    return instance.myBones;
}

// Each joint's bind transform relative to its parent, from the model's inverse binds.
std::vector<Matrix4x4> BindLocals(const Skeleton& aSkeleton)
{
    std::vector<Matrix4x4> locals;
    for (const Skeleton::Joint& joint : aSkeleton.myJoints)
    {
        Matrix4x4 local = Matrix4x4::Inverse(joint.myInverseBind);
        if (joint.myParent >= 0)
        {
            local = local * aSkeleton.myJoints[static_cast<std::size_t>(joint.myParent)].myInverseBind;
        }
        locals.push_back(local);
    }
    return locals;
}

float QuaternionGap(const Quaternion& aLeft, const Quaternion& aRight)
{
    const float dot = aLeft.w * aRight.w + aLeft.x * aRight.x + aLeft.y * aRight.y + aLeft.z * aRight.z;
    return 1.0f - std::fabs(dot);
}

TEST_F(CharacterContentTest, ThePlayerStandsUprightAbout150TallOnItsFeetFacingPlusX)
{
    // The text the animation preload uses, backslash and all.
    const std::shared_ptr<Model> model = GetModel("models\\SK\\CH_Player.fbx");
    ASSERT_TRUE(model);
    Box box;
    float footX = 0.0f;
    float footZ = 0.0f;
    int footCount = 0;
    for (const MeshData& mesh : model->myMeshes)
    {
        for (const ModelVertex& v : mesh.myVertices)
        {
            box.Add(v.myPosition);
            if (v.myPosition[1] < 10.0f)
            {
                footX += v.myPosition[0];
                footZ += v.myPosition[2];
                ++footCount;
            }
        }
    }
    EXPECT_NEAR(box.low[1], 0.0f, 1.0f);
    EXPECT_NEAR(box.high[1], 150.0f, 5.0f);
    EXPECT_LT(box.Size(0), 70.0f);
    EXPECT_LT(box.Size(2), 60.0f);
    EXPECT_NEAR(0.5f * (box.low[2] + box.high[2]), 0.0f, 3.0f);
    // The boots point where the character looks.
    ASSERT_GT(footCount, 0);
    EXPECT_GT(footX / static_cast<float>(footCount), 2.0f);
    EXPECT_NEAR(footZ / static_cast<float>(footCount), 0.0f, 1.0f);
    EXPECT_GE(model->mySkeleton.myJoints.size(), 10u);
    EXPECT_LE(model->mySkeleton.myJoints.size(), 24u);
}

TEST_F(CharacterContentTest, TheManifestListsEveryClipTheGameLoads)
{
    std::set<std::string> listed;
    for (const ClipEntry& clip : ourClips)
    {
        listed.insert(clip.path);
    }
    std::vector<std::string> wanted;
    for (const std::string_view name : PlayerClip::NAMES)
    {
        wanted.push_back(std::string(PlayerClip::PATH_PREFIX) + std::string(name) + ".fbx");
    }
    for (const std::string_view name : BossClip::NAMES)
    {
        wanted.push_back(std::string(BossClip::PATH_PREFIX) + std::string(name) + ".fbx");
    }
    for (const char* name : {"walk", "death", "dance"})
    {
        wanted.push_back(std::string("Animations/SmallEnemy/CH_SmallEnemy_") + name + ".fbx");
    }
    for (const char* name :
         {"walkHurt", "walkReverseHurt", "walk", "walkReverse", "damaged", "death", "dance"})
    {
        wanted.push_back(std::string("Animations/BigEnemy/CH_BigEnemy_") + name + ".fbx");
    }
    for (const char* name :
         {"EN_Eye_activation", "EN_Eye_idle", "EN_levelEnd_door_close", "EN_levelEnd_door_idle"})
    {
        wanted.push_back(std::string("Animations/enviorement/") + name + ".fbx");
    }
    for (const std::string& path : wanted)
    {
        EXPECT_TRUE(listed.count(path)) << path;
    }
}

TEST_F(CharacterContentTest, EveryClipBindsToItsModelMovesAndClosesWhenLooping)
{
    ASSERT_FALSE(ourClips.empty()) << ManifestPath();
    for (const ClipEntry& entry : ourClips)
    {
        SCOPED_TRACE(entry.path);
        const std::shared_ptr<Model> model = GetModel(entry.model);
        const std::shared_ptr<Animation> clip = model ? GetClip(entry, model) : nullptr;
        if (!clip || clip->myFrames.empty())
        {
            ADD_FAILURE() << "no clip";
            continue;
        }
        EXPECT_NEAR(clip->myDuration, entry.length, 1e-3f);
        EXPECT_FLOAT_EQ(clip->myFramesPerSecond, 30.0f);
        EXPECT_EQ(clip->myFrameCount, static_cast<std::uint32_t>(std::lround(entry.length * 30.0f)) + 1u);

        // Bound: every joint below the root keeps its bind offset from its parent in every frame (the
        // rigs only turn and scale them); a joint the clip missed would sit at its parent's origin.
        const Skeleton& skeleton = model->mySkeleton;
        const std::vector<Matrix4x4> binds = BindLocals(skeleton);
        float worstOffset = 0.0f;
        for (const LocalSpacePose& frame : clip->myFrames)
        {
            EXPECT_EQ(frame.myCount, skeleton.myJoints.size());
            for (std::size_t j = 1; j < skeleton.myJoints.size(); ++j)
            {
                const Vector3<float>& p = frame.mySlots[j].myPosition;
                worstOffset = std::max({worstOffset, std::fabs(p.x - binds[j](4, 1)),
                                        std::fabs(p.y - binds[j](4, 2)), std::fabs(p.z - binds[j](4, 3))});
            }
        }
        EXPECT_LT(worstOffset, 0.05f);

        // The pose stays the model's size, and somewhere in the clip it leaves the bind pose.
        const std::vector<std::array<float, 3>> rest = Skinned(*model, BonePalette{});
        float moved = 0.0f;
        for (const float t : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f})
        {
            const std::vector<std::array<float, 3>> posed =
                Skinned(*model, PaletteAt(model, clip, t * clip->myDuration));
            Box restBox;
            Box posedBox;
            for (std::size_t v = 0; v < rest.size(); ++v)
            {
                restBox.Add(rest[v].data());
                posedBox.Add(posed[v].data());
                moved = std::max(moved, std::hypot(posed[v][0] - rest[v][0], posed[v][1] - rest[v][1],
                                                   posed[v][2] - rest[v][2]));
            }
            const float height = restBox.Size(1);
            EXPECT_LT(posedBox.Size(1), 2.0f * height) << t;
            EXPECT_GT(posedBox.high[1], restBox.low[1]) << t;
        }
        EXPECT_GT(moved, 3.0f);

        if (entry.loops)
        {
            const LocalSpacePose& first = clip->myFrames.front();
            const LocalSpacePose& last = clip->myFrames.back();
            for (std::size_t j = 0; j < skeleton.myJoints.size(); ++j)
            {
                const Vector3<float>& a = first.mySlots[j].myPosition;
                const Vector3<float>& b = last.mySlots[j].myPosition;
                EXPECT_LT(std::hypot(a.x - b.x, a.y - b.y, a.z - b.z), 0.05f) << j;
                EXPECT_LT(QuaternionGap(first.mySlots[j].myRotation, last.mySlots[j].myRotation), 1e-4f) << j;
            }
        }
    }
}

TEST_F(CharacterContentTest, TimedPlayerClipsFitTheMovesThatTimeThem)
{
    std::map<std::string, float> lengths;
    for (const ClipEntry& clip : ourClips)
    {
        lengths[clip.path] = clip.length;
    }
    const auto length = [&](std::string_view aName)
    {
        return lengths[std::string(PlayerClip::PATH_PREFIX) + std::string(aName) + ".fbx"];
    };
    // The pound hangs 0.3 s before it falls; its start clip times the same hang.
    EXPECT_NEAR(length("groundPoundStart"), 0.3f, 1e-3f);
    // The jump clip ends by the apex: 0.44 s at full jump force, 0.33 s before the spirit.
    EXPECT_GT(length("jump"), 0.2f);
    EXPECT_LE(length("jump"), 0.44f);
    EXPECT_LE(length("jump_preSpirit"), 0.33f);
    // The intro outlasts its three lines, which end 10.8 s after it starts.
    EXPECT_GT(length("introStart"), 10.8f);
    // Short recoveries hand back to idle quickly.
    for (const char* name :
         {"stop", "stop_preSpirit", "jumpLeave", "jumpLeave_preSpirit", "wallGrab", "wallGrab_left"})
    {
        EXPECT_GT(length(name), 0.1f) << name;
        EXPECT_LE(length(name), 0.5f) << name;
    }
    EXPECT_GT(length("death"), 0.8f);
}

TEST_F(CharacterContentTest, WallClipsReachForTheWallOnTheSideThePlayerFaces)
{
    const std::shared_ptr<Model> model = GetModel("models\\SK\\CH_Player.fbx");
    ASSERT_TRUE(model);
    const Skeleton& skeleton = model->mySkeleton;
    const std::size_t chest = skeleton.myJointNameToIndex.at("chest");
    // Facing left the mesh is turned 2.0 radians about y (row vectors).
    Matrix4x4 turnLeft;
    turnLeft(1, 1) = std::cos(2.0f);
    turnLeft(1, 3) = -std::sin(2.0f);
    turnLeft(3, 1) = std::sin(2.0f);
    turnLeft(3, 3) = std::cos(2.0f);
    for (const auto& [name, facingRight] : {std::pair{"wallSlide", true}, std::pair{"wallSlide_left", false},
                                            std::pair{"wallGrab", true}, std::pair{"wallGrab_left", false}})
    {
        SCOPED_TRACE(name);
        ClipEntry entry;
        entry.path = std::string(PlayerClip::PATH_PREFIX) + name + ".fbx";
        const std::shared_ptr<Animation> clip = GetClip(entry, model);
        ASSERT_TRUE(clip);
        ModelSpacePose pose;
        skeleton.ConvertPoseToModelSpace(clip->myFrames.back(), pose);
        for (const char* hand : {"forearm_L", "forearm_R"})
        {
            Matrix4x4 elbow = pose.myMatrices[skeleton.myJointNameToIndex.at(hand)];
            Matrix4x4 body = pose.myMatrices[chest];
            if (!facingRight)
            {
                elbow = elbow * turnLeft;
                body = body * turnLeft;
            }
            const float reach = elbow(4, 1) - body(4, 1);
            EXPECT_GT(facingRight ? reach : -reach, 5.0f) << hand;
        }
    }
}

TEST_F(CharacterContentTest, EveryCharacterTextureLoadsWithPaintedDetail)
{
    std::set<std::string> models;
    for (const ClipEntry& clip : ourClips)
    {
        models.insert(clip.model);
    }
    ASSERT_GE(models.size(), 6u);
    for (const std::string& modelPath : models)
    {
        std::string stem = modelPath.substr(modelPath.find_last_of("/\\") + 1);
        stem = stem.substr(0, stem.find('.'));
        const std::string path = ResolveAssetPath("textures/Common/" + stem + "_T.dds");
        SCOPED_TRACE(path);
        ASSERT_FALSE(path.empty()) << stem;
        const std::vector<std::uint8_t> bytes = QelTest::ReadBytes(path);
        std::string reason;
        const Platform::DdsImage image = Platform::ReadDds(bytes, Platform::DDS_LOADER_DEFAULT, &reason);
        ASSERT_FALSE(image.IsEmpty()) << reason;
        EXPECT_EQ(image.width, image.height);
        EXPECT_GE(image.width, 256u);
        EXPECT_GT(image.mipLevels, 1u);
        // Painted, not a flat fill: the top level's colours spread widely.
        const Platform::DdsImage::Subresource& top = image.subresources.front();
        double sum = 0.0;
        double squares = 0.0;
        const std::size_t count = top.size / 4;
        for (std::size_t i = 0; i < count; ++i)
        {
            const double luma = image.data[top.offset + 4 * i] + image.data[top.offset + 4 * i + 1] +
                                image.data[top.offset + 4 * i + 2];
            sum += luma;
            squares += luma * luma;
        }
        const double mean = sum / static_cast<double>(count);
        EXPECT_GT(std::sqrt(squares / static_cast<double>(count) - mean * mean), 40.0);
    }
}
} // namespace
