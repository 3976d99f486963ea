#include "World/LevelRegistry.h"

#include "vek/settings/Settings.h"

#include <algorithm>

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

void LevelRegistry::ScanLevelFiles(const fs::path& aAssetRoot)
{
    myLevels.clear();
    const fs::path folder = aAssetRoot / "levels";
    if (!fs::is_directory(folder))
    {
        return;
    }
    // Listed aside, so a walk that fails half-way leaves no part of a list behind.
    std::vector<LevelEntry> levels;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".vks")
        {
            continue;
        }
        levels.push_back(
            {entry.path().stem().string(), entry.path().lexically_relative(aAssetRoot).generic_string()});
    }
    std::sort(levels.begin(), levels.end(),
              [](const LevelEntry& aLeft, const LevelEntry& aRight)
              {
                  // Equal names (in different folders) by path, so every machine lists them alike.
                  return aLeft.name != aRight.name ? aLeft.name < aRight.name : aLeft.path < aRight.path;
              });
    myLevels = std::move(levels);
}

std::string LevelRegistry::TakeSceneRequest()
{
    std::string request = std::move(myRequestedScene);
    myRequestedScene.clear();
    return request;
}
