#include "vek/scene/LevelDataFiles.h"

#include "vek/scene/LevelDataParse.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <future>
#include <memory>
#include <system_error>

#include <algorithm>
#include <numeric>
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
    // Into the listing's name buffer, where the name is followed by a NUL.
    std::size_t nameOffset = 0;
    std::size_t nameLength = 0;
    bool isRegular = false;
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;
};
// Below this many files one thread stats them faster than starting others would.
constexpr std::size_t PARALLEL_STAT_MINIMUM = 512;
// Hardware threads the stat tasks leave free: one sorts the names meanwhile, and a loader builds the
// cache's objects on another while the stamp is taken.
constexpr unsigned THREADS_LEFT_FOR_OTHER_WORK = 2;

// One stat per file, relative to the folder's descriptor (type, size and time; links followed). Sub-folders
// and anything else that is not a regular file are not object files, and do not count in the stamp.
void StatRange(int aFolder, const std::string& aNames, std::vector<ListedFile>& aFiles, std::size_t aBegin,
               std::size_t aEnd)
{
    for (std::size_t index = aBegin; index < aEnd; ++index)
    {
        ListedFile& file = aFiles[index];
        struct stat status
        {
        };
        if (::fstatat(aFolder, aNames.c_str() + file.nameOffset, &status, 0) == 0 && S_ISREG(status.st_mode))
        {
            file.isRegular = true;
            file.size = static_cast<std::uint64_t>(status.st_size);
            file.writeTime = ToFileTime(status.st_mtim);
        }
    }
}

// The stats are independent system calls, so a large level spreads them over the hardware threads;
// meanwhile this thread puts the names in order. Returns the files' indices sorted by name.
std::vector<std::size_t> StatFilesAndSortByName(int aFolder, const std::string& aNames,
                                                std::vector<ListedFile>& aFiles)
{
    std::vector<std::future<void>> tasks;
    if (aFiles.size() < PARALLEL_STAT_MINIMUM)
    {
        StatRange(aFolder, aNames, aFiles, 0, aFiles.size());
    }
    else
    {
        const unsigned hardwareThreads = impl::GetHardwareThreadCount();
        const unsigned statThreads = hardwareThreads > THREADS_LEFT_FOR_OTHER_WORK
                                         ? hardwareThreads - THREADS_LEFT_FOR_OTHER_WORK
                                         : 1u;
        for (const auto& [begin, end] : impl::SplitIntoChunks(aFiles.size(), statThreads))
        {
            tasks.push_back(std::async(std::launch::async, StatRange, aFolder, std::cref(aNames),
                                       std::ref(aFiles), begin, end));
        }
    }
    // Only the names are read here, and the stat tasks never write them.
    const auto nameOf = [&](std::size_t aIndex)
    {
        return std::string_view(aNames).substr(aFiles[aIndex].nameOffset, aFiles[aIndex].nameLength);
    };
    std::vector<std::size_t> order(aFiles.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t aLeft, std::size_t aRight) { return nameOf(aLeft) < nameOf(aRight); });
    for (std::future<void>& task : tasks)
    {
        task.get();
    }
    return order;
}
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

bool IsLevelDataObjectFileName(std::string_view aFileName)
{
    // No extension by the path rules: no dot, or a single dot that starts the name.
    const std::size_t dot = aFileName.rfind('.');
    return !aFileName.empty() && aFileName != "." && aFileName != ".." &&
           (dot == std::string_view::npos || dot == 0);
}

std::string_view impl::LevelDataListing::GetName(std::size_t aIndex) const
{
    const Entry& entry = myEntries[aIndex];
    return std::string_view(myNames).substr(entry.myOffset, entry.myLength);
}

std::vector<fs::path> impl::LevelDataListing::MakePaths(const fs::path& aLevelDataPath) const
{
    std::vector<fs::path> paths;
    paths.reserve(myEntries.size());
    for (std::size_t index = 0; index < myEntries.size(); ++index)
    {
        paths.push_back(aLevelDataPath / GetName(index));
    }
    return paths;
}

void impl::ListLevelData(const fs::path& aFullScenePath, const fs::path& aLevelDataPath,
                         LevelDataListing& outListing, SceneCacheStamp& outStamp)
{
    outStamp = SceneCacheStamp{};
    outStamp.mySceneWriteTime = GetFileWriteTime(aFullScenePath);
    outListing.myNames.clear();
    outListing.myEntries.clear();

    // Read with the directory's own descriptor, so each stat is one name lookup rather than a walk of
    // the whole path: on a large level the listing is most of what a cache hit costs.
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(aLevelDataPath.c_str()), ::closedir);
    if (folder == nullptr)
    {
        throw fs::filesystem_error("directory_iterator::directory_iterator", aLevelDataPath,
                                   std::error_code(errno, std::generic_category()));
    }
    std::string& names = outListing.myNames;
    std::vector<ListedFile> listed;
    while (true)
    {
        errno = 0;
        const struct dirent* entry = ::readdir(folder.get());
        if (entry == nullptr)
        {
            if (errno != 0)
            {
                throw fs::filesystem_error("directory_iterator::operator++", aLevelDataPath,
                                           std::error_code(errno, std::generic_category()));
            }
            break;
        }
        const std::string_view name = entry->d_name;
        if (IsLevelDataObjectFileName(name))
        {
            listed.push_back(ListedFile{names.size(), name.size(), false, 0, 0});
            names.append(name);
            names.push_back('\0');
        }
    }
    const std::vector<std::size_t> order = StatFilesAndSortByName(::dirfd(folder.get()), names, listed);

    outListing.myEntries.reserve(listed.size());
    for (const std::size_t index : order)
    {
        const ListedFile& file = listed[index];
        if (!file.isRegular)
        {
            continue;
        }
        outStamp.myLevelDataFileCount += 1;
        outStamp.myLevelDataTotalBytes += file.size;
        outStamp.myNewestLevelDataWriteTime = std::max(outStamp.myNewestLevelDataWriteTime, file.writeTime);
        outListing.myEntries.push_back({file.nameOffset, file.nameLength});
    }
}

void LoadSceneCacheCheck(const fs::path& aFullScenePath, const fs::path& aLevelDataPath,
                         std::vector<fs::path>& outFiles, SceneCacheStamp& outStamp)
{
    impl::LevelDataListing listing;
    impl::ListLevelData(aFullScenePath, aLevelDataPath, listing, outStamp);
    outFiles = listing.MakePaths(aLevelDataPath);
}
} // namespace Qel
