// Loading one level into a Scene: the scene file's ".leveldata" folder of object files, or the packed
// cache built from them while it still matches. Runs on the game's scene-load task; the object files
// are parsed by tasks of their own, and everything that touches shared engine state (string registry,
// property types, value pools, the scene) happens on the calling thread after they are joined.
#pragma once

#include "vek/scene/Scene.h"
#include "vek/scene/SceneCache.h"

#include <filesystem>
#include <string_view>

namespace Qel
{
enum class SceneLoadOutcome
{
    NoLevelData,
    CacheHit,
    CacheMiss,
    CacheStale,
    CacheWriteFailed,
};

// "no-leveldata", "cache-hit", "cache-miss", "cache-stale", "cache-write-failed".
const char* GetSceneLoadOutcomeLabel(SceneLoadOutcome aOutcome);

// Fills aScene from the level aScenePath names (relative to the game asset root, or absolute): its path
// is set to aScenePath, its name to the scene file's stem, and its objects replaced. A scene without a
// ".leveldata" folder loads empty. Returns true; bad level data leaves as an exception (a SceneDataError
// naming the file for a bad object file or property value, std::filesystem::filesystem_error for a
// folder that cannot be listed), after every parse task has finished and with the scene left empty.
bool LoadScene(const char* aScenePath, Scene& aScene);

// Builds aScene's objects from the cache when it is there and matches: SCENE_CACHE_HIT,
// SCENE_CACHE_MISSING or SCENE_CACHE_STALE. A cache that fails while its objects are built leaves the
// scene without objects, so the parse that follows starts from nothing.
int LoadScenePackedCache(std::string_view aSceneText, const std::filesystem::path& aCachePath,
                         const SceneCacheStamp& aStamp, Scene& aScene);

namespace impl
{
// LoadScene, telling how it went; aHardwareThreads 0 asks the platform how many parse tasks to use.
SceneLoadOutcome LoadSceneReportingOutcome(const char* aScenePath, Scene& aScene,
                                           unsigned aHardwareThreads = 0);
} // namespace impl
} // namespace Qel
