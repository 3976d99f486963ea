#include "Session/LevelRegistry.h"
#include "Support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace
{
std::vector<std::string> Describe(const std::vector<LevelEntry>& aLevels)
{
    std::vector<std::string> lines;
    for (const LevelEntry& level : aLevels)
    {
        lines.push_back(level.name + " " + level.path);
    }
    return lines;
}
} // namespace

TEST(LevelRegistry, ListsSceneFilesBelowLevelsSortedByName)
{
    QelTest::TempDir root;
    root.WriteFile("levels/L_World2_Level1.vks", "");
    root.WriteFile("levels/World1/L_World1_Level2.vks", "");
    root.WriteFile("levels/L_World1_Level1.vks", "");
    root.WriteFile("levels/L_World1_Level1.leveldata/3f2504e0-4f89-11d3-9a0c-000000000001", "{}");
    root.WriteFile("levels/notes.txt", "");
    root.WriteFile("levels/L_Old.vks.bak", "");
    root.WriteFile("levels/.vks", "");
    root.WriteFile("levels/Folder.vks/inside.json", "");
    root.WriteFile("levels/L_World1.vks", "");
    root.WriteFile("elsewhere/L_Outside.vks", "");

    LevelRegistry& registry = LevelRegistry::GetInstance();
    registry.ScanLevelFiles(root.GetPath());
    const std::vector<std::string> expected{
        "L_World1 levels/L_World1.vks",
        "L_World1_Level1 levels/L_World1_Level1.vks",
        "L_World1_Level2 levels/World1/L_World1_Level2.vks",
        "L_World2_Level1 levels/L_World2_Level1.vks",
    };
    EXPECT_EQ(Describe(registry.GetLevels()), expected);

    // A second scan starts over.
    QelTest::TempDir empty;
    registry.ScanLevelFiles(empty.GetPath());
    EXPECT_TRUE(registry.GetLevels().empty()) << "no levels folder gives no levels";
}

TEST(LevelRegistry, EqualNamesInDifferentFoldersAreOrderedByPath)
{
    QelTest::TempDir root;
    root.WriteFile("levels/b/L_Same.vks", "");
    root.WriteFile("levels/a/L_Same.vks", "");
    LevelRegistry& registry = LevelRegistry::GetInstance();
    registry.ScanLevelFiles(root.GetPath());
    EXPECT_EQ(Describe(registry.GetLevels()),
              (std::vector<std::string>{"L_Same levels/a/L_Same.vks", "L_Same levels/b/L_Same.vks"}));
}

TEST(LevelRegistry, HoldsOnePendingRequestAndTheCurrentScene)
{
    LevelRegistry& registry = LevelRegistry::GetInstance();
    static_cast<void>(registry.TakeSceneRequest());
    EXPECT_FALSE(registry.HasSceneRequest());
    EXPECT_EQ(registry.TakeSceneRequest(), "");
    EXPECT_FALSE(registry.HasSceneRequest());

    registry.SetSceneRequest("levels/A.vks");
    registry.SetSceneRequest("levels/B.vks");
    EXPECT_TRUE(registry.HasSceneRequest());
    EXPECT_EQ(registry.TakeSceneRequest(), "levels/B.vks");
    EXPECT_FALSE(registry.HasSceneRequest());

    registry.SetCurrentScene("levels/A.vks");
    EXPECT_EQ(registry.GetCurrentScene(), "levels/A.vks");
    registry.SetCurrentScene("");
}

TEST(LevelRegistry, AScanTakesTheReadAheadListOnlyWhileNoFolderItWalkedHasChanged)
{
    namespace fs = std::filesystem;
    QelTest::TempDir root;
    root.WriteFile("levels/L_A.vks", "");
    root.WriteFile("levels/World2/L_B.vks", "");
    const fs::path levels = root.GetPath() / "levels";
    const fs::path nested = levels / "World2";
    // Folders changed long ago, so a later change shows in their times.
    const auto settled = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(levels, settled);
    fs::last_write_time(nested, settled);
    LevelRegistry& registry = LevelRegistry::GetInstance();
    const auto readAhead = [&registry](const fs::path& aRoot)
    {
        registry.ReadAheadLevelFiles(aRoot);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!registry.HasReadAheadFinished() && std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::yield();
        }
        ASSERT_TRUE(registry.HasReadAheadFinished());
    };
    const std::vector<std::string> both{"L_A levels/L_A.vks", "L_B levels/World2/L_B.vks"};

    // A file that comes in a nested folder after the walk is listed.
    readAhead(root.GetPath());
    root.WriteFile("levels/World2/L_C.vks", "");
    registry.ScanLevelFiles(root.GetPath());
    EXPECT_EQ(Describe(registry.GetLevels()).size(), 3u);
    fs::remove(nested / "L_C.vks");
    fs::last_write_time(nested, settled);

    // While the times say nothing changed (here they are put back), the walk's list is the one taken,
    // once: the next scan walks.
    readAhead(root.GetPath());
    root.WriteFile("levels/World2/L_C.vks", "");
    fs::last_write_time(nested, settled);
    registry.ScanLevelFiles(root.GetPath());
    EXPECT_EQ(Describe(registry.GetLevels()), both) << "taken from the read-ahead";
    registry.ScanLevelFiles(root.GetPath());
    EXPECT_EQ(Describe(registry.GetLevels()).size(), 3u);

    // A walk of a folder changed too recently to tell a later change by its time is not taken.
    const auto justNow = fs::file_time_type::clock::now();
    fs::last_write_time(nested, justNow);
    readAhead(root.GetPath());
    fs::remove(nested / "L_C.vks");
    fs::last_write_time(nested, justNow);
    registry.ScanLevelFiles(root.GetPath());
    EXPECT_EQ(Describe(registry.GetLevels()), both);
}
