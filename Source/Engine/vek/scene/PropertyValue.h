// A type-erased value of any property type: 16 bytes of inline storage plus the type pointer.
//
// A null type is the empty value, on which every operation is a no-op. Copies and moves go through the
// type object, so copy-on-write values only add a reference; nothing is allocated by the value itself.
// A value belongs to one thread at a time; the pools behind copy-on-write values are locked.
#pragma once

#include "vek/scene/PropertyType.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <new>

namespace Qel
{
class alignas(16) PropertyValue
{
public:
    PropertyValue() = default;
    // aType's default value, then aJson read into it; a throw leaves after the half-made value is
    // destroyed. A null aType gives the empty value and aJson is not read.
    PropertyValue(const PropertyTypeBase* aType, const nlohmann::json& aJson);
    PropertyValue(const PropertyValue& aOther);
    PropertyValue(PropertyValue&& aOther) noexcept;
    PropertyValue& operator=(const PropertyValue& aOther);
    PropertyValue& operator=(PropertyValue&& aOther) noexcept;
    ~PropertyValue();

    // A value of T's own type holding aValue.
    template <typename T>
    static PropertyValue Of(const T& aValue)
    {
        PropertyValue value;
        new (value.myStorage) T(aValue);
        value.myType = &GetPropertyType<T>();
        return value;
    }

    const PropertyTypeBase* GetType() const { return myType; }
    bool IsEmpty() const { return myType == nullptr; }
    void* GetStorage() { return myStorage; }
    const void* GetStorage() const { return myStorage; }

    // The value as T when its type is T's, else null.
    template <typename T>
    const T* As() const
    {
        return myType == &GetPropertyType<T>() ? std::launder(reinterpret_cast<const T*>(myStorage))
                                               : nullptr;
    }
    template <typename T>
    T* As()
    {
        return myType == &GetPropertyType<T>() ? std::launder(reinterpret_cast<T*>(myStorage)) : nullptr;
    }

    // Json null for the empty value.
    void ToJson(nlohmann::json& aOut) const;
    bool DrawEditor(const char* aLabel, const char* aTooltip);

private:
    alignas(16) std::byte myStorage[16]{};
    const PropertyTypeBase* myType = nullptr;
};
} // namespace Qel
