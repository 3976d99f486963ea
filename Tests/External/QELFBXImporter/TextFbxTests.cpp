// The text form of FBX gives the same records as the binary form it was written from.
#include "Importer/Steps.h"
#include "ImporterTestHelpers.h"

#include "Support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace QELFBXImporter;
using FbxTest::Fixture;

TEST(TextFbx, ModelRecordsMatchTheBinaryFile)
{
    FbxTest::ImporterScope importer;
    Model binary;
    Model text;
    ASSERT_TRUE(LoadModel(Fixture("skinned.fbx"), binary, false, true)) << GetLastError();
    ASSERT_TRUE(LoadModel(Fixture("skinned_text.fbx"), text, false, true)) << GetLastError();

    ASSERT_EQ(text.meshes.size(), binary.meshes.size());
    for (size_t m = 0; m < binary.meshes.size(); ++m)
    {
        ASSERT_EQ(text.meshes[m].vertices.size(), binary.meshes[m].vertices.size());
        EXPECT_EQ(text.meshes[m].indices, binary.meshes[m].indices);
        for (size_t v = 0; v < binary.meshes[m].vertices.size(); ++v)
        {
            EXPECT_EQ(HashVertex(text.meshes[m].vertices[v]), HashVertex(binary.meshes[m].vertices[v])) << v;
        }
    }
    EXPECT_EQ(text.skeleton.name, binary.skeleton.name);
    ASSERT_EQ(text.skeleton.bones.size(), binary.skeleton.bones.size());
    for (size_t b = 0; b < binary.skeleton.bones.size(); ++b)
    {
        EXPECT_EQ(text.skeleton.bones[b].name, binary.skeleton.bones[b].name);
        EXPECT_EQ(text.skeleton.bones[b].parent, binary.skeleton.bones[b].parent);
        EXPECT_LT(FbxTest::MaxDifference(text.skeleton.bones[b].matrix, binary.skeleton.bones[b].matrix),
                  1e-5f);
    }
    ASSERT_EQ(text.materials.size(), binary.materials.size());
    EXPECT_EQ(text.materials[0].name, binary.materials[0].name);
}

TEST(TextFbx, AnimationFramesMatchTheBinaryFile)
{
    FbxTest::ImporterScope importer;
    Animation binary;
    Animation text;
    ASSERT_TRUE(LoadAnimation(Fixture("skinned.fbx"), binary));
    ASSERT_TRUE(LoadAnimation(Fixture("skinned_text.fbx"), text));
    EXPECT_EQ(text.frameCount, binary.frameCount);
    EXPECT_EQ(text.framesPerSecond, binary.framesPerSecond);
    EXPECT_DOUBLE_EQ(text.duration, binary.duration);
    ASSERT_EQ(text.frames.size(), binary.frames.size());
    for (size_t f = 0; f < binary.frames.size(); ++f)
    {
        for (const auto& [name, local] : binary.frames[f].localTransforms)
        {
            EXPECT_LT(FbxTest::MaxDifference(text.frames[f].localTransforms.at(name), local), 1e-5f)
                << f << name;
        }
        EXPECT_EQ(text.frames[f].events.size(), binary.frames[f].events.size()) << f;
    }
}

TEST(TextFbx, AFileOurReaderTakesButTheGeometryReaderCannotParseFailsWithItsError)
{
    // The text file with one closing brace of a curve's array damaged: the records still read, the
    // geometry reader gives up (and, being third-party, leaks what it had parsed).
    std::ifstream in(Fixture("skinned_text.fbx"), std::ios::binary | std::ios::ate);
    std::string text(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    const std::size_t brace = text.find("\t\t\ta: 24836\n\t\t}");
    ASSERT_NE(brace, std::string::npos);
    text[brace + std::string("\t\t\ta: 24836\n\t\t").size()] = static_cast<char>(0xB8);
    QelTest::TempDir dir;
    const std::string path = dir.WriteFile("damaged_text.fbx", text).string();

    FbxTest::ImporterScope importer;
    Model model;
    bool loaded = true;
    try
    {
        loaded = LoadModel(path, model, false, true);
    }
    catch (const std::exception& error)
    {
        loaded = false;
        EXPECT_NE(std::string(error.what()).find("damaged_text.fbx"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(model.meshes.empty());
}
