#include "World/HoverComponent.h"

#include <algorithm>

void HoverComponent::Configure(const std::string& aGroupId, float aAmplitude, float aFrequency, float aPhase)
{
    myGroupId = aGroupId;
    myFrequency = std::max(aFrequency, 0.01f);
    myPhase = aPhase;
    myAmplitude = std::clamp(aAmplitude, 0.0f, 10.0f);
}
