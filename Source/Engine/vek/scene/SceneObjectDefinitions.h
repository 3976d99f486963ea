// Scene-object definitions: the ".vko" files under the game asset root that declare an object kind's
// properties with types, defaults and flags. The manager reads them all once and then only answers
// look-ups, so after Init it may be read from any thread; Init itself interns strings and builds values,
// and runs where scenes load.
#pragma once

#include "vek/scene/PropertyValue.h"
#include "vek/stringRegistry/StringId.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Qel
{
inline constexpr std::uint8_t PROPERTY_FLAG_DYNAMIC = 1;
// A scene object may give its own value.
inline constexpr std::uint8_t PROPERTY_FLAG_PER_INSTANCE = 2;

struct PropertyDefinition
{
    StringId myName;
    // Null for a type name that is not registered.
    const PropertyTypeBase* myType = nullptr;
    PropertyValue myDefaultValue;
    std::uint8_t myFlags = 0;
    StringId myGroup;
    StringId myDescription;
};

struct SceneObjectDefinition
{
    // Relative to the root the definitions were read from.
    std::string myPath;
    // The file's stem.
    StringId myName;
    // Stored as the file gives it; nothing applies a parent's properties.
    StringId myParentName;
    std::vector<PropertyDefinition> myProperties;
};

// Fills aDefinition from aRoot / aRelativePath (aRoot defaults to the game asset root). A file that
// cannot be read or is malformed leaves as a SceneDataError naming it, with the json error nested.
void LoadSceneObjectDefinitionFile(SceneObjectDefinition& aDefinition, const char* aRelativePath,
                                   const std::filesystem::path& aRoot = {});

class SceneObjectDefinitionManager
{
public:
    SceneObjectDefinitionManager() = default;
    SceneObjectDefinitionManager(const SceneObjectDefinitionManager&) = delete;
    SceneObjectDefinitionManager& operator=(const SceneObjectDefinitionManager&) = delete;

    // Reads every regular file ending exactly in ".vko" below aRoot, in path order (so the same tree
    // always gives the same result). The first file of a name wins; a later one is still read and its
    // errors still count, and the clash is reported on standard output. Errors leave as exceptions.
    void Init(std::string_view aRoot);

    // Null when none, and for the null id.
    const SceneObjectDefinition* FindDefinition(StringId aName) const;
    std::size_t GetDefinitionCount() const { return myDefinitions.size(); }

private:
    std::unordered_map<StringId, std::unique_ptr<SceneObjectDefinition>, StringIdHash> myDefinitions;
};
} // namespace Qel
