#include "LevelFixture.h"
#include "vek/scene/LevelDataFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>

using Qel::GetFileWriteTime;
using Qel::LoadSceneCacheCheck;
using Qel::SceneCacheStamp;
using QelTest::LevelFixture;
using QelTest::SetWriteTime;
namespace fs = std::filesystem;

namespace
{
// Ticks between 1601-01-01 and 1970-01-01.
constexpr std::int64_t UNIX_EPOCH_TICKS = 116444736000000000;
constexpr std::int64_t TICKS_PER_SECOND = 10000000;
} // namespace

TEST(FileWriteTime, IsWindowsTicksOfTheModificationTime)
{
    LevelFixture level;
    const fs::path file = level.WriteScene();
    SetWriteTime(file, 1700000000, 123456789);
    EXPECT_EQ(GetFileWriteTime(file), UNIX_EPOCH_TICKS + 1700000000 * TICKS_PER_SECOND + 1234567);
}

TEST(FileWriteTime, AFreshFileIsPositiveAndCloseToNow)
{
    LevelFixture level;
    const std::int64_t now =
        UNIX_EPOCH_TICKS + static_cast<std::int64_t>(std::time(nullptr)) * TICKS_PER_SECOND;
    const std::int64_t written = GetFileWriteTime(level.WriteScene());
    EXPECT_GT(written, 0);
    EXPECT_LT(std::abs(written - now), 120 * TICKS_PER_SECOND);
}

TEST(FileWriteTime, ALaterWriteGivesALargerTime)
{
    LevelFixture level;
    const fs::path file = level.WriteScene();
    SetWriteTime(file, 1600000000);
    const std::int64_t before = GetFileWriteTime(file);
    SetWriteTime(file, 1600000000, 100);
    EXPECT_GT(GetFileWriteTime(file), before);
}

TEST(FileWriteTime, MissingFileGivesZero)
{
    LevelFixture level;
    EXPECT_EQ(GetFileWriteTime(level.GetRoot() / "nothing-here"), 0);
}

TEST(LevelDataFileNames, OnlyNamesWithoutExtensionAreObjectFiles)
{
    EXPECT_TRUE(Qel::IsLevelDataObjectFileName("3f2504e0-4f89-11d3-9a0c-0305e82c3301"));
    EXPECT_TRUE(Qel::IsLevelDataObjectFileName(".hidden"));
    EXPECT_FALSE(Qel::IsLevelDataObjectFileName("object.json"));
    EXPECT_FALSE(Qel::IsLevelDataObjectFileName("ends-with-dot."));
    EXPECT_FALSE(Qel::IsLevelDataObjectFileName(".two.dots"));
    EXPECT_FALSE(Qel::IsLevelDataObjectFileName(""));
    EXPECT_FALSE(Qel::IsLevelDataObjectFileName("."));
    EXPECT_FALSE(Qel::IsLevelDataObjectFileName(".."));
}

TEST(LevelDataListing, ListsRegularExtensionlessFilesSortedByNameAndStampsThem)
{
    LevelFixture level;
    SetWriteTime(level.WriteScene(), 1500000000);
    SetWriteTime(level.WriteObject("c", "{}"), 1600000300);
    SetWriteTime(level.WriteObject("a", "{\"name\":\"x\"}"), 1600000100);
    SetWriteTime(level.WriteObject(".b", "[]"), 1600000200);
    // Neither counted nor listed: a file with an extension, a sub-folder without one, and a file in it.
    SetWriteTime(level.WriteObject("skipped.json", "{\"ignored\":1}"), 1800000000);
    level.WriteObject("sub/d", "{}");
    SetWriteTime(level.GetLevelDataPath() / "sub", 1900000000);

    std::vector<fs::path> files{"stale entry"};
    SceneCacheStamp stamp;
    stamp.myLevelDataFileCount = 99;
    LoadSceneCacheCheck(level.GetScenePath(), level.GetLevelDataPath(), files, stamp);

    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], level.GetLevelDataPath() / ".b");
    EXPECT_EQ(files[1], level.GetLevelDataPath() / "a");
    EXPECT_EQ(files[2], level.GetLevelDataPath() / "c");
    EXPECT_EQ(stamp.mySceneWriteTime, UNIX_EPOCH_TICKS + 1500000000 * TICKS_PER_SECOND);
    EXPECT_EQ(stamp.myLevelDataFileCount, 3u);
    EXPECT_EQ(stamp.myLevelDataTotalBytes, 2u + 12u + 2u);
    EXPECT_EQ(stamp.myNewestLevelDataWriteTime, UNIX_EPOCH_TICKS + 1600000300 * TICKS_PER_SECOND);
}

