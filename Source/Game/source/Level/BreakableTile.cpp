#include "Level/BreakableTile.h"

#include "Collision/BoxColliderComponent.h"

bool BreakableTileController::TryBreak(bool aIsRising, bool aIsGroundPounding)
{
    if (myIsBroken || (!aIsRising && !aIsGroundPounding))
    {
        return false;
    }
    myIsBroken = true;
    return true;
}

BreakableTile::BreakableTile(std::string aName) : GameObject(std::move(aName))
{
}

void BreakableTile::Start(Qel::Engine* aEngine)
{
    myController = GetComponent<BreakableTileController>();
    if (myController == nullptr)
    {
        myController = AddComponent<BreakableTileController>();
    }
    if (GetComponent<BoxColliderComponent>() == nullptr)
    {
        AddComponent<BoxColliderComponent>(Qel::Vector3<float>{BOX_SIZE, BOX_SIZE, BOX_SIZE},
                                           Qel::Vector3<float>{0.0f, 0.0f, 0.0f}, false, true);
    }
    GameObject::Start(aEngine);
}
