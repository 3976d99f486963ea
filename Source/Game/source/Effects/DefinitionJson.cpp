#include "Effects/DefinitionJson.h"

#include "Base/JsonNumber.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <fstream>

namespace DefinitionJson
{
namespace
{
const Json* Find(const Json& anObject, const char* aKey)
{
    const auto found = anObject.find(aKey);
    return found != anObject.end() ? &*found : nullptr;
}

[[noreturn]] void Reject(const char* aKey, const char* anExpected)
{
    throw DefinitionKeyError(std::string("\"") + aKey + "\" is not " + anExpected);
}

// The first aCount numbers of an array, or false.
bool ReadNumbers(const Json& anObject, const char* aKey, float* outValues, std::size_t aCount)
{
    const Json* value = Find(anObject, aKey);
    if (value == nullptr || !value->is_array() || value->size() < aCount)
    {
        return false;
    }
    for (std::size_t index = 0; index < aCount; ++index)
    {
        if (!(*value)[index].is_number())
        {
            return false;
        }
    }
    for (std::size_t index = 0; index < aCount; ++index)
    {
        outValues[index] = JsonNumberToFloat((*value)[index]);
    }
    return true;
}
} // namespace

std::string ReadString(const Json& anObject, const char* aKey, const std::string& aDefault)
{
    const Json* value = Find(anObject, aKey);
    if (value == nullptr)
    {
        return aDefault;
    }
    if (!value->is_string())
    {
        Reject(aKey, "a string");
    }
    return value->get<std::string>();
}

float ReadFloat(const Json& anObject, const char* aKey, float aDefault)
{
    const Json* value = Find(anObject, aKey);
    if (value == nullptr)
    {
        return aDefault;
    }
    if (!value->is_number())
    {
        Reject(aKey, "a number");
    }
    return JsonNumberToFloat(*value);
}

int ReadInt(const Json& anObject, const char* aKey, int aDefault)
{
    const Json* value = Find(anObject, aKey);
    if (value == nullptr)
    {
        return aDefault;
    }
    if (!value->is_number())
    {
        Reject(aKey, "a number");
    }
    return JsonNumberToInt(*value);
}

bool ReadBool(const Json& anObject, const char* aKey, bool aDefault)
{
    const Json* value = Find(anObject, aKey);
    if (value == nullptr)
    {
        return aDefault;
    }
    if (!value->is_boolean())
    {
        Reject(aKey, "a boolean");
    }
    return value->get<bool>();
}

Qel::Vector2<float> ReadFloat2(const Json& anObject, const char* aKey, const Qel::Vector2<float>& aDefault)
{
    float values[2];
    return ReadNumbers(anObject, aKey, values, 2) ? Qel::Vector2<float>(values[0], values[1]) : aDefault;
}

Qel::Vector3<float> ReadFloat3(const Json& anObject, const char* aKey, const Qel::Vector3<float>& aDefault)
{
    float values[3];
    return ReadNumbers(anObject, aKey, values, 3) ? Qel::Vector3<float>(values[0], values[1], values[2])
                                                  : aDefault;
}

Qel::Color ReadFloat4(const Json& anObject, const char* aKey, const Qel::Color& aDefault)
{
    float values[4];
    return ReadNumbers(anObject, aKey, values, 4) ? Qel::Color(values[0], values[1], values[2], values[3])
                                                  : aDefault;
}

std::string ToLower(std::string aText)
{
    std::transform(aText.begin(), aText.end(), aText.begin(),
                   [](unsigned char aCharacter) { return static_cast<char>(std::tolower(aCharacter)); });
    return aText;
}

bool ReadJsonObject(const std::filesystem::path& aPath, Json& outObject)
{
    std::ifstream file(aPath, std::ios::binary);
    if (!file)
    {
        return false;
    }
    outObject = Json::parse(file, nullptr, true, false);
    if (!outObject.is_object())
    {
        throw DefinitionKeyError("the document is not an object");
    }
    return true;
}

int ForEachDefinitionFile(const std::filesystem::path& aFolder,
                          const std::function<bool(const std::filesystem::path&)>& aParse)
{
    int count = 0;
    std::error_code error;
    std::filesystem::recursive_directory_iterator walk(aFolder, error);
    for (; !error && walk != std::filesystem::recursive_directory_iterator(); walk.increment(error))
    {
        std::error_code typeError;
        if (!walk->is_regular_file(typeError))
        {
            continue;
        }
        const std::filesystem::path extension = walk->path().extension();
        if (extension == ".json" || extension == ".vkvfx")
        {
            count += aParse(walk->path()) ? 1 : 0;
        }
    }
    return count;
}

int CellCount(int aColumns, int aRows)
{
    const std::int64_t cells = static_cast<std::int64_t>(aColumns) * static_cast<std::int64_t>(aRows);
    return static_cast<int>(std::clamp<std::int64_t>(cells, INT_MIN, INT_MAX));
}
} // namespace DefinitionJson
