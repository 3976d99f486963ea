#include "Builders/BasicBuilders.h"

#include "Components/MeshComponent.h"

std::unique_ptr<GameObject> MakeGameObject(const SceneObjectData& aData)
{
    return std::make_unique<GameObject>(aData.name);
}

std::unique_ptr<GameObject> BuildMeshOnlyObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    if (!aData.model.empty())
    {
        object->AddComponent<MeshComponent>(aData.model);
    }
    return object;
}

std::unique_ptr<GameObject> BuildGroundBoxObject(const SceneObjectData& aData)
{
    // The tile's solid box (size 100 x 100 x 200 at offset 50, 50, 100) joins it with the colliders.
    return BuildMeshOnlyObject(aData);
}
