// Which files of a level's ".leveldata" folder are object files, and the stamp that tells whether a
// packed cache still matches them. Reads directory metadata only (names, sizes, write times), never a
// file's contents; safe on any thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Qel
{
// The fingerprint of a level's sources. Write times are file times (see GetFileWriteTime); 0 stands for
// an unreadable time.
struct SceneCacheStamp
{
    std::int64_t mySceneWriteTime = 0;
    std::uint64_t myLevelDataFileCount = 0;
    std::uint64_t myLevelDataTotalBytes = 0;
    std::int64_t myNewestLevelDataWriteTime = 0;

    friend bool operator==(const SceneCacheStamp&, const SceneCacheStamp&) = default;
};

// 100-nanosecond ticks since 1601-01-01 UTC of the path's last modification (symbolic links followed),
// so a newer write always gives a larger, positive number; 0 on any error, a missing file included.
std::int64_t GetFileWriteTime(const std::filesystem::path& aPath);

// True for a name with no extension: no dot, or a dot only as its first character.
bool IsLevelDataObjectFileName(std::string_view aFileName);

// Lists the object files of aLevelDataPath (one level deep, regular files only, sorted by name so every
// load sees the same order) into outFiles and fills outStamp from their sizes and write times and the
// scene file's write time. A folder that cannot be listed raises std::filesystem::filesystem_error.
void LoadSceneCacheCheck(const std::filesystem::path& aFullScenePath,
                         const std::filesystem::path& aLevelDataPath,
                         std::vector<std::filesystem::path>& outFiles, SceneCacheStamp& outStamp);

namespace impl
{
// The object file names of a level-data folder, in name order, kept in one buffer: a cache hit needs
// only the stamp, so paths are made only for a load that goes on to parse the files.
class LevelDataListing
{
public:
    std::size_t GetCount() const { return myEntries.size(); }
    std::string_view GetName(std::size_t aIndex) const;
    std::vector<std::filesystem::path> MakePaths(const std::filesystem::path& aLevelDataPath) const;

private:
    friend void ListLevelData(const std::filesystem::path&, const std::filesystem::path&, LevelDataListing&,
                              SceneCacheStamp&);

    struct Entry
    {
        std::size_t myOffset = 0;
        std::size_t myLength = 0;
    };
    // Each name followed by a NUL.
    std::string myNames;
    std::vector<Entry> myEntries;
};

// LoadSceneCacheCheck, giving the names in place of the paths.
void ListLevelData(const std::filesystem::path& aFullScenePath, const std::filesystem::path& aLevelDataPath,
                   LevelDataListing& outListing, SceneCacheStamp& outStamp);
} // namespace impl
} // namespace Qel
