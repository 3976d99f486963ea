// The thirteen property types. They are defined here, in one file and in registry order, because the
// order of static initialisation is only fixed within one translation unit.
#include "vek/scene/PropertyType.h"

#include "vek/scene/PropertyEditor.h"
#include "vek/scene/PropertyJson.h"
#include "vek/scene/SceneAssetEditors.h"
#include "vek/scene/SceneAssetJson.h"

#include <imgui.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <new>
#include <utility>

namespace Qel
{
namespace
{
using nlohmann::json;

template <typename T>
T& ValueAt(void* aStorage)
{
    return *std::launder(static_cast<T*>(aStorage));
}

template <typename T>
const T& ValueAt(const void* aStorage)
{
    return *std::launder(static_cast<const T*>(aStorage));
}

// Json reading: vectors are read whole before they are stored, so a short array changes nothing.
void ReadValue(SceneModelHandle& aValue, const json& aJson)
{
    SceneModelFromJson(aValue, aJson);
}
void ReadValue(SceneSpriteHandle& aValue, const json& aJson)
{
    SceneSpriteFromJson(aValue, aJson);
}
void ReadValue(SceneReferenceHandle& aValue, const json& aJson)
{
    SceneReferenceFromJson(aValue, aJson);
}
void ReadValue(AnimationClipReferenceHandle& aValue, const json& aJson)
{
    AnimationClipReferenceFromJson(aValue, aJson);
}
void ReadValue(PoseAndMotion& aValue, const json&)
{
    aValue = PoseAndMotion{};
}
void ReadValue(bool& aValue, const json& aJson)
{
    aValue = impl::ReadBoolJson(aJson);
}
void ReadValue(std::int32_t& aValue, const json& aJson)
{
    aValue = impl::ReadIntJson(aJson);
}
void ReadValue(float& aValue, const json& aJson)
{
    aValue = impl::ReadFloatJson(aJson);
}
void ReadValue(Vector2<float>& aValue, const json& aJson)
{
    float components[2];
    impl::ReadFloatsJson(aJson, components, 2);
    aValue = Vector2<float>(components[0], components[1]);
}
void ReadValue(Vector3<float>& aValue, const json& aJson)
{
    float components[3];
    impl::ReadFloatsJson(aJson, components, 3);
    aValue = Vector3<float>(components[0], components[1], components[2]);
}
void ReadValue(Vector4<float>& aValue, const json& aJson)
{
    float components[4];
    impl::ReadFloatsJson(aJson, components, 4);
    aValue = Vector4<float>(components[0], components[1], components[2], components[3]);
}
void ReadValue(Color& aValue, const json& aJson)
{
    float components[4];
    impl::ReadFloatsJson(aJson, components, 4);
    aValue = Color(components[0], components[1], components[2], components[3]);
}
void ReadValue(StringId& aValue, const json& aJson)
{
    aValue = impl::ReadStringIdJson(aJson);
}

json FloatsToJson(std::initializer_list<float> aComponents)
{
    json array = json::array();
    for (const float component : aComponents)
    {
        array.push_back(static_cast<double>(component));
    }
    return array;
}

void WriteValue(const SceneModelHandle& aValue, json& aOut)
{
    SceneModelToJson(aValue, aOut);
}
void WriteValue(const SceneSpriteHandle& aValue, json& aOut)
{
    SceneSpriteToJson(aValue, aOut);
}
void WriteValue(const SceneReferenceHandle& aValue, json& aOut)
{
    SceneReferenceToJson(aValue, aOut);
}
void WriteValue(const AnimationClipReferenceHandle& aValue, json& aOut)
{
    AnimationClipReferenceToJson(aValue, aOut);
}
void WriteValue(const PoseAndMotion&, json& aOut)
{
    aOut = nullptr;
}
void WriteValue(const bool& aValue, json& aOut)
{
    aOut = aValue;
}
void WriteValue(const std::int32_t& aValue, json& aOut)
{
    aOut = static_cast<std::int64_t>(aValue);
}
void WriteValue(const float& aValue, json& aOut)
{
    aOut = static_cast<double>(aValue);
}
void WriteValue(const Vector2<float>& aValue, json& aOut)
{
    aOut = FloatsToJson({aValue.x, aValue.y});
}
void WriteValue(const Vector3<float>& aValue, json& aOut)
{
    aOut = FloatsToJson({aValue.x, aValue.y, aValue.z});
}
void WriteValue(const Vector4<float>& aValue, json& aOut)
{
    aOut = FloatsToJson({aValue.x, aValue.y, aValue.z, aValue.w});
}
void WriteValue(const Color& aValue, json& aOut)
{
    aOut = FloatsToJson({aValue.r, aValue.g, aValue.b, aValue.a});
}
void WriteValue(const StringId& aValue, json& aOut)
{
    aOut = aValue.GetText();
}

bool DrawValue(SceneModelHandle& aValue, const char* aLabel, const char* aTooltip)
{
    return DrawSceneModelEditor(aValue, aLabel, aTooltip);
}
bool DrawValue(SceneSpriteHandle& aValue, const char* aLabel, const char* aTooltip)
{
    return DrawSceneSpriteEditor(aValue, aLabel, aTooltip);
}
bool DrawValue(SceneReferenceHandle& aValue, const char* aLabel, const char* aTooltip)
{
    return DrawSceneReferenceEditor(aValue, aLabel, aTooltip);
}
bool DrawValue(AnimationClipReferenceHandle& aValue, const char* aLabel, const char* aTooltip)
{
    return DrawAnimationClipReferenceEditor(aValue, aLabel, aTooltip);
}
bool DrawValue(PoseAndMotion&, const char* aLabel, const char* aTooltip)
{
    if (impl::BeginPropertyRow(aLabel, aTooltip))
    {
        impl::EndPropertyRow();
    }
    else
    {
        ImGui::TextUnformatted("Pose");
    }
    return false;
}
template <typename T>
bool DrawValue(T& aValue, const char* aLabel, const char* aTooltip)
{
    const bool hasRow = impl::BeginPropertyRow(aLabel, aTooltip);
    const bool changed = impl::DrawPropertyWidget(aValue);
    if (hasRow)
    {
        impl::EndPropertyRow();
    }
    return changed;
}
} // namespace

template <typename T>
void PropertyType<T>::DefaultConstruct(void* aValue) const
{
    new (aValue) T();
}

template <typename T>
void PropertyType<T>::CopyConstruct(const void* aSource, void* aDestination) const
{
    new (aDestination) T(ValueAt<T>(aSource));
}

template <typename T>
void PropertyType<T>::MoveConstruct(void* aSource, void* aDestination) const
{
    // Every value type copies on a move, so the source stays valid.
    new (aDestination) T(std::as_const(ValueAt<T>(aSource)));
}

template <typename T>
void PropertyType<T>::Destroy(void* aValue) const
{
    std::destroy_at(&ValueAt<T>(aValue));
}

template <typename T>
void PropertyType<T>::FromJson(void* aValue, const json& aJson) const
{
    ReadValue(ValueAt<T>(aValue), aJson);
}

template <typename T>
void PropertyType<T>::ToJson(const void* aValue, json& aOut) const
{
    WriteValue(ValueAt<T>(aValue), aOut);
}

template <typename T>
bool PropertyType<T>::DrawEditor(void* aValue, const char* aLabel, const char* aTooltip) const
{
    return DrawValue(ValueAt<T>(aValue), aLabel, aTooltip);
}

template class PropertyType<SceneModelHandle>;
template class PropertyType<SceneSpriteHandle>;
template class PropertyType<SceneReferenceHandle>;
template class PropertyType<AnimationClipReferenceHandle>;
template class PropertyType<PoseAndMotion>;
template class PropertyType<bool>;
template class PropertyType<std::int32_t>;
template class PropertyType<float>;
template class PropertyType<Vector2<float>>;
template class PropertyType<Vector3<float>>;
template class PropertyType<Vector4<float>>;
template class PropertyType<Color>;
template class PropertyType<StringId>;

void impl::LinkPropertyTypes()
{
}

// Registry order: each constructor appends its type to the registry.
const PropertyType<SceneModelHandle> MODEL_PROPERTY_TYPE("Model");
const PropertyType<SceneSpriteHandle> SPRITE_PROPERTY_TYPE("Sprite");
const PropertyType<SceneReferenceHandle> SCENE_PROPERTY_TYPE("Scene");
const PropertyType<AnimationClipReferenceHandle> ANIMATION_CLIP_PROPERTY_TYPE("Animation Clip");
const PropertyType<PoseAndMotion> POSE_PROPERTY_TYPE("Pose");
const PropertyType<bool> BOOL_PROPERTY_TYPE("Bool");
const PropertyType<std::int32_t> INT_PROPERTY_TYPE("Int");
const PropertyType<float> FLOAT_PROPERTY_TYPE("Float");
const PropertyType<Vector2<float>> FLOAT2_PROPERTY_TYPE("Float2");
const PropertyType<Vector3<float>> FLOAT3_PROPERTY_TYPE("Float3");
const PropertyType<Vector4<float>> FLOAT4_PROPERTY_TYPE("Float4");
const PropertyType<Color> COLOR_PROPERTY_TYPE("Color");
const PropertyType<StringId> STRING_ID_PROPERTY_TYPE("StringId");
} // namespace Qel
