#include "Level/HoverComponent.h"

#include "Objects/GameObject.h"

#include <algorithm>

void HoverComponent::Configure(const std::string& aGroupId, float aAmplitude, float aFrequency, float aPhase)
{
    myGroupId = aGroupId;
    myFrequency = std::max(aFrequency, 0.01f);
    myPhase = aPhase;
    myAmplitude = std::clamp(aAmplitude, 0.0f, 10.0f);
}

void HoverComponent::CaptureBaseHeight()
{
    if (myOwner != nullptr)
    {
        myBaseHeight = myOwner->GetTransform().GetPosition().y;
        myHasBaseHeight = true;
    }
}

void HoverComponent::UpdateHover(float aOffset)
{
    if (myOwner == nullptr)
    {
        return;
    }
    Qel::Transform& transform = myOwner->GetTransform();
    const Qel::Vector3<float> position = transform.GetPosition();
    const float base = myHasBaseHeight ? myBaseHeight : position.y;
    transform.SetPosition({position.x, base + aOffset, position.z});
}
