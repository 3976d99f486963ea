#include "vek/scene/SceneObjectDefinitions.h"

#include "vek/Core/JsonBounded.h"
#include "vek/Core/Profiler.h"
#include "vek/scene/PropertyTypeBase.h"
#include "vek/scene/SceneDataError.h"
#include "vek/scene/SceneObject.h"
#include "vek/settings/Settings.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <exception>
#include <fstream>
#include <iostream>

namespace Qel
{
namespace
{
using Json = nlohmann::json;
namespace fs = std::filesystem;

StringId Intern(const std::string& aText)
{
    return StringRegistry::RegisterOrGetString(aText);
}

// The mutable json's own index: a missing key reads as null (so "must be string, but is null"), a
// null value counts as an empty object, anything else that is not an object is type error 305.
StringId OptionalString(Json& aElement, const char* aKey)
{
    if (!aElement.contains(aKey))
    {
        return StringId();
    }
    return Intern(aElement[aKey].get<std::string>());
}

PropertyDefinition ReadPropertyDefinition(Json& aElement)
{
    PropertyDefinition property;
    property.myName = Intern(aElement["name"].get<std::string>());
    property.myGroup = OptionalString(aElement, "group");
    property.myDescription = OptionalString(aElement, "description");
    if (aElement["is-dynamic"].get<bool>())
    {
        property.myFlags |= PROPERTY_FLAG_DYNAMIC;
    }
    if (aElement["is-per-instance"].get<bool>())
    {
        property.myFlags |= PROPERTY_FLAG_PER_INSTANCE;
    }
    property.myType = PropertyTypeRegistry::FindByName(Intern(aElement["type"].get<std::string>()));
    property.myDefaultValue = PropertyValue(property.myType, aElement["value"]);
    return property;
}

void ReadDefinitionJson(SceneObjectDefinition& aDefinition, Json& aJson)
{
    aDefinition.myParentName = Intern(aJson["parent-object-definition"].get<std::string>());
    for (Json& element : aJson["properties"])
    {
        aDefinition.myProperties.push_back(ReadPropertyDefinition(element));
    }
}
} // namespace

void LoadSceneObjectDefinitionFile(SceneObjectDefinition& aDefinition, const char* aRelativePath,
                                   const fs::path& aRoot)
{
    const fs::path relative(aRelativePath != nullptr ? aRelativePath : "");
    aDefinition.myPath = relative.string();
    aDefinition.myName = Intern(relative.stem().string());
    const fs::path file = (aRoot.empty() ? GetGameAssetRoot() : aRoot) / relative;
    try
    {
        // A file that does not open reads as empty input, and so fails as a parse error.
        std::ifstream in(file, std::ios::binary);
        const std::string text = impl::ReadRemainingText(in);
        const StringRegistry::DataFileScope source(file);
        Json json = impl::ParseBoundedJson(text.data(), text.data() + text.size(), false);
        ReadDefinitionJson(aDefinition, json);
    }
    catch (const std::exception& error)
    {
        std::throw_with_nested(SceneDataError(file, error.what()));
    }
}

void SceneObjectDefinitionManager::Init(std::string_view aRoot)
{
    const ProfilerScope scope("SceneObjectDefinitionManager::Init");
    const fs::path root(aRoot);
    const fs::path canonicalRoot = fs::weakly_canonical(root);

    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
    {
        // Letter case counts: "X.VKO" is not a definition.
        if (entry.is_regular_file() && entry.path().extension().native() == ".vko")
        {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());

    for (const fs::path& file : files)
    {
        auto definition = std::make_unique<SceneObjectDefinition>();
        const std::string relative = fs::weakly_canonical(file).lexically_relative(canonicalRoot).string();
        LoadSceneObjectDefinitionFile(*definition, relative.c_str(), canonicalRoot);
        const StringId name = definition->myName;
        if (!myDefinitions.try_emplace(name, std::move(definition)).second)
        {
            std::cout << "Multiple vko files exist with same name. That is not allowed: " << name.GetText()
                      << "\n";
        }
    }
}

const SceneObjectDefinition* SceneObjectDefinitionManager::FindDefinition(StringId aName) const
{
    if (aName.IsNull())
    {
        return nullptr;
    }
    const auto found = myDefinitions.find(aName);
    return found != myDefinitions.end() ? found->second.get() : nullptr;
}

void SceneObject::CollectProperties(const SceneObjectDefinitionManager& aManager,
                                    std::vector<PropertyDefinition>& outProperties) const
{
    const SceneObjectDefinition* definition = aManager.FindDefinition(myObjectDefinition);
    if (definition == nullptr)
    {
        if (!myObjectDefinition.IsNull())
        {
            std::cout << "[SceneObjectDefinitionManager] Object \"" << myName << "\" names the definition \""
                      << myObjectDefinition.GetText()
                      << "\", which no .vko file declares; it gets no properties\n";
        }
        return;
    }
    for (const PropertyDefinition& declared : definition->myProperties)
    {
        PropertyDefinition& collected = outProperties.emplace_back(declared);
        if ((declared.myFlags & PROPERTY_FLAG_PER_INSTANCE) == 0)
        {
            continue;
        }
        const auto own =
            std::find_if(myProperties.begin(), myProperties.end(),
                         [&](const Property& aProperty) { return aProperty.myName == declared.myName; });
        // Only the first of that name counts, and only when it is of the very same type.
        if (own != myProperties.end() && own->myType == declared.myType)
        {
            collected.myDefaultValue = own->myValue;
        }
    }
}
} // namespace Qel
