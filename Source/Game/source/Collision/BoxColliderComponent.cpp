#include "Collision/BoxColliderComponent.h"

#include "Objects/GameObject.h"

BoxColliderComponent::BoxColliderComponent(const Qel::Vector3<float>& aSize,
                                           const Qel::Vector3<float>& anOffset, bool aIsTrigger,
                                           bool aFollowsOwner)
    : ColliderComponent(anOffset, aIsTrigger), myFollowsOwner(aFollowsOwner), mySize(aSize)
{
}

void BoxColliderComponent::GetWorldBounds(Qel::Vector3<float>& outMin, Qel::Vector3<float>& outMax) const
{
    outMin = myWorldMin;
    outMax = myWorldMax;
}

void BoxColliderComponent::Init(Qel::Engine* aEngine)
{
    static_cast<void>(aEngine);
    UpdateWorldBox();
}

void BoxColliderComponent::Update(float aDeltaTime)
{
    static_cast<void>(aDeltaTime);
    if (!IsTrigger() || myFollowsOwner)
    {
        UpdateWorldBox();
    }
}

void BoxColliderComponent::UpdateWorldBox()
{
    if (myOwner == nullptr)
    {
        return;
    }
    const Qel::Vector3<float> centre = myOwner->GetTransform().GetPosition() + myOffset;
    const Qel::Vector3<float> half = mySize * 0.5f;
    myWorldMin = centre - half;
    myWorldMax = centre + half;
    myOwner->SetBounds(myWorldMin, myWorldMax);
}
