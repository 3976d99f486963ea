// The thirteen property value types, one PropertyType<T> object each, registered in this order (which is
// also their registry index): "Model", "Sprite", "Scene", "Animation Clip", "Pose", "Bool", "Int",
// "Float", "Float2", "Float3", "Float4", "Color", "StringId".
//
// Game code tells a value's type apart by comparing its type pointer with GetPropertyType<T>() and then
// reads the storage as T. The objects live for the whole process and are never changed after start-up.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"
#include "vek/Math/Vector4.h"
#include "vek/scene/PoseAndMotion.h"
#include "vek/scene/PropertyTypeBase.h"
#include "vek/scene/SceneAssets.h"

#include <cstdint>
#include <type_traits>

namespace Qel
{
template <typename T>
class PropertyType final : public PropertyTypeBase
{
public:
    using ValueType = T;
    static_assert(sizeof(T) <= 16 && alignof(T) <= 16, "every property value fits the inline storage");

    using PropertyTypeBase::PropertyTypeBase;

    void DefaultConstruct(void* aValue) const override;
    void CopyConstruct(const void* aSource, void* aDestination) const override;
    void MoveConstruct(void* aSource, void* aDestination) const override;
    void Destroy(void* aValue) const override;
    void FromJson(void* aValue, const nlohmann::json& aJson) const override;
    void ToJson(const void* aValue, nlohmann::json& aOut) const override;
    bool DrawEditor(void* aValue, const char* aLabel, const char* aTooltip) const override;
};

extern template class PropertyType<SceneModelHandle>;
extern template class PropertyType<SceneSpriteHandle>;
extern template class PropertyType<SceneReferenceHandle>;
extern template class PropertyType<AnimationClipReferenceHandle>;
extern template class PropertyType<PoseAndMotion>;
extern template class PropertyType<bool>;
extern template class PropertyType<std::int32_t>;
extern template class PropertyType<float>;
extern template class PropertyType<Vector2<float>>;
extern template class PropertyType<Vector3<float>>;
extern template class PropertyType<Vector4<float>>;
extern template class PropertyType<Color>;
extern template class PropertyType<StringId>;

extern const PropertyType<SceneModelHandle> MODEL_PROPERTY_TYPE;
extern const PropertyType<SceneSpriteHandle> SPRITE_PROPERTY_TYPE;
extern const PropertyType<SceneReferenceHandle> SCENE_PROPERTY_TYPE;
extern const PropertyType<AnimationClipReferenceHandle> ANIMATION_CLIP_PROPERTY_TYPE;
extern const PropertyType<PoseAndMotion> POSE_PROPERTY_TYPE;
extern const PropertyType<bool> BOOL_PROPERTY_TYPE;
extern const PropertyType<std::int32_t> INT_PROPERTY_TYPE;
extern const PropertyType<float> FLOAT_PROPERTY_TYPE;
extern const PropertyType<Vector2<float>> FLOAT2_PROPERTY_TYPE;
extern const PropertyType<Vector3<float>> FLOAT3_PROPERTY_TYPE;
extern const PropertyType<Vector4<float>> FLOAT4_PROPERTY_TYPE;
extern const PropertyType<Color> COLOR_PROPERTY_TYPE;
extern const PropertyType<StringId> STRING_ID_PROPERTY_TYPE;

template <typename T>
const PropertyType<T>& GetPropertyType()
{
    if constexpr (std::is_same_v<T, SceneModelHandle>)
        return MODEL_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, SceneSpriteHandle>)
        return SPRITE_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, SceneReferenceHandle>)
        return SCENE_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, AnimationClipReferenceHandle>)
        return ANIMATION_CLIP_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, PoseAndMotion>)
        return POSE_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, bool>)
        return BOOL_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return INT_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, float>)
        return FLOAT_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, Vector2<float>>)
        return FLOAT2_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, Vector3<float>>)
        return FLOAT3_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, Vector4<float>>)
        return FLOAT4_PROPERTY_TYPE;
    else if constexpr (std::is_same_v<T, Color>)
        return COLOR_PROPERTY_TYPE;
    else
    {
        static_assert(std::is_same_v<T, StringId>, "not a property value type");
        return STRING_ID_PROPERTY_TYPE;
    }
}
} // namespace Qel
