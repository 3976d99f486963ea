// The cache is read with simdjson rather than the json library's own parser: it is read on every load
// of an unchanged level, and a full-tree parse of it would cost about as much as parsing the object
// files in parallel. A load builds its objects straight from the parsed document, property values
// included; only the records form (ReadScenePackedCache) converts values to the json library's form.
#include "vek/scene/SceneCache.h"

#include "vek/Core/JsonBounded.h"
#include "vek/scene/LevelDataParse.h"
#include "vek/scene/PropertySimdjson.h"
#include "vek/scene/SceneCacheEntry.h"
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
namespace dom = simdjson::dom;
namespace fs = std::filesystem;
using impl::AsArray;
using impl::AsObject;
using impl::CacheEntry;
using impl::CacheProperty;
using impl::ReadEntry;
using impl::ReadProperty;
using impl::ReadSigned;
using impl::ReadString;
using impl::ToRecord;

// Below this many entries one thread converts them faster than starting others would.
constexpr std::size_t PARALLEL_READ_MINIMUM = 256;

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
    SharedParser()
    {
        // Only the depth is set here; the buffers grow on the first parse. A value sits a few levels
        // deeper in the cache than in its object file; deeper nesting reads as a damaged cache, and
        // the level data's own reader then names the file at fault.
        constexpr std::size_t ENTRY_DEPTH = 8;
        // Should even this fail, the parser keeps its own default bound.
        const simdjson::error_code allocated =
            myParser.allocate(simdjson::dom::MINIMAL_DOCUMENT_CAPACITY, impl::MAX_JSON_DEPTH + ENTRY_DEPTH);
        static_cast<void>(allocated);
    }

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
    fs::path path;
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
        state->path = aCachePath;
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
        const StringRegistry::DataFileScope source(myState->path);
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
