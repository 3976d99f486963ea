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
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".vks")
        {
            continue;
        }
        myLevels.push_back(
            {entry.path().stem().string(), entry.path().lexically_relative(aAssetRoot).generic_string()});
    }
    std::sort(myLevels.begin(), myLevels.end(),
              [](const LevelEntry& aLeft, const LevelEntry& aRight)
              {
                  // Equal names (in different folders) by path, so every machine lists them alike.
                  return aLeft.name != aRight.name ? aLeft.name < aRight.name : aLeft.path < aRight.path;
              });
}

std::string LevelRegistry::TakeSceneRequest()
{
    std::string request = std::move(myRequestedScene);
    myRequestedScene.clear();
    return request;
}
