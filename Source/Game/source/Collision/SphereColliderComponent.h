// A sphere in world space round its owner's position plus an offset, used by the pickups. It also
// becomes the owner's bounds (the cube round the sphere).
#pragma once

#include "Collision/ColliderComponent.h"
#include "vek/Math/Vector3.h"
#include "vek/Math/Vector4.h"

class SphereColliderComponent : public ColliderComponent
{
public:
    SphereColliderComponent(float aRadius, const Qel::Vector3<float>& anOffset, bool aIsTrigger);

    float GetRadius() const { return myRadius; }
    // The world centre in x, y and z, the radius in w.
    Qel::Vector4<float> GetWorldCenter() const;

    // Both place the sphere on its owner, every frame, trigger or not.
    void Init(Qel::Engine* aEngine) override;
    void Update(float aDeltaTime) override;

private:
    void UpdateWorldSphere();

    float myRadius;
    Qel::Vector3<float> myWorldCenter;
    float myWorldRadius = 0.0f;
};
