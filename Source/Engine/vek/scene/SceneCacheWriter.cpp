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

// The cache text is put together directly rather than through one json tree of every object: the tree
// would cost as much as parsing the level. Texts, numbers and property values still go through the json
// library's own serializer, so the bytes are those of a dump of SceneObjectToJson entries.
void AppendValue(std::string& aOut, const Json& aValue)
{
    aOut += aValue.dump();
}

void AppendKey(std::string& aOut, const char* aKey)
{
    aOut += '"';
    aOut += aKey;
    aOut += "\":";
}

template <std::size_t N>
void AppendFloats(std::string& aOut, const char* aKey, const std::array<float, N>& aValues)
{
    aOut += ',';
    AppendKey(aOut, aKey);
    aOut += '[';
    for (std::size_t index = 0; index < N; ++index)
    {
        if (index != 0)
        {
            aOut += ',';
        }
        AppendValue(aOut, Json(static_cast<double>(aValues[index])));
    }
    aOut += ']';
}

// Keys in byte order, as the json library sorts them.
void AppendEntry(std::string& aOut, const ParsedSceneObject& aRecord)
{
    aOut += '{';
    AppendKey(aOut, "name");
    AppendValue(aOut, Json(aRecord.myName));
    aOut += ',';
    AppendKey(aOut, "object-definition");
    AppendValue(aOut, Json(aRecord.myObjectDefinition));
    aOut += ',';
    AppendKey(aOut, "path");
    AppendValue(aOut, Json(aRecord.myPath));
    if (!aRecord.myProperties.empty())
    {
        aOut += ',';
        AppendKey(aOut, "properties");
        aOut += '[';
        for (std::size_t index = 0; index < aRecord.myProperties.size(); ++index)
        {
            const ParsedProperty& property = aRecord.myProperties[index];
            aOut += index != 0 ? ",{" : "{";
            AppendKey(aOut, "name");
            AppendValue(aOut, Json(property.myName));
            aOut += ',';
            AppendKey(aOut, "type");
            AppendValue(aOut, Json(property.myTypeName));
            aOut += ',';
            AppendKey(aOut, "value");
            AppendValue(aOut, property.myValue);
            aOut += '}';
        }
        aOut += ']';
    }
    if (aRecord.myHasRotation)
    {
        AppendFloats(aOut, "rotation", aRecord.myRotation);
    }
    if (aRecord.myHasScale)
    {
        AppendFloats(aOut, "scale", aRecord.myScale);
    }
    if (aRecord.myHasMatrix)
    {
        AppendFloats(aOut, "transform", aRecord.myMatrix);
    }
    if (aRecord.myHasTranslation)
    {
        AppendFloats(aOut, "translation", aRecord.myTranslation);
    }
    aOut += ',';
    AppendKey(aOut, "uuid");
    AppendValue(aOut, Json(aRecord.myUuid));
    aOut += '}';
}

std::string MakeCacheText(std::string_view aSceneText, const SceneCacheStamp& aStamp,
                          const std::vector<ParsedSceneObject>& aRecords)
{
    std::string text;
    text.reserve(256 + aRecords.size() * 512);
    text += '{';
    AppendKey(text, "leveldata-file-count");
    text += std::to_string(aStamp.myLevelDataFileCount);
    text += ',';
    AppendKey(text, "leveldata-total-bytes");
    text += std::to_string(aStamp.myLevelDataTotalBytes);
    text += ',';
    AppendKey(text, "newest-leveldata-write-time");
    text += std::to_string(aStamp.myNewestLevelDataWriteTime);
    text += ',';
    AppendKey(text, "objects");
    text += '[';
    for (std::size_t index = 0; index < aRecords.size(); ++index)
    {
        if (index != 0)
        {
            text += ',';
        }
        AppendEntry(text, aRecords[index]);
    }
    text += "],";
    AppendKey(text, "source-scene");
    AppendValue(text, Json(std::string(aSceneText)));
    text += ',';
    AppendKey(text, "source-vks-write-time");
    text += std::to_string(aStamp.mySceneWriteTime);
    text += ',';
    AppendKey(text, "version");
    text += std::to_string(SCENE_CACHE_VERSION);
    text += '}';
    return text;
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

        const std::string text = MakeCacheText(aSceneText, aStamp, aRecords);

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
