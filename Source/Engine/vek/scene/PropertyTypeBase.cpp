#include "vek/scene/PropertyTypeBase.h"

#include "vek/stringRegistry/StringRegistry.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace Qel
{
namespace
{
struct TypeTable
{
    std::mutex myMutex;
    std::once_flag myBuildFlag;
    std::array<PropertyTypeBase*, PROPERTY_TYPE_REGISTRY_CAPACITY> myTypes{};
    std::uint32_t myCount = 0;
    std::atomic<bool> myIsFrozen{false};
    std::unordered_map<StringId, const PropertyTypeBase*, StringIdHash> myByName;
};

TypeTable& GetTable()
{
    static TypeTable table;
    return table;
}
} // namespace

PropertyTypeBase::PropertyTypeBase(const char* aName) : myDisplayName(aName)
{
    PropertyTypeRegistry::Register(*this);
}

void PropertyTypeRegistry::Register(PropertyTypeBase& aType)
{
    TypeTable& table = GetTable();
    const std::lock_guard lock(table.myMutex);
    if (table.myIsFrozen.load() || table.myCount >= PROPERTY_TYPE_REGISTRY_CAPACITY)
    {
        std::printf("[PropertyTypeRegistry] Cannot register the type \"%s\": the registry is %s\n",
                    aType.myDisplayName, table.myIsFrozen.load() ? "already built" : "full");
        std::fflush(stdout);
        std::abort();
    }
    aType.myIndex = table.myCount;
    table.myTypes[table.myCount] = &aType;
    ++table.myCount;
}

void PropertyTypeRegistry::Build()
{
    impl::LinkPropertyTypes();
    TypeTable& table = GetTable();
    std::call_once(table.myBuildFlag,
                   [&table]
                   {
                       const std::lock_guard lock(table.myMutex);
                       table.myIsFrozen.store(true);
                       for (std::uint32_t index = 0; index < table.myCount; ++index)
                       {
                           PropertyTypeBase& type = *table.myTypes[index];
                           type.myName = StringRegistry::RegisterOrGetString(type.myDisplayName);
                           table.myByName[type.myName] = &type;
                       }
                   });
}

const PropertyTypeBase* PropertyTypeRegistry::FindByName(StringId aName)
{
    Build();
    const TypeTable& table = GetTable();
    const auto found = table.myByName.find(aName);
    return found != table.myByName.end() ? found->second : nullptr;
}

std::uint32_t PropertyTypeRegistry::GetTypeCount()
{
    TypeTable& table = GetTable();
    const std::lock_guard lock(table.myMutex);
    return table.myCount;
}

const PropertyTypeBase* PropertyTypeRegistry::GetType(std::uint32_t aIndex)
{
    TypeTable& table = GetTable();
    const std::lock_guard lock(table.myMutex);
    return aIndex < table.myCount ? table.myTypes[aIndex] : nullptr;
}

bool PropertyTypeRegistry::IsFrozen()
{
    return GetTable().myIsFrozen.load();
}
} // namespace Qel
