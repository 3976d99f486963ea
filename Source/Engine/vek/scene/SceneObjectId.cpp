#include "vek/scene/SceneObjectId.h"

#include "Platform/Uuid/Uuid.h"
#include "vek/stringRegistry/StringId.h"

#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Qel
{
namespace
{
struct UuidHash
{
    std::size_t operator()(const Platform::Uuid& aUuid) const
    {
        const std::string_view bytes(reinterpret_cast<const char*>(aUuid.data()), aUuid.size());
        return static_cast<std::size_t>(static_cast<std::uint32_t>(Fnv1a64(bytes)));
    }
};

struct UuidIndex
{
    std::mutex myMutex;
    std::vector<Platform::Uuid> myIds{Platform::Uuid{}};
    std::unordered_map<Platform::Uuid, std::uint32_t, UuidHash> myIdByUuid{{Platform::Uuid{}, 0u}};
};

UuidIndex& GetIndex()
{
    static UuidIndex index;
    return index;
}
} // namespace

std::uint32_t GetSceneObjectIdFromUuid(const char* aUuid)
{
    Platform::Uuid uuid;
    if (!Platform::ParseUuid(aUuid, uuid))
    {
        return 0;
    }
    UuidIndex& index = GetIndex();
    const std::lock_guard lock(index.myMutex);
    const auto [entry, inserted] =
        index.myIdByUuid.try_emplace(uuid, static_cast<std::uint32_t>(index.myIds.size()));
    if (inserted)
    {
        index.myIds.push_back(uuid);
    }
    return entry->second;
}

std::size_t GetSceneObjectIdCount()
{
    UuidIndex& index = GetIndex();
    const std::lock_guard lock(index.myMutex);
    return index.myIds.size();
}
} // namespace Qel
