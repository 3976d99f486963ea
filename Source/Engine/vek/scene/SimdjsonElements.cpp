#include "vek/scene/SimdjsonElements.h"

namespace Qel::impl
{
namespace dom = simdjson::dom;

dom::array AsArray(dom::element aElement)
{
    dom::array array;
    if (aElement.get_array().get(array) != simdjson::SUCCESS)
    {
        throw SimdjsonReadError("not an array");
    }
    return array;
}

dom::object AsObject(dom::element aElement)
{
    dom::object object;
    if (aElement.get_object().get(object) != simdjson::SUCCESS)
    {
        throw SimdjsonReadError("not an object");
    }
    return object;
}

float ReadPlainFloat(dom::element aElement)
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
        throw SimdjsonReadError("not a number");
    }
}
} // namespace Qel::impl
