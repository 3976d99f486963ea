// Reads a property value as its type in tests; a value of another type throws, failing the test.
#pragma once

#include "vek/scene/PropertyValue.h"

#include <stdexcept>

namespace QelTest
{
template <typename T>
const T& ValueOf(const Qel::PropertyValue& aValue)
{
    const T* value = aValue.As<T>();
    if (value == nullptr)
    {
        throw std::logic_error("the value is not of the expected type");
    }
    return *value;
}
} // namespace QelTest
