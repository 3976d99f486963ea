#include "Builders/BasicBuilders.h"

#include "Collision/BoxColliderComponent.h"
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
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    object->AddComponent<BoxColliderComponent>(Qel::Vector3<float>{100.0f, 100.0f, 200.0f},
                                               Qel::Vector3<float>{50.0f, 50.0f, 100.0f}, false, false);
    return object;
}
