#include "World/HandOverPreparation.h"

#include "Components/AnimatedMeshComponent.h"
#include "Components/MeshComponent.h"
#include "Platform/Gfx/Device.h"
#include "World/PipelineWarmUp.h"
#include "vek/Core/Profiler.h"
#include "vek/graphics/DX11.h"

#include <cstdint>

namespace
{
// True once aClock has moved a slice's length since it was made.
class SliceBudget
{
public:
    explicit SliceBudget(const Qel::CounterSource& aClock) : myClock(aClock), myStart(aClock.GetCount()) {}
    bool operator()() const
    {
        const double elapsed =
            static_cast<double>(myClock.GetCount() - myStart) / static_cast<double>(myClock.GetFrequency());
        return elapsed >= HandOverPreparation::SLICE_SECONDS;
    }

private:
    const Qel::CounterSource& myClock;
    std::int64_t myStart;
};

Platform::Gfx::DeviceCore* GetMainThreadCore()
{
    Platform::Gfx::Device* device = Qel::DX11::GetDevice();
    return device != nullptr && device->IsMainThread() ? device->GetCore().get() : nullptr;
}
} // namespace

void HandOverPreparation::RunTaskSlice(const Qel::CounterSource& aClock)
{
    const Qel::ProfilerScope scope("HandOverPreparation::RunTaskSlice");
    const SliceBudget isSpent(aClock);
    if (Platform::Gfx::DeviceCore* core = GetMainThreadCore())
    {
        while (!isSpent() && core->RealiseDeferred(1) != 0)
        {
        }
    }
}

bool HandOverPreparation::RunSlice(const std::vector<std::unique_ptr<GameObject>>& someObjects,
                                   const Qel::CounterSource& aClock)
{
    const Qel::ProfilerScope scope("HandOverPreparation::RunSlice");
    const SliceBudget isSpent(aClock);
    // A shared shader is built by its first mesh; the rest find it built.
    while (myNextObject < someObjects.size())
    {
        const GameObject& object = *someObjects[myNextObject++];
        if (MeshComponent* mesh = object.GetComponent<MeshComponent>())
        {
            mesh->BuildCustomShader();
        }
        if (AnimatedMeshComponent* animated = object.GetComponent<AnimatedMeshComponent>())
        {
            animated->BuildCustomShader();
        }
        if (isSpent() && myNextObject < someObjects.size())
        {
            return false;
        }
    }
    Platform::Gfx::DeviceCore* core = GetMainThreadCore();
    if (core == nullptr)
    {
        return true;
    }
    bool hasMade = false;
    while (core->RealiseDeferred(1) != 0)
    {
        hasMade = true;
        if (isSpent())
        {
            return core->GetDeferredCount() == 0 && myArePipelinesWarm;
        }
    }
    if (myArePipelinesWarm)
    {
        return true;
    }
    // After the textures are made, since their formats are part of what the driver builds for; in a
    // slice of its own when this one has worked already, and never in the hand-over's frame, which
    // draws the level.
    if (!hasMade || !isSpent())
    {
        WarmUpMeshPipelines(someObjects);
        myArePipelinesWarm = true;
    }
    return false;
}
