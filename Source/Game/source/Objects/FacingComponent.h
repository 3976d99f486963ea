// What the effect emitters ask of an object's character (the player's and the walking enemies'
// controllers derive from it): which way it faces, so that mirrored effects follow it.
#pragma once

class FacingComponent
{
public:
    virtual ~FacingComponent() = default;
    virtual bool IsFacingRight() const = 0;
};
