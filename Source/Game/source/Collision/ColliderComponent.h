// What the box and the sphere collider share: their offset from the owner, whether they are a trigger,
// and whether the player is inside, with the enter and exit edges the collision system asks for each
// frame.
#pragma once

#include "Objects/Component.h"
#include "vek/Math/Vector3.h"

class ColliderComponent : public Component
{
public:
    const Qel::Vector3<float>& GetOffset() const { return myOffset; }
    bool IsTrigger() const { return myIsTrigger; }
    bool IsPlayerInside() const { return myIsPlayerInside; }

    // True only for a trigger the player was not inside; it is inside from then on.
    bool TriggerEnter()
    {
        if (!myIsTrigger || myIsPlayerInside)
        {
            return false;
        }
        myIsPlayerInside = true;
        return true;
    }

    // True only for a trigger the player was inside; it is outside from then on.
    bool TriggerExit()
    {
        if (!myIsTrigger || !myIsPlayerInside)
        {
            return false;
        }
        myIsPlayerInside = false;
        return true;
    }

protected:
    ColliderComponent(const Qel::Vector3<float>& anOffset, bool aIsTrigger)
        : myOffset(anOffset), myIsTrigger(aIsTrigger)
    {
    }

    Qel::Vector3<float> myOffset;

private:
    bool myIsTrigger;
    bool myIsPlayerInside = false;
};
