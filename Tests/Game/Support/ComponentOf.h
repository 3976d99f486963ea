// A built object's first component of a kind, for the builders' tests: a missing one throws, which fails
// the test with the kind's name.
#pragma once

#include "Objects/GameObject.h"

#include <stdexcept>
#include <string>
#include <typeinfo>

template <typename T>
T& ComponentOf(const GameObject& anObject)
{
    T* component = anObject.GetComponent<T>();
    if (component == nullptr)
    {
        throw std::runtime_error(std::string("missing ") + typeid(T).name());
    }
    return *component;
}
