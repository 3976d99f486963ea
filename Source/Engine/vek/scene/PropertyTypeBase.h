// The base of every property value type, and the registry that finds a type by its name in data files.
//
// Each value type has exactly one PropertyTypeBase object, made during static initialisation; values are
// told apart by the address of their type object. Registration is closed once the first look-up builds
// the name map. Look-ups may come from any thread: the build runs once under a lock and the map is
// immutable afterwards.
#pragma once

#include "vek/stringRegistry/StringId.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>

namespace Qel
{
inline constexpr std::uint32_t PROPERTY_TYPE_REGISTRY_CAPACITY = 512;
inline constexpr std::uint32_t UNREGISTERED_PROPERTY_TYPE_INDEX = 0xFFFFFFFFu;

class PropertyTypeBase
{
public:
    // Registers the type; aborts when the registry is already built or full (a programming error).
    explicit PropertyTypeBase(const char* aName);
    PropertyTypeBase(const PropertyTypeBase&) = delete;
    PropertyTypeBase& operator=(const PropertyTypeBase&) = delete;
    virtual ~PropertyTypeBase() = default;

    // Value pointers point at a value's raw storage, laid out as the type's T.
    virtual void DefaultConstruct(void* aValue) const = 0;
    virtual void CopyConstruct(const void* aSource, void* aDestination) const = 0;
    // Leaves aSource a valid value that its owner still destroys.
    virtual void MoveConstruct(void* aSource, void* aDestination) const = 0;
    virtual void Destroy(void* aValue) const = 0;
    // Assigns to an existing value; malformed json leaves as the json library's exception.
    virtual void FromJson(void* aValue, const nlohmann::json& aJson) const = 0;
    virtual void ToJson(const void* aValue, nlohmann::json& aOut) const = 0;
    // One inspector row inside the caller's two-column table; true when the value changed.
    virtual bool DrawEditor(void* aValue, const char* aLabel, const char* aTooltip) const = 0;

    std::uint32_t GetIndex() const { return myIndex; }
    const char* GetDisplayName() const { return myDisplayName; }
    // Null until the registry is built.
    StringId GetName() const { return myName; }

private:
    friend class PropertyTypeRegistry;

    std::uint32_t myIndex = UNREGISTERED_PROPERTY_TYPE_INDEX;
    const char* myDisplayName = nullptr;
    StringId myName;
};

namespace impl
{
// Defined beside the type objects: referencing it keeps them in every program that looks types up.
void LinkPropertyTypes();
} // namespace impl

class PropertyTypeRegistry
{
public:
    // Null for an unknown name or the null id; names are exact and case-sensitive. Builds on first use.
    static const PropertyTypeBase* FindByName(StringId aName);
    // Interns every name and freezes the registry; runs once.
    static void Build();

    static std::uint32_t GetTypeCount();
    static const PropertyTypeBase* GetType(std::uint32_t aIndex);
    static bool IsFrozen();

private:
    friend class PropertyTypeBase;
    static void Register(PropertyTypeBase& aType);
};
} // namespace Qel
