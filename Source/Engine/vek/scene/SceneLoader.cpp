#include "vek/scene/SceneLoader.h"

#include "vek/Core/Assert.h"
#include "vek/Core/Profiler.h"
#include "vek/scene/LevelDataFiles.h"
#include "vek/scene/LevelDataParse.h"
#include "vek/scene/SceneObjectBuilder.h"
#include "vek/settings/Settings.h"

#include <future>
#include <iostream>
#include <vector>

namespace Qel
{
namespace
{
namespace fs = std::filesystem;

void ReportOutcome(std::string_view aSceneText, SceneLoadOutcome aOutcome, const Scene& aScene)
{
    std::cout << "[LoadScene] " << aSceneText << ": " << GetSceneLoadOutcomeLabel(aOutcome) << ", "
              << aScene.GetObjects().size() << " objects\n";
}
} // namespace

const char* GetSceneLoadOutcomeLabel(SceneLoadOutcome aOutcome)
{
    switch (aOutcome)
    {
    case SceneLoadOutcome::NoLevelData:
        return "no-leveldata";
    case SceneLoadOutcome::CacheHit:
        return "cache-hit";
    case SceneLoadOutcome::CacheMiss:
        return "cache-miss";
    case SceneLoadOutcome::CacheStale:
        return "cache-stale";
    case SceneLoadOutcome::CacheWriteFailed:
        return "cache-write-failed";
    }
    return "unknown";
}

namespace
{
// The objects of an opened cache file, when its header matches aStamp.
int BuildFromCacheFile(const impl::PackedSceneCacheFile& aFile, std::string_view aSceneText,
                       const SceneCacheStamp& aStamp, Scene& aScene)
{
    if (!IsSceneCacheHeaderValid(aFile.GetHeader(), aSceneText, aStamp))
    {
        return SCENE_CACHE_STALE;
    }
    const ProfilerScope scope("Qel::LoadScenePackedCacheBuildSceneObjects");
    // A failure leaves the scene empty; the parse that follows reports the cause with its file.
    return aFile.BuildSceneObjects(aScene) ? SCENE_CACHE_HIT : SCENE_CACHE_STALE;
}
} // namespace

int LoadScenePackedCache(std::string_view aSceneText, const fs::path& aCachePath,
                         const SceneCacheStamp& aStamp, Scene& aScene)
{
    const ProfilerScope scope("Qel::LoadScenePackedCache");
    impl::PackedSceneCacheFile file;
    const int opened = file.Open(aCachePath);
    return opened == SCENE_CACHE_HIT ? BuildFromCacheFile(file, aSceneText, aStamp, aScene) : opened;
}

SceneLoadOutcome impl::LoadSceneReportingOutcome(const char* aScenePath, Scene& aScene,
                                                 unsigned aHardwareThreads)
{
    QEL_ASSERT(aScenePath != nullptr);
    const std::string_view sceneText = aScenePath != nullptr ? aScenePath : "";
    const ProfilerScope scope("Qel::LoadScene");

    const fs::path fullScenePath = GetGameAssetRoot() / fs::path(sceneText);
    aScene.myPath = std::string(sceneText);
    aScene.myName = fullScenePath.stem().string();
    aScene.ClearObjects();

    const fs::path levelDataPath = fs::path(fullScenePath).replace_extension(".leveldata");
    if (!fs::exists(levelDataPath))
    {
        return SceneLoadOutcome::NoLevelData;
    }

    // The stamp is taken from the folder listing while this thread reads the cache file and, when all
    // but the stamp matches, builds its objects: on a large level listing and building each cost about
    // as much as the other. A stamp that then differs throws the objects away again.
    LevelDataListing listing;
    SceneCacheStamp stamp;
    auto stampTask = std::async(std::launch::async,
                                [&]
                                {
                                    const ProfilerScope checkScope("Qel::LoadSceneCacheCheck");
                                    ListLevelData(fullScenePath, levelDataPath, listing, stamp);
                                });
    const fs::path cachePath = GetSceneCachePath(fullScenePath);
    SceneCacheHeader header;
    int cache = SCENE_CACHE_MISSING;
    {
        // Closed before the stamp is waited for: an open cache file holds the one shared parser.
        PackedSceneCacheFile cacheFile;
        cache = cacheFile.Open(cachePath);
        header = cacheFile.GetHeader();
        if (cache == SCENE_CACHE_HIT)
        {
            cache = BuildFromCacheFile(cacheFile, sceneText, header.myStamp, aScene);
        }
    }
    try
    {
        stampTask.get();
    }
    catch (...)
    {
        aScene.ClearObjects();
        throw;
    }
    if (cache == SCENE_CACHE_HIT && !IsSceneCacheHeaderValid(header, sceneText, stamp))
    {
        aScene.ClearObjects();
        cache = SCENE_CACHE_STALE;
    }
    if (cache == SCENE_CACHE_HIT)
    {
        return SceneLoadOutcome::CacheHit;
    }

    std::vector<ParsedSceneObject> records;
    {
        const ProfilerScope fallbackScope("Qel::LoadSceneLevelDataFallback");
        records = LoadSceneObjectFilesParallel(listing.MakePaths(levelDataPath), aHardwareThreads);
    }
    // Built before the cache is written, so a level whose values cannot be read leaves no cache that
    // would fail the same way on every later load.
    CreateSceneObjectsFromParsedObjects(records, aScene, levelDataPath);
    const bool written = WriteScenePackedCache(sceneText, cachePath, stamp, records);
    if (!written)
    {
        return SceneLoadOutcome::CacheWriteFailed;
    }
    return cache == SCENE_CACHE_MISSING ? SceneLoadOutcome::CacheMiss : SceneLoadOutcome::CacheStale;
}

bool LoadScene(const char* aScenePath, Scene& aScene)
{
    const SceneLoadOutcome outcome = impl::LoadSceneReportingOutcome(aScenePath, aScene);
    ReportOutcome(aScene.myPath, outcome, aScene);
    return true;
}
} // namespace Qel
