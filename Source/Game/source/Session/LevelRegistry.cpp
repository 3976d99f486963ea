#include "Session/LevelRegistry.h"

#include "vek/settings/Settings.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <system_error>

namespace fs = std::filesystem;

LevelRegistry& LevelRegistry::GetInstance()
{
    static LevelRegistry instance;
    return instance;
}

void LevelRegistry::ScanLevelFiles()
{
    ScanLevelFiles(Qel::GetGameAssetRoot());
}

namespace
{
// A folder changed this recently may change again within its time's granularity, unseen by the time.
constexpr auto SETTLED_AGE = std::chrono::seconds(2);

void StampFolder(LevelRegistry::Walk& aWalk, const fs::path& aFolder)
{
    std::error_code error;
    const fs::file_time_type changed = fs::last_write_time(aFolder, error);
    if (error || changed > fs::file_time_type::clock::now() - SETTLED_AGE)
    {
        aWalk.isReusable = false;
    }
    aWalk.folders.emplace_back(aFolder, changed);
}

LevelRegistry::Walk WalkLevelFiles(const fs::path& aAssetRoot)
{
    LevelRegistry::Walk walk;
    const fs::path folder = aAssetRoot / "levels";
    if (!fs::is_directory(folder))
    {
        walk.isReusable = false;
        return walk;
    }
    // A folder's time moves when an entry in it comes, goes or is renamed: all a walk looks at.
    StampFolder(walk, folder);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        if (entry.is_directory() && !entry.is_symlink())
        {
            StampFolder(walk, entry.path());
            continue;
        }
        if (!entry.is_regular_file() || entry.path().extension() != ".vks")
        {
            continue;
        }
        walk.levels.push_back(
            {entry.path().stem().string(), entry.path().lexically_relative(aAssetRoot).generic_string()});
    }
    std::sort(walk.levels.begin(), walk.levels.end(),
              [](const LevelEntry& aLeft, const LevelEntry& aRight)
              {
                  // Equal names (in different folders) by path, so every machine lists them alike.
                  return aLeft.name != aRight.name ? aLeft.name < aRight.name : aLeft.path < aRight.path;
              });
    return walk;
}
} // namespace

void LevelRegistry::ScanLevelFiles(const fs::path& aAssetRoot)
{
    myLevels.clear();
    std::optional<std::vector<LevelEntry>> ahead = TakeReadAhead(aAssetRoot);
    // Walked aside, so a walk that fails half-way leaves no part of a list behind.
    myLevels = ahead ? std::move(*ahead) : WalkLevelFiles(aAssetRoot).levels;
}

void LevelRegistry::ReadAheadLevelFiles()
{
    ReadAheadLevelFiles(Qel::GetGameAssetRoot());
}

void LevelRegistry::ReadAheadLevelFiles(const fs::path& aAssetRoot)
{
    if (myReadAhead.valid() && myReadAheadRoot == aAssetRoot)
    {
        return;
    }
    myReadAheadRoot = aAssetRoot;
    myReadAhead = std::async(std::launch::async, [aAssetRoot] { return WalkLevelFiles(aAssetRoot); });
}

std::optional<std::vector<LevelEntry>> LevelRegistry::TakeReadAhead(const fs::path& aAssetRoot)
{
    if (!myReadAhead.valid() || myReadAheadRoot != aAssetRoot)
    {
        return std::nullopt;
    }
    Walk walk;
    try
    {
        walk = myReadAhead.get();
    }
    catch (const std::exception&)
    {
        // The walk now says what is wrong, if it still is.
        return std::nullopt;
    }
    if (!walk.isReusable)
    {
        return std::nullopt;
    }
    for (const auto& [folder, changed] : walk.folders)
    {
        std::error_code error;
        if (fs::last_write_time(folder, error) != changed || error)
        {
            return std::nullopt;
        }
    }
    return std::move(walk.levels);
}

std::string LevelRegistry::TakeSceneRequest()
{
    std::string request = std::move(myRequestedScene);
    myRequestedScene.clear();
    return request;
}
