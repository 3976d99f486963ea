// Checked reads of simdjson elements shared by the packed cache's entry reader and the property
// readers: arrays, objects and numbers of the forms the json library would accept. A value of another
// form throws SimdjsonReadError; callers only need to know that the read failed.
#pragma once

#include <simdjson.h>

#include <cstddef>
#include <span>
#include <stdexcept>

namespace Qel::impl
{
class SimdjsonReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// By value: a view taken from a temporary result would dangle.
simdjson::dom::array AsArray(simdjson::dom::element aElement);
simdjson::dom::object AsObject(simdjson::dom::element aElement);

// A number or a boolean (0 or 1) as the json library converts it to float: a plain conversion.
float ReadPlainFloat(simdjson::dom::element aElement);

// The first aOut.size() elements of an array, each through aRead; further elements are ignored, fewer
// throw.
template <typename Read>
void ReadFloatElements(simdjson::dom::element aElement, std::span<float> aOut, Read aRead)
{
    std::size_t index = 0;
    for (const simdjson::dom::element value : AsArray(aElement))
    {
        if (index == aOut.size())
        {
            break;
        }
        aOut[index++] = aRead(value);
    }
    if (index < aOut.size())
    {
        throw SimdjsonReadError("too few elements");
    }
}
} // namespace Qel::impl
