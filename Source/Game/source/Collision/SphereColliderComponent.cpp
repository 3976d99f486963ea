#include "Collision/SphereColliderComponent.h"

#include "Objects/GameObject.h"

SphereColliderComponent::SphereColliderComponent(float aRadius, const Qel::Vector3<float>& anOffset,
                                                 bool aIsTrigger)
    : ColliderComponent(anOffset, aIsTrigger), myRadius(aRadius)
{
}

Qel::Vector4<float> SphereColliderComponent::GetWorldCenter() const
{
    return {myWorldCenter.x, myWorldCenter.y, myWorldCenter.z, myWorldRadius};
}

void SphereColliderComponent::Init(Qel::Engine* aEngine)
{
    static_cast<void>(aEngine);
    UpdateWorldSphere();
}

void SphereColliderComponent::Update(float aDeltaTime)
{
    static_cast<void>(aDeltaTime);
    UpdateWorldSphere();
}

void SphereColliderComponent::UpdateWorldSphere()
{
    if (myOwner == nullptr)
    {
        return;
    }
    myWorldCenter = myOwner->GetTransform().GetPosition() + myOffset;
    myWorldRadius = myRadius;
    const Qel::Vector3<float> reach(myRadius, myRadius, myRadius);
    myOwner->SetBounds(myWorldCenter - reach, myWorldCenter + reach);
}
