// Places a named effect from level data: a burst when its object starts, a burst on each activation
// and one effect every spawn interval, at the owner's position or at a fixed screen position.
#pragma once

#include "Objects/Component.h"
#include "vek/Math/Vector2.h"

#include <string>

struct VfxEmitterSettings
{
    std::string effectId;
    // "world" or "screen", compared lower-cased.
    std::string space = "world";
    // Seconds; 0 or less emits only bursts.
    float spawnInterval = 0.1f;
    int burstOnStart = 0;
    int burstOnActivate = 0;
    float sizeMultiplier = 1.0f;
    // Pixels.
    Qel::Vector2<float> screenPosition;
};

class VfxEmitterComponent : public Component
{
public:
    explicit VfxEmitterComponent(VfxEmitterSettings someSettings);
    ~VfxEmitterComponent() override = default;

    void Init(Qel::Engine* aEngine) override;
    void Update(float aDeltaTime) override;
    void OnActiveChanged(bool aIsActive) override;

    const VfxEmitterSettings& GetSettings() const { return mySettings; }
    float GetTimer() const { return myTimer; }

private:
    void Emit(int aCount) const;
    void EmitOnce() const;
    // +1 right, -1 left.
    float GetOwnerFacing() const;

    VfxEmitterSettings mySettings;
    bool myIsScreenSpace = false;
    float myTimer = 0.0f;
    bool myBurstPending = false;
};
