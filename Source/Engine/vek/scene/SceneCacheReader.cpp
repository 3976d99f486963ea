// The cache is read with simdjson rather than the json library's own parser: it is read on every load
// of an unchanged level, and a full-tree parse of it would cost about as much as parsing the object
// files in parallel. A load builds its objects straight from the parsed document, property values
// included; only the records form (ReadScenePackedCache) converts values to the json library's form.
#include "vek/scene/SceneCache.h"

#include "vek/scene/LevelDataParse.h"
#include "vek/scene/PropertySimdjson.h"
#include "vek/scene/SceneObjectBuilder.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <simdjson.h>

#include <exception>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Qel
{
namespace
{
using Json = nlohmann::json;
namespace dom = simdjson::dom;
namespace fs = std::filesystem;

// Below this many entries one thread converts them faster than starting others would.
constexpr std::size_t PARALLEL_READ_MINIMUM = 256;

// Anything in the file that the writer would never have written.
struct DamagedCache
{
};

// Checked views of an element; by value, since a view taken from a temporary result would dangle.
dom::array AsArray(dom::element aElement)
{
    dom::array array;
    if (aElement.get_array().get(array) != simdjson::SUCCESS)
    {
        throw DamagedCache{};
    }
    return array;
}

dom::object AsObject(dom::element aElement)
{
    dom::object object;
    if (aElement.get_object().get(object) != simdjson::SUCCESS)
    {
        throw DamagedCache{};
    }
    return object;
}

std::int64_t ReadSigned(dom::element aElement)
{
    switch (aElement.type())
    {
    case dom::element_type::INT64:
        return aElement.get_int64().value_unsafe();
    case dom::element_type::UINT64:
        return static_cast<std::int64_t>(aElement.get_uint64().value_unsafe());
    default:
        throw DamagedCache{};
    }
}

std::string_view ReadString(dom::element aElement)
{
    if (aElement.type() != dom::element_type::STRING)
    {
        throw DamagedCache{};
    }
    return aElement.get_string().value_unsafe();
}

// A number as the "Float" type reads it (booleans count as 0 and 1).
float ReadFloat(dom::element aElement)
{
    switch (aElement.type())
    {
    case dom::element_type::DOUBLE:
        return static_cast<float>(aElement.get_double().value_unsafe());
    case dom::element_type::INT64:
        return static_cast<float>(aElement.get_int64().value_unsafe());
    case dom::element_type::UINT64:
        return static_cast<float>(aElement.get_uint64().value_unsafe());
    case dom::element_type::BOOL:
        return aElement.get_bool().value_unsafe() ? 1.0f : 0.0f;
    default:
        throw DamagedCache{};
    }
}

template <std::size_t N>
void ReadFloats(dom::element aElement, bool& outPresent, std::array<float, N>& outValues)
{
    std::size_t index = 0;
    for (dom::element value : AsArray(aElement))
    {
        if (index == N)
        {
            break;
        }
        outValues[index++] = ReadFloat(value);
    }
    if (index < N)
    {
        throw DamagedCache{};
    }
    outPresent = true;
}

// The same json value the library's own parser would have made (non-negative integers unsigned).
Json ToJson(dom::element aElement)
{
    switch (aElement.type())
    {
    case dom::element_type::ARRAY:
    {
        Json array = Json::array();
        for (dom::element value : AsArray(aElement))
        {
            array.push_back(ToJson(value));
        }
        return array;
    }
    case dom::element_type::OBJECT:
    {
        Json object = Json::object();
        for (dom::key_value_pair field : AsObject(aElement))
        {
            object[std::string(field.key)] = ToJson(field.value);
        }
        return object;
    }
    case dom::element_type::INT64:
    {
        const std::int64_t value = aElement.get_int64().value_unsafe();
        return value >= 0 ? Json(static_cast<std::uint64_t>(value)) : Json(value);
    }
    case dom::element_type::UINT64:
        return Json(aElement.get_uint64().value_unsafe());
    case dom::element_type::DOUBLE:
        return Json(aElement.get_double().value_unsafe());
    case dom::element_type::STRING:
        return Json(std::string(aElement.get_string().value_unsafe()));
    case dom::element_type::BOOL:
        return Json(aElement.get_bool().value_unsafe());
    case dom::element_type::NULL_VALUE:
        return Json(nullptr);
    }
    throw DamagedCache{};
}

// One property element of an entry, its value still in the document.
struct CacheProperty
{
    std::string_view myName;
    std::string_view myTypeName;
    dom::element myValue;
};

CacheProperty ReadProperty(dom::element aElement)
{
    CacheProperty property;
    bool hasName = false;
    bool hasType = false;
    bool hasValue = false;
    for (dom::key_value_pair field : AsObject(aElement))
    {
        if (field.key == "name")
        {
            property.myName = ReadString(field.value);
            hasName = true;
        }
        else if (field.key == "type")
        {
            property.myTypeName = ReadString(field.value);
            hasType = true;
        }
        else if (field.key == "value")
        {
            property.myValue = field.value;
            hasValue = true;
        }
    }
    if (!hasName || !hasType || !hasValue)
    {
        throw DamagedCache{};
    }
    return property;
}

// One entry of "objects", its texts viewing the document.
struct CacheEntry
{
    const char* myUuid = nullptr;
    std::string_view myName = "unknown";
    std::string_view myPath;
    std::string_view myObjectDefinition;
    bool myHasMatrix = false;
    std::array<float, 16> myMatrix{};
    bool myHasTranslation = false;
    std::array<float, 3> myTranslation{};
    bool myHasRotation = false;
    std::array<float, 3> myRotation{};
    bool myHasScale = false;
    std::array<float, 3> myScale{};
    // Not to be walked while the count is 0: a default array views no document.
    dom::array myProperties;
    std::size_t myPropertyCount = 0;

    template <typename Intern>
    impl::SceneObjectFrame GetFrame(Intern& aIntern) const
    {
        impl::SceneObjectFrame frame{myName, aIntern(myPath), aIntern(myObjectDefinition)};
        frame.myMatrix = myHasMatrix ? &myMatrix : nullptr;
        frame.myTranslation = myHasTranslation ? &myTranslation : nullptr;
        frame.myRotation = myHasRotation ? &myRotation : nullptr;
        frame.myScale = myHasScale ? &myScale : nullptr;
        return frame;
    }
};

CacheEntry ReadEntry(dom::element aElement)
{
    CacheEntry entry;
    for (dom::key_value_pair field : AsObject(aElement))
    {
        const std::string_view key = field.key;
        if (key == "uuid")
        {
            ReadString(field.value);
            entry.myUuid = field.value.get_c_str().value_unsafe();
        }
        else if (key == "name")
        {
            entry.myName = ReadString(field.value);
        }
        else if (key == "path")
        {
            entry.myPath = ReadString(field.value);
        }
        else if (key == "object-definition")
        {
            entry.myObjectDefinition = ReadString(field.value);
        }
        else if (key == "transform")
        {
            ReadFloats(field.value, entry.myHasMatrix, entry.myMatrix);
        }
        else if (key == "translation")
        {
            ReadFloats(field.value, entry.myHasTranslation, entry.myTranslation);
        }
        else if (key == "rotation")
        {
            ReadFloats(field.value, entry.myHasRotation, entry.myRotation);
        }
        else if (key == "scale")
        {
            ReadFloats(field.value, entry.myHasScale, entry.myScale);
        }
        else if (key == "properties")
        {
            entry.myProperties = AsArray(field.value);
            entry.myPropertyCount = entry.myProperties.size();
        }
    }
    if (entry.myUuid == nullptr)
    {
        throw DamagedCache{};
    }
    return entry;
}

ParsedSceneObject ToRecord(const CacheEntry& aEntry)
{
    ParsedSceneObject record;
    record.myUuid = aEntry.myUuid;
    record.myName = aEntry.myName;
    record.myPath = aEntry.myPath;
    record.myObjectDefinition = aEntry.myObjectDefinition;
    record.myHasMatrix = aEntry.myHasMatrix;
    record.myMatrix = aEntry.myMatrix;
    record.myHasTranslation = aEntry.myHasTranslation;
    record.myTranslation = aEntry.myTranslation;
    record.myHasRotation = aEntry.myHasRotation;
    record.myRotation = aEntry.myRotation;
    record.myHasScale = aEntry.myHasScale;
    record.myScale = aEntry.myScale;
    if (aEntry.myPropertyCount == 0)
    {
        return record;
    }
    record.myProperties.reserve(aEntry.myPropertyCount);
    for (const dom::element element : aEntry.myProperties)
    {
        const CacheProperty property = ReadProperty(element);
        record.myProperties.push_back(
            {std::string(property.myName), std::string(property.myTypeName), ToJson(property.myValue)});
    }
    return record;
}

// Look-ups by text for one document's build: a level repeats its paths, names and type names many
// times over, and a map of the texts already seen answers faster than the locked registries.
template <typename T, T (*MAKE)(std::string_view)>
class TextMemo
{
public:
    T operator()(std::string_view aText)
    {
        const auto [found, inserted] = myValues.try_emplace(aText);
        if (inserted)
        {
            found->second = MAKE(aText);
        }
        return found->second;
    }

private:
    std::unordered_map<std::string_view, T> myValues;
};

const PropertyTypeBase* FindPropertyType(std::string_view aName)
{
    return PropertyTypeRegistry::FindByName(StringRegistry::RegisterOrGetString(aName));
}

struct ObjectBuilder
{
    TextMemo<StringId, StringRegistry::RegisterOrGetString> myIntern;
    TextMemo<const PropertyTypeBase*, FindPropertyType> myFindType;

    // The object of one entry, property values read straight from the document.
    SceneObject Build(const CacheEntry& aEntry)
    {
        SceneObject object;
        impl::BuildObjectFrame(aEntry.GetFrame(myIntern), object);
        if (aEntry.myPropertyCount == 0)
        {
            return object;
        }
        object.myProperties.reserve(aEntry.myPropertyCount);
        for (const dom::element element : aEntry.myProperties)
        {
            const CacheProperty property = ReadProperty(element);
            const PropertyTypeBase* type = myFindType(property.myTypeName);
            object.myProperties.push_back(
                Property{myIntern(property.myName), type, impl::ReadPropertyValue(type, property.myValue)});
        }
        return object;
    }
};

// One parser serves every cache read, so its buffers stay allocated from one load to the next: the
// first touch of a fresh parser's buffers costs several times what the parse itself does.
struct SharedParser
{
    std::mutex myMutex;
    dom::parser myParser;
};

SharedParser& GetSharedParser()
{
    static SharedParser theParser;
    return theParser;
}

// Fills the header from the root's scalar keys and returns the "objects" array (absent: an empty one).
dom::array ReadHeader(dom::element aRoot, SceneCacheHeader& outHeader, bool& outHasObjects)
{
    dom::array objects;
    for (dom::key_value_pair field : AsObject(aRoot))
    {
        const std::string_view key = field.key;
        if (key == "version")
        {
            outHeader.myVersion = ReadSigned(field.value);
        }
        else if (key == "source-scene")
        {
            outHeader.mySourceScene = ReadString(field.value);
        }
        else if (key == "source-vks-write-time")
        {
            outHeader.myStamp.mySceneWriteTime = ReadSigned(field.value);
        }
        else if (key == "leveldata-file-count")
        {
            outHeader.myStamp.myLevelDataFileCount = static_cast<std::uint64_t>(ReadSigned(field.value));
        }
        else if (key == "leveldata-total-bytes")
        {
            outHeader.myStamp.myLevelDataTotalBytes = static_cast<std::uint64_t>(ReadSigned(field.value));
        }
        else if (key == "newest-leveldata-write-time")
        {
            outHeader.myStamp.myNewestLevelDataWriteTime = ReadSigned(field.value);
        }
        else if (key == "objects")
        {
            objects = AsArray(field.value);
            outHasObjects = true;
        }
    }
    return objects;
}
} // namespace

bool IsSceneCacheHeaderValid(const SceneCacheHeader& aHeader, std::string_view aSceneText,
                             const SceneCacheStamp& aStamp)
{
    return aHeader.myVersion == SCENE_CACHE_VERSION && aHeader.mySourceScene == aSceneText &&
           aHeader.myStamp == aStamp;
}

namespace impl
{
struct PackedSceneCacheFile::State
{
    // Held while the document is in use; declared first, so it is released last.
    std::unique_lock<std::mutex> lock{GetSharedParser().myMutex};
    dom::parser& parser = GetSharedParser().myParser;
    SceneCacheHeader header;
    bool hasObjects = false;
    dom::array objects;
};

PackedSceneCacheFile::PackedSceneCacheFile() = default;
PackedSceneCacheFile::~PackedSceneCacheFile() = default;

int PackedSceneCacheFile::Open(const fs::path& aCachePath)
{
    myState.reset();
    if (!fs::exists(aCachePath))
    {
        return SCENE_CACHE_MISSING;
    }
    try
    {
        auto state = std::make_unique<State>();
        dom::element root;
        if (state->parser.load(aCachePath.string()).get(root) != simdjson::SUCCESS)
        {
            return SCENE_CACHE_STALE;
        }
        state->objects = ReadHeader(root, state->header, state->hasObjects);
        myState = std::move(state);
        return SCENE_CACHE_HIT;
    }
    catch (...)
    {
        // Damaged, or out of memory: either way the level data is parsed instead.
        return SCENE_CACHE_STALE;
    }
}

const SceneCacheHeader& PackedSceneCacheFile::GetHeader() const
{
    static const SceneCacheHeader theNone;
    return myState != nullptr ? myState->header : theNone;
}

bool PackedSceneCacheFile::ReadRecords(std::vector<ParsedSceneObject>& outRecords,
                                       unsigned aHardwareThreads) const
{
    outRecords.clear();
    if (myState == nullptr)
    {
        return false;
    }
    if (!myState->hasObjects)
    {
        return true;
    }
    try
    {
        std::vector<dom::element> entries;
        entries.reserve(myState->objects.size());
        for (dom::element entry : myState->objects)
        {
            entries.push_back(entry);
        }
        outRecords.resize(entries.size());
        // The parsed document is only read, so its entries can be turned into records side by side.
        const auto convert = [&](std::size_t aBegin, std::size_t aEnd)
        {
            for (std::size_t index = aBegin; index < aEnd; ++index)
            {
                outRecords[index] = ToRecord(ReadEntry(entries[index]));
            }
        };
        const unsigned threads = entries.size() < PARALLEL_READ_MINIMUM ? 1u : aHardwareThreads;
        std::vector<std::future<void>> tasks;
        for (const auto& [begin, end] : SplitIntoChunks(entries.size(), threads))
        {
            tasks.push_back(std::async(std::launch::async, convert, begin, end));
        }
        bool damaged = false;
        for (std::future<void>& task : tasks)
        {
            try
            {
                task.get();
            }
            catch (...)
            {
                damaged = true;
            }
        }
        if (!damaged)
        {
            return true;
        }
    }
    catch (...)
    {
    }
    outRecords.clear();
    return false;
}
bool PackedSceneCacheFile::BuildSceneObjects(Scene& aScene) const
{
    if (myState == nullptr)
    {
        return false;
    }
    if (!myState->hasObjects)
    {
        return true;
    }
    try
    {
        ObjectBuilder builder;
        for (const dom::element element : myState->objects)
        {
            const CacheEntry entry = ReadEntry(element);
            aScene.CreateSceneObject(entry.myUuid, builder.Build(entry));
        }
        return true;
    }
    catch (...)
    {
        // Damaged, or a value its type cannot read: the parse that follows starts from nothing.
        aScene.ClearObjects();
        return false;
    }
}
} // namespace impl

int ReadScenePackedCache(std::string_view aSceneText, const fs::path& aCachePath,
                         const SceneCacheStamp& aStamp, std::vector<ParsedSceneObject>& outRecords)
{
    outRecords.clear();
    impl::PackedSceneCacheFile file;
    const int opened = file.Open(aCachePath);
    if (opened != SCENE_CACHE_HIT)
    {
        return opened;
    }
    if (!IsSceneCacheHeaderValid(file.GetHeader(), aSceneText, aStamp) ||
        !file.ReadRecords(outRecords, impl::GetHardwareThreadCount()))
    {
        return SCENE_CACHE_STALE;
    }
    return SCENE_CACHE_HIT;
}
} // namespace Qel
