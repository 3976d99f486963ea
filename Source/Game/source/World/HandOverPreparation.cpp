#include "World/HandOverPreparation.h"

#include "Components/AnimatedMeshComponent.h"
#include "Components/MeshComponent.h"
#include "Platform/Gfx/Device.h"
#include "World/PipelineWarmUp.h"
#include "vek/Core/Profiler.h"
#include "vek/graphics/DX11.h"

#include <cstdint>

bool HandOverPreparation::RunSlice(const std::vector<std::unique_ptr<GameObject>>& someObjects,
                                   const Qel::CounterSource& aClock)
{
    const Qel::ProfilerScope scope("HandOverPreparation::RunSlice");
    const std::int64_t start = aClock.GetCount();
    const auto isSpent = [&]
    {
        const double elapsed =
            static_cast<double>(aClock.GetCount() - start) / static_cast<double>(aClock.GetFrequency());
        return elapsed >= SLICE_SECONDS;
    };
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
    Platform::Gfx::Device* device = Qel::DX11::GetDevice();
    if (device == nullptr || !device->IsMainThread())
    {
        return true;
    }
    Platform::Gfx::DeviceCore& core = *device->GetCore();
    bool hasMade = false;
    while (core.RealiseDeferred(1) != 0)
    {
        hasMade = true;
        if (isSpent())
        {
            return core.GetDeferredCount() == 0 && myArePipelinesWarm;
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
