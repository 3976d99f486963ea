#include "vek/stringRegistry/StringRegistry.h"

#include "vek/Core/Assert.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace Qel
{
namespace
{
struct ViewHash
{
    std::size_t operator()(std::string_view aView) const { return static_cast<std::size_t>(Fnv1a64(aView)); }
};

struct Registry
{
    std::mutex myMutex;
    std::unordered_set<std::string_view, ViewHash> myLookup;
    std::vector<std::unique_ptr<char[]>> myBlocks;
    std::int32_t myFreeCount = 0;

    const char* Copy(std::string_view aText)
    {
        const auto needed = static_cast<std::int32_t>(aText.size() + 1);
        if (needed > myFreeCount)
        {
            // make_unique<char[]> value-initialises, so every copy is NUL-terminated already.
            myBlocks.push_back(std::make_unique<char[]>(STRING_REGISTRY_BLOCK_SIZE));
            myFreeCount = STRING_REGISTRY_BLOCK_SIZE;
        }
        char* destination = myBlocks.back().get() + (STRING_REGISTRY_BLOCK_SIZE - myFreeCount);
        std::memcpy(destination, aText.data(), aText.size());
        myFreeCount -= needed;
        return destination;
    }
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}

thread_local const std::filesystem::path* theDataFile = nullptr;

bool RefuseEmbeddedNul(std::string_view aText)
{
    if (aText.find('\0') == std::string_view::npos)
    {
        return false;
    }
    std::printf("[StringRegistry] Refused a text with an embedded NUL character (%zu bytes)\n", aText.size());
    return true;
}
} // namespace

StringId StringRegistry::RegisterOrGetString(std::string_view aString)
{
    if (aString.size() + 1 > STRING_REGISTRY_SIZE_LIMIT)
    {
        if (theDataFile != nullptr)
        {
            std::printf("[StringRegistry] %s: a text of %zu characters is longer than the %zu a text may "
                        "have; it reads as the null id\n",
                        theDataFile->c_str(), aString.size(), STRING_REGISTRY_SIZE_LIMIT - 1);
            return StringId();
        }
        QEL_ASSERT(aString.size() + 1 <= STRING_REGISTRY_SIZE_LIMIT);
        return StringId();
    }
    if (aString.empty() || RefuseEmbeddedNul(aString))
    {
        return StringId();
    }
    Registry& registry = GetRegistry();
    const std::lock_guard lock(registry.myMutex);
    if (const auto found = registry.myLookup.find(aString); found != registry.myLookup.end())
    {
        return StringId(found->data());
    }
    const char* copy = registry.Copy(aString);
    registry.myLookup.insert(std::string_view(copy, aString.size()));
    return StringId(copy);
}

StringRegistry::DataFileScope::DataFileScope(const std::filesystem::path& aFile) : myPrevious(theDataFile)
{
    theDataFile = &aFile;
}

StringRegistry::DataFileScope::~DataFileScope()
{
    theDataFile = myPrevious;
}

StringId StringRegistry::RegisterOrGetLiteral(const char* aLiteral, std::size_t aLength)
{
    if (aLiteral == nullptr || aLength == 0 || RefuseEmbeddedNul(std::string_view(aLiteral, aLength)))
    {
        return StringId();
    }
    const std::string_view view(aLiteral);
    Registry& registry = GetRegistry();
    const std::lock_guard lock(registry.myMutex);
    return StringId(registry.myLookup.insert(view).first->data());
}

std::size_t StringRegistry::GetBlockCount()
{
    Registry& registry = GetRegistry();
    const std::lock_guard lock(registry.myMutex);
    return registry.myBlocks.size();
}

std::int32_t StringRegistry::GetFreeBytesInNewestBlock()
{
    Registry& registry = GetRegistry();
    const std::lock_guard lock(registry.myMutex);
    return registry.myFreeCount;
}
} // namespace Qel
