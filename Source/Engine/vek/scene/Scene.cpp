#include "vek/scene/Scene.h"

#include "vek/scene/SceneObjectId.h"

#include <utility>

namespace Qel
{
std::shared_ptr<SceneObject> SceneObjectMap::Find(std::uint32_t aId) const
{
    const auto found = myIndexById.find(aId);
    return found != myIndexById.end() ? myEntries[found->second].second : nullptr;
}

void SceneObjectMap::InsertOrReplace(std::uint32_t aId, std::shared_ptr<SceneObject> aObject)
{
    const auto [found, inserted] = myIndexById.try_emplace(aId, myEntries.size());
    if (inserted)
    {
        myEntries.emplace_back(aId, std::move(aObject));
        return;
    }
    myEntries[found->second].second = std::move(aObject);
}

void SceneObjectMap::Clear()
{
    myEntries.clear();
    myIndexById.clear();
}

std::pair<std::uint32_t, SceneObject*> Scene::CreateSceneObject(const char* aUuid,
                                                                const SceneObject& aPrototype)
{
    return CreateSceneObject(aUuid, SceneObject(aPrototype));
}

std::pair<std::uint32_t, SceneObject*> Scene::CreateSceneObject(const char* aUuid, SceneObject&& aObject)
{
    const std::uint32_t id = GetSceneObjectIdFromUuid(aUuid);
    AddPathCount(aObject.myPath);
    auto object = std::make_shared<SceneObject>(std::move(aObject));
    SceneObject* address = object.get();
    myObjects.InsertOrReplace(id, std::move(object));
    AddPathCount(StringId());
    return {id, address};
}

std::uint32_t Scene::GetObjectCount(StringId aPath) const
{
    const auto found = myObjectCountPerPath.find(aPath);
    return found != myObjectCountPerPath.end() ? found->second : 0;
}

void Scene::ClearObjects()
{
    myObjects.Clear();
    myObjectCountPerPath.clear();
}

void Scene::AddPathCount(StringId aPath)
{
    ++myObjectCountPerPath[aPath];
}

void Scene::RemovePathCount(StringId aPath)
{
    const auto found = myObjectCountPerPath.find(aPath);
    if (found != myObjectCountPerPath.end() && --found->second == 0)
    {
        myObjectCountPerPath.erase(found);
    }
}

void SceneObject::SetPath(Scene* aScene, StringId aPath)
{
    if (aScene != nullptr)
    {
        aScene->AddPathCount(aPath);
        aScene->RemovePathCount(myPath);
    }
    myPath = aPath;
}
} // namespace Qel
