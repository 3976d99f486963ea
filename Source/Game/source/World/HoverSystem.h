// Drives the sway of every hover-enabled object. Until the sway itself arrives, the system keeps its
// registrations (components, and platforms among their objects) and moves nothing. Main thread.
#pragma once

#include <vector>

class GameObject;
class HoverComponent;

class HoverSystem
{
public:
    // Takes the object's first HoverComponent when it is hover-enabled; nothing for null.
    void Register(GameObject* aObject);
    void ClearLists();
    void Clear() {}
    void GenerateAutoPlatforms() {}
    void Build() {}
    void Update(float aDeltaTime) { static_cast<void>(aDeltaTime); }
    void ApplyLandingImpulse(GameObject* aObject, float aSpeed, bool aIsGroundPound)
    {
        static_cast<void>(aObject);
        static_cast<void>(aSpeed);
        static_cast<void>(aIsGroundPound);
    }

    const std::vector<HoverComponent*>& GetComponents() const { return myComponents; }
    const std::vector<GameObject*>& GetPlatforms() const { return myPlatforms; }

private:
    std::vector<HoverComponent*> myComponents;
    std::vector<GameObject*> myPlatforms;
};
