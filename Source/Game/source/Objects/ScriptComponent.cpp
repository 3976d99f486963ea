#include "Objects/ScriptComponent.h"

#include "vek/Core/CounterSource.h"
#include "vek/Core/Profiler.h"

#include <typeinfo>

void ScriptComponent::Init(Qel::Engine* aEngine)
{
    static_cast<void>(aEngine);
    EnsureStarted();
}

void ScriptComponent::Update(float aDeltaTime)
{
    EnsureStarted();
    OnUpdate(aDeltaTime);
}

void ScriptComponent::EnsureStarted()
{
    if (myIsStarted)
    {
        return;
    }
    myIsStarted = true;
    const Qel::CounterSource& clock = Qel::GetSteadyClockCounter();
    const std::int64_t start = clock.GetCount();
    OnStart();
    const std::int64_t end = clock.GetCount();
    Qel::Profiler::GetInstance().RecordTiming("ScriptComponent::OnStart", typeid(*this).name(),
                                              static_cast<std::uint64_t>(start),
                                              static_cast<std::uint64_t>(end));
}
