#include "Objects/GameObject.h"

#include "vek/Core/CounterSource.h"
#include "vek/Core/Profiler.h"

GameObject::GameObject(std::string aName) : myName(std::move(aName))
{
}

GameObject::~GameObject()
{
    for (auto component = myComponents.rbegin(); component != myComponents.rend(); ++component)
    {
        (*component)->OnDestroy();
    }
    // Components may still look at their older siblings while they go, so the first goes first.
    for (std::unique_ptr<Component>& component : myComponents)
    {
        component.reset();
    }
}

void GameObject::Start(Qel::Engine* aEngine)
{
    const Qel::CounterSource& clock = Qel::GetSteadyClockCounter();
    const std::int64_t start = clock.GetCount();
    myEngine = aEngine;
    myIsStarted = true;
    // Init may add components, so the list is walked by index.
    for (std::size_t index = 0; index < myComponents.size(); ++index)
    {
        myComponents[index]->Init(aEngine);
    }
    const std::int64_t end = clock.GetCount();
    Qel::Profiler::GetInstance().RecordTiming("GameObject::Start", myName, static_cast<std::uint64_t>(start),
                                              static_cast<std::uint64_t>(end));
}

void GameObject::Update(float aDeltaTime)
{
    if (!myIsActive)
    {
        return;
    }
    for (std::size_t index = 0; index < myComponents.size(); ++index)
    {
        if (myComponents[index]->IsEnabled())
        {
            myComponents[index]->Update(aDeltaTime);
        }
    }
}

void GameObject::Render()
{
    if (!myIsActive)
    {
        return;
    }
    for (std::size_t index = 0; index < myComponents.size(); ++index)
    {
        if (myComponents[index]->IsEnabled())
        {
            myComponents[index]->Render();
        }
    }
}

void GameObject::SetActive(bool aIsActive)
{
    if (aIsActive == myIsActive)
    {
        return;
    }
    myIsActive = aIsActive;
    for (std::size_t index = 0; index < myComponents.size(); ++index)
    {
        myComponents[index]->OnActiveChanged(aIsActive);
    }
}

void GameObject::GetBounds(Qel::Vector3<float>& outMin, Qel::Vector3<float>& outMax) const
{
    outMin = myBoundsMin;
    outMax = myBoundsMax;
}

void GameObject::SetBounds(const Qel::Vector3<float>& aMin, const Qel::Vector3<float>& aMax)
{
    myBoundsMin = aMin;
    myBoundsMax = aMax;
}
