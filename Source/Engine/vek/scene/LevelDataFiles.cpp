#include "vek/scene/LevelDataFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <utility>

namespace Qel
{
namespace
{
namespace fs = std::filesystem;

// Seconds from 1601-01-01 to 1970-01-01, and file-time ticks per second.
constexpr std::int64_t EPOCH_DIFFERENCE_SECONDS = 11644473600;
constexpr std::int64_t TICKS_PER_SECOND = 10000000;
constexpr std::int64_t NANOSECONDS_PER_TICK = 100;

// Taken straight from stat: the standard clock's count on this platform is relative to a far-future
// epoch, so it is negative for every real file and would never rise above a stamp's starting 0.
std::int64_t ToFileTime(const struct timespec& aTime)
{
    return (static_cast<std::int64_t>(aTime.tv_sec) + EPOCH_DIFFERENCE_SECONDS) * TICKS_PER_SECOND +
           static_cast<std::int64_t>(aTime.tv_nsec) / NANOSECONDS_PER_TICK;
}

struct ListedFile
{
    std::string name;
    fs::path path;
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;
};
} // namespace

std::int64_t GetFileWriteTime(const fs::path& aPath)
{
    struct stat status
    {
    };
    if (::stat(aPath.c_str(), &status) != 0)
    {
        return 0;
    }
    return ToFileTime(status.st_mtim);
}

bool IsLevelDataObjectFileName(const fs::path& aFileName)
{
    return !aFileName.empty() && !aFileName.has_extension();
}

void LoadSceneCacheCheck(const fs::path& aFullScenePath, const fs::path& aLevelDataPath,
                         std::vector<fs::path>& outFiles, SceneCacheStamp& outStamp)
{
    outStamp = SceneCacheStamp{};
    outStamp.mySceneWriteTime = GetFileWriteTime(aFullScenePath);
    outFiles.clear();

    std::vector<ListedFile> listed;
    for (const fs::directory_entry& entry : fs::directory_iterator(aLevelDataPath))
    {
        fs::path name = entry.path().filename();
        if (!IsLevelDataObjectFileName(name))
        {
            continue;
        }
        // One stat gives type, size and time. Sub-folders and anything that is not a readable regular
        // file are not object files, and do not count in the stamp.
        struct stat status
        {
        };
        if (::stat(entry.path().c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        {
            continue;
        }
        listed.push_back({std::move(name).native(), entry.path(), static_cast<std::uint64_t>(status.st_size),
                          ToFileTime(status.st_mtim)});
    }
    std::sort(listed.begin(), listed.end(),
              [](const ListedFile& aLeft, const ListedFile& aRight) { return aLeft.name < aRight.name; });

    outFiles.reserve(listed.size());
    for (ListedFile& file : listed)
    {
        outStamp.myLevelDataFileCount += 1;
        outStamp.myLevelDataTotalBytes += file.size;
        outStamp.myNewestLevelDataWriteTime = std::max(outStamp.myNewestLevelDataWriteTime, file.writeTime);
        outFiles.push_back(std::move(file.path));
    }
}
} // namespace Qel
