// The sway settings of a floating object: a group to move with, amplitude, frequency and phase, and
// the rest height the sway is measured from. The world's hover system moves the owner through it.
// Configure keeps amplitude within 0..10 and frequency at 0.01 or more.
#pragma once

#include "Objects/Component.h"

#include <string>

class HoverComponent : public Component
{
public:
    HoverComponent() = default;
    ~HoverComponent() override = default;

    void Configure(const std::string& aGroupId, float aAmplitude, float aFrequency, float aPhase);
    // The hover flag, not the component's update flag.
    void SetEnabled(bool aIsEnabled) { myIsHoverEnabled = aIsEnabled; }
    bool IsEnabled() const { return myIsHoverEnabled; }
    void SetGroupId(const std::string& aGroupId) { myGroupId = aGroupId; }
    const std::string& GetGroupId() const { return myGroupId; }
    bool HasGroup() const { return !myGroupId.empty(); }
    float GetAmplitude() const { return myAmplitude; }
    float GetFrequency() const { return myFrequency; }
    float GetPhase() const { return myPhase; }
    // Keeps the owner's current height as the rest height.
    void CaptureBaseHeight();
    // Puts the owner at the rest height (its current height when none was kept) plus the offset.
    void UpdateHover(float aOffset);

private:
    bool myIsHoverEnabled = true;
    std::string myGroupId;
    float myAmplitude = 10.0f;
    float myFrequency = 1.0f;
    float myPhase = 0.0f;
    float myBaseHeight = 0.0f;
    bool myHasBaseHeight = false;
};
