#include "Builders/GameObjectFactory.h"

#include "Base/TextHelpers.h"
#include "Builders/CommonProperties.h"
#include "Components/MeshComponent.h"

namespace
{
void ApplyTransform(GameObject& aObject, const SceneObjectData& aData)
{
    Qel::Transform& transform = aObject.GetTransform();
    transform.SetPosition(aData.position);
    transform.SetRotation(aData.rotation);
    transform.SetScale(aData.scale);
}

void ApplyCommonProperties(GameObject& aObject, const SceneObjectData& aData)
{
    if (!aData.renderMode.empty())
    {
        if (MeshComponent* mesh = aObject.GetComponent<MeshComponent>())
        {
            mesh->SetRenderMode(ParseRenderMode(aData.renderMode));
        }
    }
    ApplyAtlasProperties(&aObject, aData);
    ApplyPersistentProperty(&aObject, aData);
    ApplyHoverProperties(&aObject, aData);
}
} // namespace

GameObjectFactory& GameObjectFactory::GetInstance()
{
    static GameObjectFactory instance;
    return instance;
}

void GameObjectFactory::Register(const std::string& aTag, Builder aBuilder)
{
    myFactories[aTag] = std::move(aBuilder);
}

void GameObjectFactory::SetDefault(Builder aBuilder)
{
    myDefaultFactory = std::move(aBuilder);
}

void GameObjectFactory::Clear()
{
    myFactories.clear();
    myDefaultFactory = nullptr;
}

std::unique_ptr<GameObject> GameObjectFactory::Create(const SceneObjectData& aData) const
{
    std::string key = TrimCopy(aData.tag);
    auto found = myFactories.find(key);
    if (found == myFactories.end() && !key.empty())
    {
        const std::string lowerKey = ToLowerCopy(key);
        for (auto entry = myFactories.begin(); entry != myFactories.end(); ++entry)
        {
            if (ToLowerCopy(entry->first) == lowerKey)
            {
                found = entry;
                key = entry->first;
                break;
            }
        }
    }

    std::unique_ptr<GameObject> object;
    std::string tag;
    if (found != myFactories.end() && found->second)
    {
        object = found->second(aData);
        tag = key;
    }
    else if (myDefaultFactory)
    {
        object = myDefaultFactory(aData);
        tag = aData.tag;
    }
    else
    {
        object = std::make_unique<GameObject>(aData.name);
        tag = aData.tag;
        if (!aData.model.empty())
        {
            object->AddComponent<MeshComponent>(aData.model);
        }
    }
    if (object == nullptr)
    {
        return nullptr;
    }
    ApplyTransform(*object, aData);
    object->SetTag(tag);
    ApplyCommonProperties(*object, aData);
    return object;
}
