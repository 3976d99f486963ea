// The base of everything that gives a game object behaviour. A component belongs to one object, which
// calls these hooks on the main thread: Init once (when the object starts, or at once when added to a
// started object), Update and Render while the component is enabled and its object active,
// OnActiveChanged on each change of the object's activity, and OnDestroy before the object deletes it.
// WarmCaches alone runs on the scene-load tasks, before Init, several components at once.
#pragma once

namespace Qel
{
class Engine;
}

class GameObject;

class Component
{
public:
    Component() = default;
    virtual ~Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    virtual void Init(Qel::Engine* aEngine) { static_cast<void>(aEngine); }
    virtual void Update(float aDeltaTime) { static_cast<void>(aDeltaTime); }
    virtual void Render() {}
    virtual void OnDestroy() {}
    virtual void OnActiveChanged(bool aIsActive) { static_cast<void>(aIsActive); }
    // Asks the engine's caches for the models, clips and textures Init will fetch, so that Init finds
    // them ready instead of loading files on the main thread; changes nothing of the component.
    virtual void WarmCaches() {}

    // Null until the component is attached.
    GameObject* GetOwner() const { return myOwner; }
    void SetOwner(GameObject* aOwner) { myOwner = aOwner; }
    bool IsEnabled() const { return myIsEnabled; }
    void SetEnabled(bool aIsEnabled) { myIsEnabled = aIsEnabled; }

protected:
    GameObject* myOwner = nullptr;
    bool myIsEnabled = true;
};
