// Readers for the keys of the small json files that describe effects and animated sprites. Scalars of
// the wrong json type throw DefinitionKeyError, so a malformed file is skipped as a whole; float
// arrays that are too short, not arrays or hold a non-number fall back to the caller's default.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace DefinitionJson
{
using Json = nlohmann::json;

class DefinitionKeyError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Each returns aDefault when the key is absent. Numbers beyond a float's range stand at its largest.
std::string ReadString(const Json& anObject, const char* aKey, const std::string& aDefault);
float ReadFloat(const Json& anObject, const char* aKey, float aDefault);
// Any number; fractions are cut off and values beyond int are clamped to it.
int ReadInt(const Json& anObject, const char* aKey, int aDefault);
bool ReadBool(const Json& anObject, const char* aKey, bool aDefault);

Qel::Vector2<float> ReadFloat2(const Json& anObject, const char* aKey, const Qel::Vector2<float>& aDefault);
Qel::Vector3<float> ReadFloat3(const Json& anObject, const char* aKey, const Qel::Vector3<float>& aDefault);
Qel::Color ReadFloat4(const Json& anObject, const char* aKey, const Qel::Color& aDefault);

std::string ToLower(std::string aText);

// Opens and parses a file as one json object (no comments). False with nothing written when the file
// cannot be opened; a syntax error or a root that is not an object throws.
bool ReadJsonObject(const std::filesystem::path& aPath, Json& outObject);

// Calls aParse with every regular file below aFolder whose extension is exactly ".json" or ".vkvfx",
// in the walk's order, and counts the calls that return true. A folder that cannot be walked further
// ends the walk with what was counted so far.
int ForEachDefinitionFile(const std::filesystem::path& aFolder,
                          const std::function<bool(const std::filesystem::path&)>& aParse);

// Reads the definition in aPath with aRead and stores it under its id. False, after one line with
// aPrefix, when the file does not parse, a key has the wrong type, or the id or texture is empty.
template <typename Definition, typename Read>
bool StoreDefinitionFile(const std::filesystem::path& aPath, const char* aPrefix, Read aRead,
                         std::unordered_map<std::string, Definition>& someDefinitions)
{
    Definition definition;
    try
    {
        Json root;
        if (!ReadJsonObject(aPath, root))
        {
            return false;
        }
        definition = aRead(root, aPath);
    }
    catch (const std::exception&)
    {
        // Syntax errors, and keys of the wrong type, cost the whole file.
        std::cout << aPrefix << " Failed to parse " << aPath.string() << "\n";
        return false;
    }
    if (definition.id.empty() || definition.texture.empty())
    {
        std::cout << aPrefix << " Invalid definition: " << aPath.string() << "\n";
        return false;
    }
    const std::string id = definition.id;
    someDefinitions.insert_or_assign(id, std::move(definition));
    return true;
}

// columns × rows in a wider type, kept within int.
int CellCount(int aColumns, int aRows);
} // namespace DefinitionJson
