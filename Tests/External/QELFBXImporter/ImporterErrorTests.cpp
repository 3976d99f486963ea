#include "ImporterTestHelpers.h"
#include "Support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

using namespace QELFBXImporter;
using FbxTest::Fixture;

namespace
{
std::string ReadBytes(const std::string& aPath)
{
    std::ifstream file(aPath, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<size_t>(file.tellg()), '\0');
    file.seekg(0);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// The importer's outcome for one file: a soft failure, success, or a thrown runtime error.
enum class Outcome
{
    False,
    True,
    Threw,
};

Outcome TryModel(const std::string& aPath, Model& aModel)
{
    try
    {
        return LoadModel(aPath, aModel, false, true) ? Outcome::True : Outcome::False;
    }
    catch (const std::exception&)
    {
        return Outcome::Threw;
    }
}
} // namespace

TEST(ImporterState, SetUpIsIdempotentAndCanBeRepeated)
{
    UninitImporter(); // tearing down what was never set up does nothing
    EXPECT_EQ(GetImporterState().manager, nullptr);

    InitImporter();
    const Qel::Fbx::Manager* first = GetImporterState().manager.get();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetImporterState().targetAxisSystem, AxisSystem::DirectX);
    EXPECT_FALSE(GetImporterState().ioSettings->importTextures);
    InitImporter();
    EXPECT_EQ(GetImporterState().manager.get(), first);

    UninitImporter();
    EXPECT_EQ(GetImporterState().manager, nullptr);
    EXPECT_EQ(GetImporterState().ioSettings, nullptr);
    EXPECT_EQ(GetImporterState().targetAxisSystem, AxisSystem::DirectX); // the axis system keeps its value
    InitImporter();
    EXPECT_NE(GetImporterState().manager, nullptr);
    UninitImporter();
}

TEST(ImporterErrors, LoadsBeforeSetUpFailSoftly)
{
    UninitImporter();
    Model model;
    EXPECT_FALSE(LoadModel(Fixture("cube.fbx"), model, false, true));
    EXPECT_EQ(GetLastError(), "Failed to create the FBX Importer! Did you call InitImporter()?");
    EXPECT_TRUE(model.meshes.empty());

    Animation animation;
    EXPECT_FALSE(LoadAnimation(Fixture("skinned.fbx"), animation));
    EXPECT_TRUE(GetLastError().starts_with("Failed to create the FBX Importer! Error was: "));
    EXPECT_TRUE(GetLastError().ends_with("."));
    EXPECT_TRUE(animation.frames.empty());
}

TEST(ImporterErrors, MissingFilesAreReportedWithThePathAsPassed)
{
    FbxTest::ImporterScope importer;
    Model model;
    model.path = "untouched";
    const std::string path = "no/such/dir/../Model.fbx";
    EXPECT_FALSE(LoadModel(path, model, false, true));
    EXPECT_EQ(GetLastError(), "FBX File not found! (" + path + ")");
    EXPECT_EQ(model.path, "untouched");

    // A second failure replaces the text of the first.
    Animation animation;
    EXPECT_FALSE(LoadAnimation("", animation));
    EXPECT_EQ(GetLastError(), "FBX File not found! ()");
    // A successful load does not clear it.
    EXPECT_TRUE(LoadModel(Fixture("cube.fbx"), model, false, true));
    EXPECT_EQ(GetLastError(), "FBX File not found! ()");
}

TEST(ImporterErrors, FilesThatAreNotFbxFailToInitialise)
{
    FbxTest::ImporterScope importer;
    QelTest::TempDir dir;
    const std::string other = dir.WriteFile("other.fbx", "solid cube\nendsolid\n").string();
    const std::string empty = dir.WriteFile("empty.fbx", "").string();

    Model model;
    EXPECT_FALSE(LoadModel(other, model, false, true));
    EXPECT_EQ(GetLastError(),
              "Failed to initialize the FBX Importer! Error was: The file is not an FBX file.");
    Animation animation;
    EXPECT_FALSE(LoadAnimation(empty, animation));
    EXPECT_TRUE(GetLastError().starts_with("Failed to initialize the FBX Importer! Error was: "));
    // A folder exists but cannot be read as a file.
    EXPECT_FALSE(LoadModel(dir.GetPath().string(), model, false, true));
    EXPECT_TRUE(GetLastError().starts_with("Failed to initialize the FBX Importer! Error was: "));
    EXPECT_TRUE(model.meshes.empty());

    // A text FBX file is FBX, but this one holds no scene.
    const std::string text =
        dir.WriteFile("text.fbx", "; FBX 7.4.0 project file\nFBXHeaderExtension:  {\n}\n").string();
    EXPECT_FALSE(LoadModel(text, model, false, true));
    EXPECT_TRUE(GetLastError().starts_with("Failed to import the FBX file! Error was: "));
}

TEST(ImporterErrors, UnusableContentThrowsWithACause)
{
    FbxTest::ImporterScope importer;
    Model model;
    try
    {
        LoadModel(Fixture("no_uv.fbx"), model, false, true);
        FAIL() << "a mesh without UVs must throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Cannot load FBX file! No UV layers are present in the file.");
        EXPECT_NE(dynamic_cast<const std::nested_exception*>(&error), nullptr);
    }
    EXPECT_TRUE(model.meshes.empty()); // the record is untouched

    Animation animation;
    EXPECT_THROW(LoadAnimation(Fixture("cube.fbx"), animation), std::runtime_error);
}

TEST(ImporterErrors, DamagedFilesNeverCrashTheImporter)
{
    FbxTest::ImporterScope importer;
    QelTest::TempDir dir;
    const std::string bytes = ReadBytes(Fixture("skinned.fbx"));
    ASSERT_GT(bytes.size(), 1000u);

    // Cut short at many points: every outcome is a soft failure or a runtime error, never a crash.
    size_t failures = 0;
    for (size_t length = 0; length < bytes.size(); length += bytes.size() / 37)
    {
        const std::string path = dir.WriteFile("cut.fbx", bytes.substr(0, length)).string();
        Model model;
        const Outcome outcome = TryModel(path, model);
        failures += outcome != Outcome::True ? 1 : 0;
        Animation animation;
        try
        {
            LoadAnimation(path, animation);
        }
        catch (const std::exception&)
        {
        }
    }
    EXPECT_GT(failures, 30u);

    // Scrambled bytes inside the records.
    for (size_t offset = 100; offset < bytes.size(); offset += 997)
    {
        std::string damaged = bytes;
        for (size_t k = 0; k < 8 && offset + k < damaged.size(); ++k)
        {
            damaged[offset + k] = static_cast<char>(0xFF);
        }
        Model model;
        TryModel(dir.WriteFile("scrambled.fbx", damaged).string(), model);
    }
}

TEST(ImporterErrors, AFileThatFailsToImportKeepsTheReason)
{
    FbxTest::ImporterScope importer;
    QelTest::TempDir dir;
    const std::string bytes = ReadBytes(Fixture("cube.fbx"));
    const std::string path = dir.WriteFile("half.fbx", bytes.substr(0, bytes.size() / 2)).string();

    Model model;
    model.path = "untouched";
    EXPECT_FALSE(LoadModel(path, model, false, true));
    EXPECT_TRUE(GetLastError().starts_with("Failed to import the FBX file! Error was: "));
    EXPECT_EQ(model.path, "untouched");

    Animation animation;
    try
    {
        LoadAnimation(path, animation);
        FAIL() << "an animation that fails to import must throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_TRUE(std::string(error.what()).starts_with("Failed to import the animation. "));
    }
}
