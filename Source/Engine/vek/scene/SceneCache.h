// The packed scene cache: every object record of one level in a single compact json file, with the
// stamp of the level data it was built from. Written after a load that had to parse the object files,
// read instead of them while the stamp still matches. Reader and writer run on the loading thread;
// nothing locks the file.
//
// Format: one json object without whitespace, keys in byte order at every level:
// {"leveldata-file-count":u64,"leveldata-total-bytes":u64,"newest-leveldata-write-time":i64,
//  "objects":[entry...],"source-scene":text,"source-vks-write-time":i64,"version":1}
// entry: {"name","object-definition","path","properties"?,"rotation"?,"scale"?,"transform"?,
//         "translation"?,"uuid"}; "properties" only when there are some, each {"name","type","value"};
// the transform parts only when the object file had them, as the floats widened to double.
#pragma once

#include "vek/scene/LevelDataFiles.h"
#include "vek/scene/ParsedSceneObject.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Qel
{
class Scene;

inline constexpr std::int64_t SCENE_CACHE_VERSION = 1;

// Results of reading a cache.
inline constexpr int SCENE_CACHE_HIT = 0;
inline constexpr int SCENE_CACHE_MISSING = 1;
// Stale, unreadable, damaged, or failed while its objects were built.
inline constexpr int SCENE_CACHE_STALE = 2;

// What a cache file says it was built from.
struct SceneCacheHeader
{
    std::int64_t myVersion = 0;
    std::string mySourceScene;
    SceneCacheStamp myStamp;
};

// <scene folder>/.scene_cache/<scene stem, its last extension replaced by ".vkscache">. A stem that
// holds a dot loses its last dotted part, so "a.b.vks" and "a.c.vks" share "a.vkscache" and find it
// stale in turn.
std::filesystem::path GetSceneCachePath(const std::filesystem::path& aFullScenePath);

// The cache entry of one record.
nlohmann::json SceneObjectToJson(const ParsedSceneObject& aRecord);

// Writes the whole cache to a temporary file beside it and renames it into place, so a reader never
// sees half a file and a failed write leaves the old file as it was. False (with a log line) when the
// folder cannot be made, a text is not valid UTF-8, or the file cannot be written completely.
bool WriteScenePackedCache(std::string_view aSceneText, const std::filesystem::path& aCachePath,
                           const SceneCacheStamp& aStamp, const std::vector<ParsedSceneObject>& aRecords);

// Version 1, the scene path text byte for byte, and all four stamp values.
bool IsSceneCacheHeaderValid(const SceneCacheHeader& aHeader, std::string_view aSceneText,
                             const SceneCacheStamp& aStamp);

// Reads the cache's records into outRecords (emptied first). SCENE_CACHE_MISSING when there is no file;
// SCENE_CACHE_STALE, with outRecords empty, when it cannot be read, is damaged in any way or its header
// does not match. Only an existence test that fails for another reason than "not found" throws
// (std::filesystem::filesystem_error).
int ReadScenePackedCache(std::string_view aSceneText, const std::filesystem::path& aCachePath,
                         const SceneCacheStamp& aStamp, std::vector<ParsedSceneObject>& outRecords);

namespace impl
{
// One cache file, parsed and its header read, whose entries are turned into records or objects only when
// asked for: a loader can check the header against a stamp it takes meanwhile, and skip the entries of
// a stale file. Open files share one parser, so a second one waits until the first is closed.
class PackedSceneCacheFile
{
public:
    PackedSceneCacheFile();
    ~PackedSceneCacheFile();
    PackedSceneCacheFile(const PackedSceneCacheFile&) = delete;
    PackedSceneCacheFile& operator=(const PackedSceneCacheFile&) = delete;

    // SCENE_CACHE_HIT when the file was read and its header understood, SCENE_CACHE_MISSING when there
    // is none, SCENE_CACHE_STALE when it is unreadable or damaged. Only an existence test that fails for
    // another reason than "not found" throws.
    int Open(const std::filesystem::path& aCachePath);
    // All zero and empty unless Open succeeded.
    const SceneCacheHeader& GetHeader() const;
    // The records in file order, converted on up to aHardwareThreads tasks; false, with outRecords
    // empty, when the file is not open or an entry is damaged.
    bool ReadRecords(std::vector<ParsedSceneObject>& outRecords, unsigned aHardwareThreads) const;
    // Adds an object per entry to aScene, in file order, reading property values straight from the
    // document. False, with the scene's objects cleared, when the file is not open, an entry is
    // damaged or a value cannot be read by its type. Runs on the loading thread.
    bool BuildSceneObjects(Scene& aScene) const;

private:
    struct State;
    std::unique_ptr<State> myState;
};
} // namespace impl
} // namespace Qel
