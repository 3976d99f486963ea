#include "Builders/CommonProperties.h"

#include "Base/TextHelpers.h"
#include "Components/MeshComponent.h"
#include "Level/HoverComponent.h"
#include "Objects/GameObject.h"

namespace
{
bool GetBoolOr(const SceneObjectData& aData, const char* aKey, bool aDefault)
{
    bool value = aDefault;
    aData.TryGetBool(aKey, value);
    return value;
}

float GetFloatOr(const SceneObjectData& aData, const char* aKey, float aDefault)
{
    float value = aDefault;
    aData.TryGetFloat(aKey, value);
    return value;
}
} // namespace

int ParseRenderMode(const std::string& aText)
{
    const std::string word = ToLowerCopy(aText);
    if (word == "lambert")
    {
        return 1;
    }
    if (word == "pbr")
    {
        return 2;
    }
    return 0;
}

void ApplyAtlasProperties(GameObject* aObject, const SceneObjectData& aData)
{
    MeshComponent* mesh = aObject != nullptr ? aObject->GetComponent<MeshComponent>() : nullptr;
    if (mesh == nullptr || !GetBoolOr(aData, "UseAtlas", false))
    {
        return;
    }
    mesh->SetUseAtlas(true);
    mesh->SetAtlasTexture(aData.GetStringOrDefault("AtlasTexture", ""));
    mesh->SetAtlasNormalTexture(aData.GetStringOrDefault("AtlasNormalTexture", ""));
    mesh->SetAtlasMaterialTexture(aData.GetStringOrDefault("AtlasMaterialTexture", ""));
    mesh->SetAtlasFxTexture(aData.GetStringOrDefault("AtlasFxTexture", ""));
}

void ApplyPersistentProperty(GameObject* aObject, const SceneObjectData& aData)
{
    if (aObject != nullptr && GetBoolOr(aData, "Persistent", false))
    {
        aObject->SetPersistent(true);
    }
}

void ApplyHoverProperties(GameObject* aObject, const SceneObjectData& aData)
{
    if (aObject == nullptr || !GetBoolOr(aData, "HoverEnabled", false))
    {
        return;
    }
    HoverComponent* hover = aObject->GetComponent<HoverComponent>();
    if (hover == nullptr)
    {
        hover = aObject->AddComponent<HoverComponent>();
    }
    hover->Configure(aData.GetStringOrDefault("HoverGroupId", ""), GetFloatOr(aData, "HoverAmplitude", 30.0f),
                     GetFloatOr(aData, "HoverFrequency", 1.0f), GetFloatOr(aData, "HoverPhase", 0.0f));
    hover->SetEnabled(true);
}
