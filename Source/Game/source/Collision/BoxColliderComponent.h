// An axis-aligned box in world space round its owner's position plus an offset. It also becomes the
// owner's bounds, which the contact tests read. A trigger box that does not follow its owner keeps the
// box it had when it started, wherever the owner goes.
#pragma once

#include "Collision/ColliderComponent.h"
#include "vek/Math/Vector3.h"

class BoxColliderComponent : public ColliderComponent
{
public:
    // aSize holds the full extents.
    BoxColliderComponent(const Qel::Vector3<float>& aSize, const Qel::Vector3<float>& anOffset,
                         bool aIsTrigger, bool aFollowsOwner);

    const Qel::Vector3<float>& GetSize() const { return mySize; }
    void GetWorldBounds(Qel::Vector3<float>& outMin, Qel::Vector3<float>& outMax) const;
    bool FollowsOwner() const { return myFollowsOwner; }

    void Init(Qel::Engine* aEngine) override;
    void Update(float aDeltaTime) override;

private:
    void UpdateWorldBox();

    bool myFollowsOwner;
    Qel::Vector3<float> mySize;
    Qel::Vector3<float> myWorldMin;
    Qel::Vector3<float> myWorldMax;
};
