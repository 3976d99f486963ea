// The benchmarks' temporary asset root: what it copies from the run folder and what it leaves (the
// sounds, the packed caches), the settings that point the engine at it, and who removes it.
#include "Support/ExecutableFolderFixture.h"
#include "Support/TempGameRoot.h"

#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

class BenchmarkTempGameRoot : public QelTest::ExecutableFolderFixture
{
protected:
    void SetUp() override
    {
        ExecutableFolderFixture::SetUp();
        myShipped.WriteFile("data/game/definitions/VKO_Ground.vko", "{}");
        myShipped.WriteFile("data/game/models/SM_Ground.fbx", "model");
        myShipped.WriteFile("data/game/Audio/Theme.mp3", "sound");
        myShipped.WriteFile("data/game/levels/L_B.vks", "{}");
        myShipped.WriteFile("data/game/levels/L_B.leveldata/object-1", "{\"name\": \"b\"}");
        myShipped.WriteFile("data/game/levels/L_A.vks", "{}");
        myShipped.WriteFile("data/game/levels/L_A.leveldata/object-2", "{\"name\": \"a\"}");
        myShipped.WriteFile("data/game/levels/.scene_cache/L_A.vkscache", "cache");
        myShipped.WriteFile("data/settings/camera_profiles/global_default.json", "{}");
    }

    QelTest::TempDir myShipped;
};

TEST_F(BenchmarkTempGameRoot, CopiesEverythingButTheSoundsAndTheCachesAndPointsTheSettingsAtIt)
{
    fs::path folder;
    {
        QelBenchmark::TempGameRoot root;
        ASSERT_TRUE(root.Create(myShipped.GetPath(), "temp-root-test", {}, {}));
        folder = root.GetFolder();
        const fs::path game = root.GetGameRoot();
        EXPECT_TRUE(fs::exists(game / "definitions/VKO_Ground.vko"));
        EXPECT_TRUE(fs::exists(game / "models/SM_Ground.fbx"));
        EXPECT_TRUE(fs::exists(game / "levels/L_A.leveldata/object-2"));
        EXPECT_TRUE(fs::exists(folder / "data/settings/camera_profiles/global_default.json"));
        EXPECT_FALSE(fs::exists(game / "Audio"));
        EXPECT_FALSE(fs::exists(root.GetSceneCacheFolder()));
        EXPECT_EQ(root.GetLevels(), (std::vector<std::string>{"levels/L_A.vks", "levels/L_B.vks"}));

        ASSERT_TRUE(root.Use());
        EXPECT_EQ(Qel::GetGameAssetRoot(), game);
        EXPECT_EQ(Qel::GetEngineAssetRoot(), myShipped.GetPath() / "data" / "engine");
        // Copies, not links into the build tree: a cache written here cannot reach the shipped one.
        std::ofstream(game / "models/SM_Ground.fbx") << "changed";
        std::ifstream shipped(myShipped.GetPath() / "data/game/models/SM_Ground.fbx");
        std::string text;
        shipped >> text;
        EXPECT_EQ(text, "model");
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(myShipped.GetPath() / "data/game/levels/.scene_cache/L_A.vkscache"));
}

TEST_F(BenchmarkTempGameRoot, TakesOnlyTheNamedFoldersAndLevelsAndAnAdoptedFolderStays)
{
    QelBenchmark::TempGameRoot root;
    ASSERT_TRUE(root.Create(myShipped.GetPath(), "temp-root-test", {"definitions"}, {"levels/L_B.vks"}));
    EXPECT_TRUE(fs::exists(root.GetGameRoot() / "definitions"));
    EXPECT_FALSE(fs::exists(root.GetGameRoot() / "models"));
    EXPECT_EQ(root.GetLevels(), std::vector<std::string>{"levels/L_B.vks"});
    EXPECT_TRUE(fs::exists(root.GetGameRoot() / "levels/L_B.leveldata/object-1"));
    {
        QelBenchmark::TempGameRoot adopted;
        adopted.Adopt(root.GetFolder());
        EXPECT_EQ(adopted.GetLevels(), std::vector<std::string>{"levels/L_B.vks"});
    }
    EXPECT_TRUE(fs::exists(root.GetFolder()));
}

TEST_F(BenchmarkTempGameRoot, ARunFolderWithoutALaidOutGameIsRefused)
{
    QelTest::TempDir empty;
    QelBenchmark::TempGameRoot root;
    EXPECT_FALSE(root.Create(empty.GetPath(), "temp-root-test", {}, {}));
    EXPECT_TRUE(root.GetFolder().empty());
}
} // namespace
