// Where the per-level settings files live: a named folder under "settings" beside the game's asset root
// (in its parent folder), or under "Bin/settings" relative to the working folder when that holds the
// file instead. Camera and fog profiles share these rules.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The file-name stem of a level path ("levels/L_World1_Level1.vks" gives "L_World1_Level1"), or
// "default_scene" when the path or its stem is empty.
std::string GetLevelProfileName(std::string_view aLevelPath);

// <parent of the game asset root>/settings/<folder>; the fallback folder when no asset root is set.
std::filesystem::path GetProfileDirectory(std::string_view aFolderName);
// Bin/settings/<folder>.
std::filesystem::path GetFallbackProfileDirectory(std::string_view aFolderName);

// The file in the primary folder when it exists, else the one in the fallback folder when that exists,
// else the primary one (which will fail to open).
std::filesystem::path BuildProfilePath(std::string_view aFolderName, const std::string& aFileName);
