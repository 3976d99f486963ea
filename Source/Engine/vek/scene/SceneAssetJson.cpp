#include "vek/scene/SceneAssetJson.h"

#include "vek/scene/PropertyJson.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

namespace Qel
{
namespace
{
using nlohmann::json;

template <typename T>
T& StartFresh(CopyOnWriteWrapper<T>& aHandle)
{
    aHandle = CopyOnWriteWrapper<T>::Make(T{});
    return aHandle.GetMutable();
}

StringId ReadPathValue(const json& aJson, const char* aKey)
{
    return StringRegistry::RegisterOrGetString(aJson.value(aKey, std::string()));
}

// Up to TEXTURE_SLOT_COUNT strings of a json array into consecutive slots; further entries are ignored.
void ReadTextureSlots(const json& aJson, std::array<StringId, TEXTURE_SLOT_COUNT>& aSlots)
{
    impl::RequireArrayJson(aJson);
    const std::size_t count = std::min(aJson.size(), TEXTURE_SLOT_COUNT);
    for (std::size_t slot = 0; slot < count; ++slot)
    {
        aSlots[slot] = impl::ReadStringIdJson(aJson[slot]);
    }
}

json TextureSlotsToJson(const std::array<StringId, TEXTURE_SLOT_COUNT>& aSlots)
{
    json slots = json::array();
    for (const StringId texture : aSlots)
    {
        slots.push_back(texture.GetText());
    }
    return slots;
}

Vector2<float> ReadVector2(const json& aJson)
{
    float components[2] = {};
    impl::ReadFloatsJson(aJson, components, 2);
    return Vector2<float>(components[0], components[1]);
}

json Vector2ToJson(const Vector2<float>& aValue)
{
    return json::array({static_cast<double>(aValue.x), static_cast<double>(aValue.y)});
}
} // namespace

void SceneModelFromJson(SceneModelHandle& aHandle, const json& aJson)
{
    SceneModel& model = StartFresh(aHandle);
    model.myPath = ReadPathValue(aJson, "path");
    if (!aJson.contains("textures"))
    {
        return;
    }
    const json& textures = aJson.at("textures");
    impl::RequireArrayJson(textures);
    const std::size_t meshCount = std::min(textures.size(), MAX_MESHES_PER_MODEL);
    for (std::size_t mesh = 0; mesh < meshCount; ++mesh)
    {
        ReadTextureSlots(textures.at(mesh), model.myTextures[mesh]);
    }
}

void SceneModelToJson(const SceneModelHandle& aHandle, json& aOut)
{
    const SceneModel& model = aHandle.Get();
    json textures = json::array();
    for (const auto& slots : model.myTextures)
    {
        textures.push_back(TextureSlotsToJson(slots));
    }
    aOut = json{{"path", model.myPath.GetText()}, {"textures", std::move(textures)}};
}

void SceneSpriteFromJson(SceneSpriteHandle& aHandle, const json& aJson)
{
    SceneSprite& sprite = StartFresh(aHandle);
    if (!aJson.is_object())
    {
        return;
    }
    if (const auto path = aJson.find("texturePath"); path != aJson.end())
    {
        sprite.myTextures[0] = impl::ReadStringIdJson(*path);
    }
    if (const auto textures = aJson.find("textures"); textures != aJson.end())
    {
        ReadTextureSlots(*textures, sprite.myTextures);
    }
    if (const auto pivot = aJson.find("pivot"); pivot != aJson.end())
    {
        sprite.myPivot = ReadVector2(*pivot);
    }
    if (const auto size = aJson.find("size"); size != aJson.end())
    {
        sprite.mySize = ReadVector2(*size);
    }
}

void SceneSpriteToJson(const SceneSpriteHandle& aHandle, json& aOut)
{
    const SceneSprite& sprite = aHandle.Get();
    aOut = json{{"textures", TextureSlotsToJson(sprite.myTextures)},
                {"pivot", Vector2ToJson(sprite.myPivot)},
                {"size", Vector2ToJson(sprite.mySize)}};
}

void SceneReferenceFromJson(SceneReferenceHandle& aHandle, const json& aJson)
{
    StartFresh(aHandle).myScenePath = ReadPathValue(aJson, "scene_path");
}

void SceneReferenceToJson(const SceneReferenceHandle& aHandle, json& aOut)
{
    aOut = json{{"scene_path", aHandle.Get().myScenePath.GetText()}};
}

void AnimationClipReferenceFromJson(AnimationClipReferenceHandle& aHandle, const json& aJson)
{
    StartFresh(aHandle).myClipPath = ReadPathValue(aJson, "clip_path");
}

void AnimationClipReferenceToJson(const AnimationClipReferenceHandle& aHandle, json& aOut)
{
    aOut = json{{"clip_path", aHandle.Get().myClipPath.GetText()}};
}
} // namespace Qel
