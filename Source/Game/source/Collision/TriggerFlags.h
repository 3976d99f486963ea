// Whether a collider is a trigger and whether the player is inside it, with the enter and exit edges
// the collision system asks for each frame. Shared by the box and the sphere collider.
#pragma once

class TriggerFlags
{
public:
    explicit TriggerFlags(bool aIsTrigger) : myIsTrigger(aIsTrigger) {}

    bool IsTrigger() const { return myIsTrigger; }
    bool IsPlayerInside() const { return myIsPlayerInside; }

    // True only for a trigger the player was not inside; it is inside from then on.
    bool Enter()
    {
        if (!myIsTrigger || myIsPlayerInside)
        {
            return false;
        }
        myIsPlayerInside = true;
        return true;
    }

    // True only for a trigger the player was inside; it is outside from then on.
    bool Exit()
    {
        if (!myIsTrigger || !myIsPlayerInside)
        {
            return false;
        }
        myIsPlayerInside = false;
        return true;
    }

private:
    bool myIsTrigger;
    bool myIsPlayerInside = false;
};
