// Loading the project settings file ("settings/<name>" beside the executable) into the static
// create parameters and the asset roots. Called on the main thread before the engine starts; the
// roots are read-only afterwards, so loaders on any thread may read them.
#pragma once

#include <filesystem>
#include <string_view>

namespace Qel
{
// Reads the settings file. A name without '.' gets ".json". A missing file, malformed JSON or a
// key of the wrong type gives one "[Settings]" line naming the file and false; what could be read
// is kept, everything else keeps its value. Sizes of zero or less are refused.
bool LoadSettings(std::string_view aName);

// The folder of the running executable, where "settings/" and "data/" live. LoadSettings and the
// resolvers use it; tests point it at a folder of their own.
const std::filesystem::path& GetExecutableFolder();
void SetExecutableFolder(const std::filesystem::path& aFolder);

const std::filesystem::path& GetEngineAssetRoot();
const std::filesystem::path& GetGameAssetRoot();
const std::filesystem::path& GetCookedAssetRoot();

// Back to the state before any settings were read: default create parameters and empty roots. The
// executable folder is kept.
void ResetSettings();
} // namespace Qel
