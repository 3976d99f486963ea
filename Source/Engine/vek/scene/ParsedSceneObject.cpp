#include "vek/scene/ParsedSceneObject.h"

#include "vek/scene/SceneDataError.h"

#include <exception>
#include <fstream>

namespace Qel
{
namespace
{
using Json = nlohmann::json;

// Elements 0 .. N-1 as floats: not an array is type error 302, a short array out-of-range 401, a
// non-number element 302; further elements are ignored.
template <std::size_t N>
void ReadFloats(const Json& aJson, const char* aKey, bool& outPresent, std::array<float, N>& outValues)
{
    const auto found = aJson.find(aKey);
    if (found == aJson.end())
    {
        return;
    }
    outValues = found->template get<std::array<float, N>>();
    outPresent = true;
}

const Json& RequiredMember(const Json& aElement, const char* aKey)
{
    if (!aElement.is_object())
    {
        // The library's own type error 305 for indexing something that is not an object.
        return aElement[aKey];
    }
    // A missing key is the library's out-of-range error 403 naming it.
    return aElement.at(aKey);
}

void ReadProperties(const Json& aJson, std::vector<ParsedProperty>& outProperties)
{
    const auto found = aJson.find("properties");
    if (found == aJson.end())
    {
        return;
    }
    const Json& properties = *found;
    if (!properties.is_array())
    {
        throw Json::type_error::create(
            302, "type must be array, but is " + std::string(properties.type_name()), &properties);
    }
    outProperties.reserve(properties.size());
    for (const Json& element : properties)
    {
        ParsedProperty property;
        property.myName = RequiredMember(element, "name").get<std::string>();
        property.myTypeName = RequiredMember(element, "type").get<std::string>();
        property.myValue = RequiredMember(element, "value");
        outProperties.push_back(std::move(property));
    }
}
} // namespace

void ParseSceneObjectJson(ParsedSceneObject& aRecord, const std::string& aUuid, const Json& aJson)
{
    aRecord = ParsedSceneObject{};
    aRecord.myUuid = aUuid;
    aRecord.myName = aJson.value("name", std::string("unknown"));
    aRecord.myPath = aJson.value("path", std::string());
    ReadFloats(aJson, "transform", aRecord.myHasMatrix, aRecord.myMatrix);
    ReadFloats(aJson, "translation", aRecord.myHasTranslation, aRecord.myTranslation);
    ReadFloats(aJson, "rotation", aRecord.myHasRotation, aRecord.myRotation);
    ReadFloats(aJson, "scale", aRecord.myHasScale, aRecord.myScale);
    const auto definition = aJson.find("object-definition");
    if (definition != aJson.end())
    {
        aRecord.myObjectDefinition = definition->get<std::string>();
    }
    ReadProperties(aJson, aRecord.myProperties);
}

ParsedSceneObject LoadSceneObjectFile(const std::filesystem::path& aPath)
{
    std::ifstream in(aPath);
    if (!in)
    {
        throw SceneDataError(aPath, "the object file cannot be opened for reading");
    }
    ParsedSceneObject record;
    try
    {
        Json json;
        in >> json;
        ParseSceneObjectJson(record, aPath.stem().string(), json);
    }
    catch (const Json::exception& error)
    {
        std::throw_with_nested(SceneDataError(aPath, error.what()));
    }
    return record;
}
} // namespace Qel
