#include "vek/scene/ParsedSceneObject.h"

#include "vek/Core/JsonBounded.h"
#include "vek/scene/SceneDataError.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>

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

// Property values are moved out of a document the caller no longer needs, copied out of any other.
template <typename JsonRef>
void ReadProperties(JsonRef&& aJson, std::vector<ParsedProperty>& outProperties)
{
    const auto found = aJson.find("properties");
    if (found == aJson.end())
    {
        return;
    }
    auto& properties = *found;
    if (!properties.is_array())
    {
        throw Json::type_error::create(
            302, "type must be array, but is " + std::string(properties.type_name()), &properties);
    }
    outProperties.reserve(properties.size());
    for (auto& element : properties)
    {
        ParsedProperty property;
        property.myName = RequiredMember(element, "name").template get<std::string>();
        property.myTypeName = RequiredMember(element, "type").template get<std::string>();
        const Json& value = RequiredMember(element, "value");
        if constexpr (std::is_const_v<std::remove_reference_t<JsonRef>>)
        {
            property.myValue = value;
        }
        else
        {
            property.myValue = std::move(const_cast<Json&>(value));
        }
        outProperties.push_back(std::move(property));
    }
}

// The whole file into aText (reused between files), or false with errno set.
bool ReadWholeFile(const std::filesystem::path& aPath, std::string& aText)
{
    const int file = ::open(aPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
    {
        return false;
    }
    constexpr std::size_t MINIMUM_ROOM = 16384;
    aText.clear();
    ssize_t got = 0;
    int error = 0;
    do
    {
        const std::size_t used = aText.size();
        aText.resize(std::max(aText.capacity(), used + MINIMUM_ROOM));
        got = ::read(file, aText.data() + used, aText.size() - used);
        error = errno;
        aText.resize(used + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    } while (got > 0 || (got < 0 && error == EINTR));
    ::close(file);
    errno = error;
    return got == 0;
}

// The fields of one object file's json; a document the caller owns gives up its property values.
template <typename JsonRef>
void ParseFields(ParsedSceneObject& aRecord, const std::string& aUuid, JsonRef&& aJson)
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
        aRecord.myObjectDefinition = definition->template get<std::string>();
    }
    ReadProperties(std::forward<JsonRef>(aJson), aRecord.myProperties);
}
} // namespace

void ParseSceneObjectJson(ParsedSceneObject& aRecord, const std::string& aUuid, const Json& aJson)
{
    ParseFields(aRecord, aUuid, aJson);
}

ParsedSceneObject LoadSceneObjectFile(const std::filesystem::path& aPath)
{
    // Reused by every file a parse task reads.
    thread_local std::string text;
    if (!ReadWholeFile(aPath, text))
    {
        throw SceneDataError(aPath, "the object file cannot be read: " +
                                        std::error_code(errno, std::generic_category()).message());
    }
    ParsedSceneObject record;
    try
    {
        // As the stream reader parses: one value, and the text after it is not looked at.
        Json json = impl::ParseBoundedJson(text.data(), text.data() + text.size(), false);
        ParseFields(record, aPath.stem().string(), std::move(json));
    }
    catch (const Json::exception& error)
    {
        std::throw_with_nested(SceneDataError(aPath, error.what()));
    }
    catch (const impl::JsonTooDeepError& error)
    {
        std::throw_with_nested(SceneDataError(aPath, error.what()));
    }
    return record;
}
} // namespace Qel