TEST(LevelDataListing, EmptyFolderAndMissingSceneFileGiveZeros)
{
    LevelFixture level;
    fs::create_directories(level.GetLevelDataPath());
    std::vector<fs::path> files;
    SceneCacheStamp stamp;
    LoadSceneCacheCheck(level.GetScenePath(), level.GetLevelDataPath(), files, stamp);
    EXPECT_TRUE(files.empty());
    EXPECT_EQ(stamp, SceneCacheStamp{});
}

TEST(LevelDataListing, EditingAnyFileChangesTheStamp)
{
    LevelFixture level;
    level.WriteScene();
    const fs::path first = level.WriteObject("a", "{}");
    SetWriteTime(first, 1600000000);
    SetWriteTime(level.WriteObject("b", "{}"), 1600000500);

    std::vector<fs::path> files;
    SceneCacheStamp before;
    LoadSceneCacheCheck(level.GetScenePath(), level.GetLevelDataPath(), files, before);

    // The older file is rewritten with the same size: only its new time tells.
    level.EditObject("a", "[]");
    SceneCacheStamp after;
    LoadSceneCacheCheck(level.GetScenePath(), level.GetLevelDataPath(), files, after);
    EXPECT_EQ(after.myLevelDataTotalBytes, before.myLevelDataTotalBytes);
    EXPECT_GT(after.myNewestLevelDataWriteTime, before.myNewestLevelDataWriteTime);
    EXPECT_NE(after, before);
}

TEST(LevelDataListing, AFileWhereTheFolderShouldBeCannotBeListed)
{
    LevelFixture level;
    level.WriteFile(fs::relative(level.GetLevelDataPath(), level.GetRoot()), "not a folder");
    std::vector<fs::path> files;
    SceneCacheStamp stamp;
    EXPECT_THROW(LoadSceneCacheCheck(level.GetScenePath(), level.GetLevelDataPath(), files, stamp),
                 fs::filesystem_error);
}

TEST(LevelDataListing, ALargeFolderIsStampedSideBySideAndStillSortedByName)
{
    // Enough files that the stats run on several tasks while the names are sorted.
    LevelFixture level;
    constexpr int COUNT = 700;
    std::uint64_t bytes = 0;
    for (int number = COUNT - 1; number >= 0; --number)
    {
        const std::string text(static_cast<std::size_t>(number % 7), 'x');
        SetWriteTime(level.WriteObject("object" + std::to_string(number), text), 1600000000 + number);
        bytes += text.size();
    }
    level.WriteObject("sub/inner", "{}");
    level.WriteObject("other.json", "{}");

    std::vector<fs::path> files;
    SceneCacheStamp stamp;
    LoadSceneCacheCheck(level.GetScenePath(), level.GetLevelDataPath(), files, stamp);
    ASSERT_EQ(files.size(), static_cast<std::size_t>(COUNT));
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
    EXPECT_EQ(files.front(), level.GetLevelDataPath() / "object0");
    EXPECT_EQ(stamp.myLevelDataFileCount, static_cast<std::uint64_t>(COUNT));
    EXPECT_EQ(stamp.myLevelDataTotalBytes, bytes);
    EXPECT_EQ(stamp.myNewestLevelDataWriteTime,
              UNIX_EPOCH_TICKS + (1600000000 + COUNT - 1) * TICKS_PER_SECOND);

    // A load lists the same names without making their paths.
    Qel::impl::LevelDataListing listing;
    SceneCacheStamp listed;
    Qel::impl::ListLevelData(level.GetScenePath(), level.GetLevelDataPath(), listing, listed);
    EXPECT_EQ(listed, stamp);
    EXPECT_EQ(listing.MakePaths(level.GetLevelDataPath()), files);
    EXPECT_EQ(listing.GetName(1), "object1");
}
