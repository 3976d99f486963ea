// A block the player breaks from below while rising or from above while ground-pounding. The object
// makes sure it has its controller and a 50-unit box; the collision rules decide when it breaks.
#pragma once

#include "Objects/GameObject.h"
#include "Objects/ScriptComponent.h"

#include <string>

class BreakableTileController : public ScriptComponent
{
public:
    // Breaks once: false when already broken or when the player neither rises nor ground-pounds.
    bool TryBreak(bool aIsRising, bool aIsGroundPounding);
    bool IsBroken() const { return myIsBroken; }
    // Whole again, after a respawn.
    void ResetBroken() { myIsBroken = false; }

private:
    bool myIsBroken = false;
};

class BreakableTile : public GameObject
{
public:
    static constexpr float BOX_SIZE = 50.0f;

    explicit BreakableTile(std::string aName);

    void Start(Qel::Engine* aEngine) override;
    BreakableTileController* GetController() const { return myController; }

private:
    BreakableTileController* myController = nullptr;
};
