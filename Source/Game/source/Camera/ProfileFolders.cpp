#include "Camera/ProfileFolders.h"

#include "vek/settings/Settings.h"

#include <system_error>

namespace fs = std::filesystem;

namespace
{
bool IsFile(const fs::path& aPath)
{
    // An unreadable folder counts as a missing file: the caller goes on to the next candidate.
    std::error_code error;
    return fs::exists(aPath, error) && !error;
}
} // namespace

std::string GetLevelProfileName(std::string_view aLevelPath)
{
    // Scene paths may still carry the backslashes they were written with.
    std::string path(aLevelPath);
    for (char& character : path)
    {
        if (character == '\\')
        {
            character = '/';
        }
    }
    const std::string stem = fs::path(path).stem().string();
    return stem.empty() ? std::string("default_scene") : stem;
}

std::filesystem::path GetFallbackProfileDirectory(std::string_view aFolderName)
{
    return fs::path("Bin") / "settings" / fs::path(aFolderName);
}

std::filesystem::path GetProfileDirectory(std::string_view aFolderName)
{
    fs::path root = Qel::GetGameAssetRoot();
    if (root.empty())
    {
        return GetFallbackProfileDirectory(aFolderName);
    }
    // "data/game/" names the same folder as "data/game"; its parent is "data".
    if (!root.has_filename())
    {
        root = root.parent_path();
    }
    return root.parent_path() / "settings" / fs::path(aFolderName);
}

std::filesystem::path BuildProfilePath(std::string_view aFolderName, const std::string& aFileName)
{
    const fs::path primary = GetProfileDirectory(aFolderName) / aFileName;
    if (IsFile(primary))
    {
        return primary;
    }
    const fs::path fallback = GetFallbackProfileDirectory(aFolderName) / aFileName;
    if (fallback != primary && IsFile(fallback))
    {
        return fallback;
    }
    return primary;
}
