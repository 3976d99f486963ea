#include "vek/scene/SceneCacheEntry.h"

#include <nlohmann/json.hpp>

#include <string>

namespace Qel::impl
{
namespace
{
using Json = nlohmann::json;

// A transform part as the json library reads it into floats.
template <std::size_t N>
void ReadFloats(dom::element aElement, bool& outPresent, std::array<float, N>& outValues)
{
    ReadFloatElements(aElement, outValues, ReadPlainFloat);
    outPresent = true;
}

// The same json value the library's own parser would have made (non-negative integers unsigned).
Json ToJson(dom::element aElement)
{
    switch (aElement.type())
    {
    case dom::element_type::ARRAY:
    {
        Json array = Json::array();
        for (dom::element value : AsArray(aElement))
        {
            array.push_back(ToJson(value));
        }
        return array;
    }
    case dom::element_type::OBJECT:
    {
        Json object = Json::object();
        for (dom::key_value_pair field : AsObject(aElement))
        {
            object[std::string(field.key)] = ToJson(field.value);
        }
        return object;
    }
    case dom::element_type::INT64:
    {
        const std::int64_t value = aElement.get_int64().value_unsafe();
        return value >= 0 ? Json(static_cast<std::uint64_t>(value)) : Json(value);
    }
    case dom::element_type::UINT64:
        return Json(aElement.get_uint64().value_unsafe());
    case dom::element_type::DOUBLE:
        return Json(aElement.get_double().value_unsafe());
    case dom::element_type::STRING:
        return Json(std::string(aElement.get_string().value_unsafe()));
    case dom::element_type::BOOL:
        return Json(aElement.get_bool().value_unsafe());
    case dom::element_type::NULL_VALUE:
        return Json(nullptr);
    }
    throw DamagedCache{};
}
} // namespace

std::int64_t ReadSigned(dom::element aElement)
{
    switch (aElement.type())
    {
    case dom::element_type::INT64:
        return aElement.get_int64().value_unsafe();
    case dom::element_type::UINT64:
        return static_cast<std::int64_t>(aElement.get_uint64().value_unsafe());
    default:
        throw DamagedCache{};
    }
}

std::string_view ReadString(dom::element aElement)
{
    if (aElement.type() != dom::element_type::STRING)
    {
        throw DamagedCache{};
    }
    return aElement.get_string().value_unsafe();
}

CacheProperty ReadProperty(dom::element aElement)
{
    CacheProperty property;
    bool hasName = false;
    bool hasType = false;
    bool hasValue = false;
    for (dom::key_value_pair field : AsObject(aElement))
    {
        if (field.key == "name")
        {
            property.myName = ReadString(field.value);
            hasName = true;
        }
        else if (field.key == "type")
        {
            property.myTypeName = ReadString(field.value);
            hasType = true;
        }
        else if (field.key == "value")
        {
            property.myValue = field.value;
            hasValue = true;
        }
    }
    if (!hasName || !hasType || !hasValue)
    {
        throw DamagedCache{};
    }
    return property;
}

CacheEntry ReadEntry(dom::element aElement)
{
    CacheEntry entry;
    for (dom::key_value_pair field : AsObject(aElement))
    {
        const std::string_view key = field.key;
        if (key == "uuid")
        {
            ReadString(field.value);
            entry.myUuid = field.value.get_c_str().value_unsafe();
        }
        else if (key == "name")
        {
            entry.myName = ReadString(field.value);
        }
        else if (key == "path")
        {
            entry.myPath = ReadString(field.value);
        }
        else if (key == "object-definition")
        {
            entry.myObjectDefinition = ReadString(field.value);
        }
        else if (key == "transform")
        {
            ReadFloats(field.value, entry.myHasMatrix, entry.myMatrix);
        }
        else if (key == "translation")
        {
            ReadFloats(field.value, entry.myHasTranslation, entry.myTranslation);
        }
        else if (key == "rotation")
        {
            ReadFloats(field.value, entry.myHasRotation, entry.myRotation);
        }
        else if (key == "scale")
        {
            ReadFloats(field.value, entry.myHasScale, entry.myScale);
        }
        else if (key == "properties")
        {
            entry.myProperties = AsArray(field.value);
            entry.myPropertyCount = entry.myProperties.size();
        }
    }
    if (entry.myUuid == nullptr)
    {
        throw DamagedCache{};
    }
    return entry;
}

ParsedSceneObject ToRecord(const CacheEntry& aEntry)
{
    ParsedSceneObject record;
    record.myUuid = aEntry.myUuid;
    record.myName = aEntry.myName;
    record.myPath = aEntry.myPath;
    record.myObjectDefinition = aEntry.myObjectDefinition;
    static_cast<ParsedTransform&>(record) = aEntry;
    if (aEntry.myPropertyCount == 0)
    {
        return record;
    }
    record.myProperties.reserve(aEntry.myPropertyCount);
    for (const dom::element element : aEntry.myProperties)
    {
        const CacheProperty property = ReadProperty(element);
        record.myProperties.push_back(
            {std::string(property.myName), std::string(property.myTypeName), ToJson(property.myValue)});
    }
    return record;
}
} // namespace Qel::impl
