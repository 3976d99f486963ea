#include "Components/ComponentLookup.h"

#include "Collision/SphereColliderComponent.h"
#include "Components/DamageableComponent.h"
#include "Components/MeshComponent.h"
#include "Objects/GameObject.h"

namespace
{
template <typename T>
T* FirstOf(const GameObject* anObject)
{
    return anObject != nullptr ? anObject->GetComponent<T>() : nullptr;
}
} // namespace

DamageableComponent* GetDamageableComponent(const GameObject* anObject)
{
    return FirstOf<DamageableComponent>(anObject);
}

SphereColliderComponent* GetSphereColliderComponent(const GameObject* anObject)
{
    return FirstOf<SphereColliderComponent>(anObject);
}

MeshComponent* GetMeshComponent(const GameObject* anObject)
{
    return FirstOf<MeshComponent>(anObject);
}
