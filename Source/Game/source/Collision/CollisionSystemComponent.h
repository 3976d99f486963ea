// The script on the world's persistent "CollisionSystem" object that applies the level's collision
// rules. Until those rules arrive it only keeps the player it is given. Main thread.
#pragma once

#include "Objects/ScriptComponent.h"

class CollisionSystemComponent : public ScriptComponent
{
public:
    void SetPlayer(GameObject* aPlayer) { myPlayer = aPlayer; }
    GameObject* GetPlayer() const { return myPlayer; }
    void ResetForLevel() {}

private:
    GameObject* myPlayer = nullptr;
};
