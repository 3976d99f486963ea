#include "World/HoverSystem.h"

#include "Objects/GameObject.h"
#include "World/HoverComponent.h"

void HoverSystem::Register(GameObject* aObject)
{
    if (aObject == nullptr)
    {
        return;
    }
    HoverComponent* hover = aObject->GetComponent<HoverComponent>();
    if (hover == nullptr || !hover->IsEnabled())
    {
        return;
    }
    myComponents.push_back(hover);
    if (aObject->GetTag() == "Platform")
    {
        myPlatforms.push_back(aObject);
    }
}

void HoverSystem::ClearLists()
{
    myComponents.clear();
    myPlatforms.clear();
}
