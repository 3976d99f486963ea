#include "vek/scene/PropertySimdjson.h"

#include "vek/scene/PropertyJson.h"
#include "vek/scene/SimdjsonElements.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <array>
#include <optional>
#include <string>
#include <tuple>

namespace Qel::impl
{
namespace
{
namespace dom = simdjson::dom;
using Kind = dom::element_type;

[[noreturn]] void Reject(const char* aReason)
{
    throw PropertyReadError(aReason);
}

bool ReadBool(dom::element aJson)
{
    if (aJson.type() != Kind::BOOL)
    {
        Reject("not a boolean");
    }
    return aJson.get_bool().value_unsafe();
}

std::int32_t ReadInt(dom::element aJson)
{
    IntConversion conversion;
    switch (aJson.type())
    {
    case Kind::BOOL:
        return aJson.get_bool().value_unsafe() ? 1 : 0;
    case Kind::INT64:
        conversion = IntFromSigned(aJson.get_int64().value_unsafe());
        break;
    case Kind::UINT64:
        conversion = IntFromUnsigned(aJson.get_uint64().value_unsafe());
        break;
    case Kind::DOUBLE:
        conversion = IntFromDouble(aJson.get_double().value_unsafe());
        break;
    default:
        Reject("not a number");
    }
    return conversion.mySaturated ? ReportSaturatedInt(conversion, simdjson::minify(aJson))
                                  : conversion.myValue;
}

// As "Float" reads a number: a double too large for float saturates.
float ReadFloat(dom::element aJson)
{
    return aJson.type() == Kind::DOUBLE ? FloatFromDouble(aJson.get_double().value_unsafe())
                                        : ReadPlainFloat(aJson);
}

// A vector or colour of N components from the first N elements of an array.
template <typename Value, std::size_t N>
Value ReadComponents(dom::element aJson)
{
    std::array<float, N> c{};
    ReadFloatElements(aJson, c, ReadFloat);
    return std::apply([](auto... someComponents) { return Value{someComponents...}; }, c);
}

StringId ReadStringId(dom::element aJson)
{
    if (aJson.type() != Kind::STRING)
    {
        Reject("not a string");
    }
    return StringRegistry::RegisterOrGetString(aJson.get_string().value_unsafe());
}

// The json library keeps the last of repeated keys, so the last one counts here too.
std::optional<dom::element> FindKey(dom::object aObject, std::string_view aKey)
{
    std::optional<dom::element> found;
    for (const dom::key_value_pair field : aObject)
    {
        if (field.key == aKey)
        {
            found = field.value;
        }
    }
    return found;
}

// A path key of an asset reference: absent gives the null id, present must be a string.
StringId ReadPath(dom::object aObject, std::string_view aKey)
{
    const std::optional<dom::element> path = FindKey(aObject, aKey);
    return path ? ReadStringId(*path) : StringId();
}

void ReadTextureSlots(dom::element aJson, std::array<StringId, TEXTURE_SLOT_COUNT>& aSlots)
{
    std::size_t slot = 0;
    for (const dom::element texture : AsArray(aJson))
    {
        if (slot == TEXTURE_SLOT_COUNT)
        {
            break;
        }
        aSlots[slot++] = ReadStringId(texture);
    }
}

SceneModel ReadModel(dom::element aJson)
{
    const dom::object object = AsObject(aJson);
    SceneModel model;
    model.myPath = ReadPath(object, "path");
    if (const std::optional<dom::element> textures = FindKey(object, "textures"))
    {
        std::size_t mesh = 0;
        for (const dom::element slots : AsArray(*textures))
        {
            if (mesh == MAX_MESHES_PER_MODEL)
            {
                break;
            }
            ReadTextureSlots(slots, model.myTextures[mesh++]);
        }
    }
    return model;
}

SceneSprite ReadSprite(dom::element aJson)
{
    SceneSprite sprite;
    if (aJson.type() != Kind::OBJECT)
    {
        return sprite;
    }
    const dom::object object = AsObject(aJson);
    // "textures" overrides the colour slot that "texturePath" names, whatever their order in the text.
    if (const std::optional<dom::element> path = FindKey(object, "texturePath"))
    {
        sprite.myTextures[0] = ReadStringId(*path);
    }
    if (const std::optional<dom::element> textures = FindKey(object, "textures"))
    {
        ReadTextureSlots(*textures, sprite.myTextures);
    }
    if (const std::optional<dom::element> pivot = FindKey(object, "pivot"))
    {
        sprite.myPivot = ReadComponents<Vector2<float>, 2>(*pivot);
    }
    if (const std::optional<dom::element> size = FindKey(object, "size"))
    {
        sprite.mySize = ReadComponents<Vector2<float>, 2>(*size);
    }
    return sprite;
}

} // namespace

PropertyValue ReadPropertyValue(const PropertyTypeBase* aType, dom::element aJson)
{
    if (aType == nullptr)
    {
        return {};
    }
    if (aType == &MODEL_PROPERTY_TYPE)
    {
        return PropertyValue::Of(SceneModelHandle::Make(ReadModel(aJson)));
    }
    if (aType == &SPRITE_PROPERTY_TYPE)
    {
        return PropertyValue::Of(SceneSpriteHandle::Make(ReadSprite(aJson)));
    }
    if (aType == &SCENE_PROPERTY_TYPE)
    {
        return PropertyValue::Of(SceneReferenceHandle::Make({ReadPath(AsObject(aJson), "scene_path")}));
    }
    if (aType == &ANIMATION_CLIP_PROPERTY_TYPE)
    {
        return PropertyValue::Of(
            AnimationClipReferenceHandle::Make({ReadPath(AsObject(aJson), "clip_path")}));
    }
    if (aType == &POSE_PROPERTY_TYPE)
    {
        return PropertyValue::Of(PoseAndMotion{});
    }
    if (aType == &BOOL_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadBool(aJson));
    }
    if (aType == &INT_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadInt(aJson));
    }
    if (aType == &FLOAT_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadFloat(aJson));
    }
    if (aType == &FLOAT2_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadComponents<Vector2<float>, 2>(aJson));
    }
    if (aType == &FLOAT3_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadComponents<Vector3<float>, 3>(aJson));
    }
    if (aType == &FLOAT4_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadComponents<Vector4<float>, 4>(aJson));
    }
    if (aType == &COLOR_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadComponents<Color, 4>(aJson));
    }
    if (aType == &STRING_ID_PROPERTY_TYPE)
    {
        return PropertyValue::Of(ReadStringId(aJson));
    }
    Reject("a property type without a cache reader");
}
} // namespace Qel::impl
