#include "vek/scene/SceneCache.h"

#include "vek/Core/Profiler.h"

#include <unistd.h>

#include <exception>
#include <fstream>
#include <iostream>
#include <system_error>

namespace Qel
{
namespace
{
using Json = nlohmann::json;
namespace fs = std::filesystem;

template <std::size_t N>
Json FloatsToJson(const std::array<float, N>& aValues)
{
    Json array = Json::array();
    for (const float value : aValues)
    {
        array.push_back(static_cast<double>(value));
    }
    return array;
}

void ReportWriteFailure(const fs::path& aCachePath, const std::string& aReason)
{
    std::cout << "[SceneCache] Could not write " << aCachePath.string() << ": " << aReason << "\n";
}

// Writes aText to aPath completely, or reports why not.
bool WriteWholeFile(const fs::path& aPath, const std::string& aText, std::string& outReason)
{
    std::ofstream out(aPath, std::ios::binary | std::ios::trunc);
    if (!out)
    {
        outReason = "the file cannot be opened for writing";
        return false;
    }
    out.write(aText.data(), static_cast<std::streamsize>(aText.size()));
    out.close();
    if (out.fail())
    {
        outReason = "writing the file failed (is the disk full?)";
        return false;
    }
    return true;
}
} // namespace

fs::path GetSceneCachePath(const fs::path& aFullScenePath)
{
    fs::path name = aFullScenePath.stem();
    name.replace_extension(".vkscache");
    return aFullScenePath.parent_path() / ".scene_cache" / name;
}

Json SceneObjectToJson(const ParsedSceneObject& aRecord)
{
    Json entry = Json::object();
    entry["uuid"] = aRecord.myUuid;
    entry["name"] = aRecord.myName;
    entry["path"] = aRecord.myPath;
    entry["object-definition"] = aRecord.myObjectDefinition;
    if (aRecord.myHasMatrix)
    {
        entry["transform"] = FloatsToJson(aRecord.myMatrix);
    }
    if (aRecord.myHasTranslation)
    {
        entry["translation"] = FloatsToJson(aRecord.myTranslation);
    }
    if (aRecord.myHasRotation)
    {
        entry["rotation"] = FloatsToJson(aRecord.myRotation);
    }
    if (aRecord.myHasScale)
    {
        entry["scale"] = FloatsToJson(aRecord.myScale);
    }
    if (!aRecord.myProperties.empty())
    {
        Json properties = Json::array();
        for (const ParsedProperty& property : aRecord.myProperties)
        {
            Json element = Json::object();
            element["name"] = property.myName;
            element["type"] = property.myTypeName;
            element["value"] = property.myValue;
            properties.push_back(std::move(element));
        }
        entry["properties"] = std::move(properties);
    }
    return entry;
}

bool WriteScenePackedCache(std::string_view aSceneText, const fs::path& aCachePath,
                           const SceneCacheStamp& aStamp, const std::vector<ParsedSceneObject>& aRecords)
{
    const ProfilerScope scope("Qel::WriteScenePackedCache");
    const fs::path temporary = aCachePath.string() + ".tmp" + std::to_string(::getpid());
    try
    {
        fs::create_directories(aCachePath.parent_path());

        Json root = Json::object();
        root["version"] = SCENE_CACHE_VERSION;
        root["source-scene"] = std::string(aSceneText);
        root["source-vks-write-time"] = aStamp.mySceneWriteTime;
        root["leveldata-file-count"] = aStamp.myLevelDataFileCount;
        root["leveldata-total-bytes"] = aStamp.myLevelDataTotalBytes;
        root["newest-leveldata-write-time"] = aStamp.myNewestLevelDataWriteTime;
        Json& objects = root["objects"] = Json::array();
        objects.get_ref<Json::array_t&>().reserve(aRecords.size());
        for (const ParsedSceneObject& record : aRecords)
        {
            objects.push_back(SceneObjectToJson(record));
        }
        const std::string text = root.dump();

        std::string reason;
        if (!WriteWholeFile(temporary, text, reason))
        {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            ReportWriteFailure(aCachePath, reason);
            return false;
        }
        std::error_code renameError;
        fs::rename(temporary, aCachePath, renameError);
        if (renameError)
        {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            ReportWriteFailure(aCachePath, renameError.message());
            return false;
        }
        return true;
    }
    catch (const std::exception& error)
    {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        ReportWriteFailure(aCachePath, error.what());
        return false;
    }
    catch (...)
    {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        ReportWriteFailure(aCachePath, "unknown error");
        return false;
    }
}
} // namespace Qel
