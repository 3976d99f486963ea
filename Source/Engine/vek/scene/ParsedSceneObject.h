// One level-data object file as plain data: what the file says, before any name is interned or any
// property value is built. Parsing tasks make these on their own threads, so a record holds no engine
// ids and parsing touches no shared engine state; the loading thread turns records into scene objects.
#pragma once

#include <nlohmann/json.hpp>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace Qel
{
struct ParsedProperty
{
    std::string myName;
    std::string myTypeName;
    // Kept as json: only the named property type knows how to read it.
    nlohmann::json myValue;

    friend bool operator==(const ParsedProperty&, const ParsedProperty&) = default;
};

// The transform parts an object may give; each counts only when its flag is set.
struct ParsedTransform
{
    bool myHasMatrix = false;
    // Row by row, the matrix's memory order.
    std::array<float, 16> myMatrix{};
    bool myHasTranslation = false;
    std::array<float, 3> myTranslation{};
    bool myHasRotation = false;
    // Degrees.
    std::array<float, 3> myRotation{};
    bool myHasScale = false;
    std::array<float, 3> myScale{};

    friend bool operator==(const ParsedTransform&, const ParsedTransform&) = default;
};

struct ParsedSceneObject : ParsedTransform
{
    std::string myUuid;
    std::string myName = "unknown";
    std::string myPath;
    std::string myObjectDefinition;
    // File order, duplicates kept.
    std::vector<ParsedProperty> myProperties;

    friend bool operator==(const ParsedSceneObject&, const ParsedSceneObject&) = default;
};

// Reads one object file; its uuid is the file's name. A file that cannot be opened or does not hold a
// well-formed object leaves as a SceneDataError naming the file, with the json library's exception
// nested. Text after the first complete json value is not looked at.
ParsedSceneObject LoadSceneObjectFile(const std::filesystem::path& aPath);

// Fills aRecord (from its defaults) from one object file's json; errors are the json library's own.
void ParseSceneObjectJson(ParsedSceneObject& aRecord, const std::string& aUuid, const nlohmann::json& aJson);
} // namespace Qel
