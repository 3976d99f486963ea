// A thing in a level: a transform, a name, a tag and the components it owns, which give it behaviour.
// Objects may be built on the scene-load task, but are started, updated, drawn and destroyed on the
// main thread only.
#pragma once

#include "Objects/Component.h"
#include "vek/Math/Transform.h"
#include "vek/Math/Vector3.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class GameObject
{
public:
    explicit GameObject(std::string aName);
    // OnDestroy on every component from the last to the first, then deletes them first to last.
    virtual ~GameObject();
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    // Keeps the engine pointer for later components and runs every component's Init in order,
    // enabled or not.
    virtual void Start(Qel::Engine* aEngine);
    // Enabled components in order, and only while the object is active.
    virtual void Update(float aDeltaTime);
    virtual void Render();

    Qel::Transform& GetTransform() { return myTransform; }
    const Qel::Transform& GetTransform() const { return myTransform; }
    const std::string& GetName() const { return myName; }
    void SetName(const std::string& aName) { myName = aName; }
    const std::string& GetTag() const { return myTag; }
    void SetTag(const std::string& aTag) { myTag = aTag; }
    bool IsActive() const { return myIsActive; }
    // Tells every component only when the value changes.
    void SetActive(bool aIsActive);
    bool IsPersistent() const { return myIsPersistent; }
    void SetPersistent(bool aIsPersistent) { myIsPersistent = aIsPersistent; }
    bool IsStarted() const { return myIsStarted; }
    Qel::Engine* GetEngine() const { return myEngine; }
    void GetBounds(Qel::Vector3<float>& outMin, Qel::Vector3<float>& outMax) const;
    void SetBounds(const Qel::Vector3<float>& aMin, const Qel::Vector3<float>& aMax);

    // A component added to a started object is initialised at once; one added before is initialised
    // by Start.
    template <typename T, typename... Args>
    T* AddComponent(Args&&... aArguments)
    {
        auto owned = std::make_unique<T>(std::forward<Args>(aArguments)...);
        T* component = owned.get();
        component->SetOwner(this);
        myComponents.push_back(std::move(owned));
        if (myIsStarted && myEngine != nullptr)
        {
            component->Init(myEngine);
        }
        return component;
    }

    // The first component, in the order they were added, that is a T (or derives from one); null when
    // none is.
    template <typename T>
    T* GetComponent() const
    {
        for (const std::unique_ptr<Component>& component : myComponents)
        {
            if (T* match = dynamic_cast<T*>(component.get()))
            {
                return match;
            }
        }
        return nullptr;
    }

    const std::vector<std::unique_ptr<Component>>& GetComponents() const { return myComponents; }

private:
    Qel::Transform myTransform;
    std::string myName;
    std::string myTag;
    bool myIsActive = true;
    bool myIsPersistent = false;
    bool myIsStarted = false;
    Qel::Engine* myEngine = nullptr;
    Qel::Vector3<float> myBoundsMin{-1.0f, -1.0f, -1.0f};
    Qel::Vector3<float> myBoundsMax{1.0f, 1.0f, 1.0f};
    std::vector<std::unique_ptr<Component>> myComponents;
};
