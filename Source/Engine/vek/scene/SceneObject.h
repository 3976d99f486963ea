// One scene object as the level data describes it, and its typed properties.
//
// Plain, copyable data: a copy copies every field and each property value (copy-on-write values only
// add a reference). An object belongs to the thread that owns its scene.
#pragma once

#include "vek/Math/Vector3.h"
#include "vek/scene/PropertyValue.h"
#include "vek/stringRegistry/StringId.h"

#include <string>
#include <vector>

namespace Qel
{
class Scene;
class SceneObjectDefinitionManager;
struct PropertyDefinition;

struct Property
{
    StringId myName;
    // The same pointer the value holds; null for a type name that is not registered.
    const PropertyTypeBase* myType = nullptr;
    PropertyValue myValue;
};

class SceneObject
{
public:
    // With a scene, that scene's per-path counts follow the change.
    void SetPath(Scene* aScene, StringId aPath);

    // Appends the properties of this object's definition, in definition order: per-instance ones take
    // this object's value of the same name and type, all others their defaults. Nothing for an object
    // whose definition is unknown. Defined with the definitions (SceneObjectDefinitions).
    void CollectProperties(const SceneObjectDefinitionManager& aManager,
                           std::vector<PropertyDefinition>& outProperties) const;

    // The definition this object instantiates; null when none.
    StringId myObjectDefinition;
    // In the order the level data lists them.
    std::vector<Property> myProperties;
    Vector3<float> myTranslation{0.0f, 0.0f, 0.0f};
    // Euler angles in degrees, as the level data gives them.
    Vector3<float> myRotation{0.0f, 0.0f, 0.0f};
    Vector3<float> myScale{1.0f, 1.0f, 1.0f};
    std::string myName = "Scene Object";
    StringId myPath;
};
} // namespace Qel
