#include "Level/HoverSystem.h"

#include "Level/HoverComponent.h"
#include "Objects/GameObject.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace
{
constexpr float TWO_PI = 2.0f * std::numbers::pi_v<float>;
constexpr float SPAN_MAX_DY = 80.0f;
constexpr float SPAN_MARGIN = 75.0f;
constexpr float CLUSTER_MAX_DX = 100.0f;
constexpr float CLUSTER_MAX_DY = 80.0f;

float HashToUnit(const std::string& aText)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char character : aText)
    {
        hash ^= static_cast<unsigned char>(character);
        hash *= 0x100000001b3ull;
    }
    return static_cast<float>(static_cast<double>(hash & 0xffffffffull) / 4294967296.0);
}

struct PlatformRecord
{
    HoverComponent* component = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    std::string name;
    bool isGrouped = false;
};

void Assign(PlatformRecord& aRecord, const std::string& aGroupId)
{
    aRecord.component->SetGroupId(aGroupId);
    aRecord.isGrouped = true;
}

void GroupSingles(std::vector<PlatformRecord>& someRecords)
{
    int single = 0;
    for (PlatformRecord& record : someRecords)
    {
        if (!record.isGrouped && NameContainsNormalized(record.name, "singleplatform"))
        {
            Assign(record, "auto_platform_single_" + std::to_string(single++));
        }
    }
}

void GroupSpans(std::vector<PlatformRecord>& someRecords)
{
    int span = 0;
    for (PlatformRecord& left : someRecords)
    {
        if (left.isGrouped || !NameContainsNormalized(left.name, "platformleft"))
        {
            continue;
        }
        PlatformRecord* right = nullptr;
        for (PlatformRecord& candidate : someRecords)
        {
            const float dx = candidate.x - left.x;
            if (!candidate.isGrouped && NameContainsNormalized(candidate.name, "platformright") &&
                std::abs(candidate.y - left.y) <= SPAN_MAX_DY && dx > 0.0f &&
                (right == nullptr || dx < right->x - left.x))
            {
                right = &candidate;
            }
        }
        if (right == nullptr)
        {
            continue;
        }
        const std::string id = "auto_platform_span_" + std::to_string(span++);
        Assign(left, id);
        Assign(*right, id);
        const float minX = std::min(left.x, right->x) - SPAN_MARGIN;
        const float maxX = std::max(left.x, right->x) + SPAN_MARGIN;
        const float middleY = (left.y + right->y) * 0.5f;
        for (PlatformRecord& piece : someRecords)
        {
            if (!piece.isGrouped && piece.x >= minX && piece.x <= maxX &&
                std::abs(piece.y - middleY) <= SPAN_MAX_DY)
            {
                Assign(piece, id);
            }
        }
    }
}

void GroupClusters(std::vector<PlatformRecord>& someRecords)
{
    int cluster = 0;
    for (PlatformRecord& seed : someRecords)
    {
        if (seed.isGrouped)
        {
            continue;
        }
        const std::string id = "auto_platform_cluster_" + std::to_string(cluster++);
        Assign(seed, id);
        std::vector<const PlatformRecord*> open{&seed};
        while (!open.empty())
        {
            const PlatformRecord* reached = open.back();
            open.pop_back();
            for (PlatformRecord& neighbour : someRecords)
            {
                if (!neighbour.isGrouped && std::abs(neighbour.x - reached->x) <= CLUSTER_MAX_DX &&
                    std::abs(neighbour.y - reached->y) <= CLUSTER_MAX_DY)
                {
                    Assign(neighbour, id);
                    open.push_back(&neighbour);
                }
            }
        }
    }
}

bool IsOwnerActive(const HoverComponent* aComponent)
{
    return aComponent != nullptr && aComponent->GetOwner() != nullptr && aComponent->GetOwner()->IsActive();
}
} // namespace

float HashNameToUnitFloat(const std::string& aName)
{
    return aName.empty() ? 0.0f : HashToUnit(aName) * TWO_PI;
}

float HashNameToSpeedFactor(const std::string& aName)
{
    return aName.empty() ? 1.0f : 0.55f + 0.95f * HashToUnit(aName);
}

std::string NormalizeObjectName(const std::string& aName)
{
    std::string normalized;
    for (const char character : aName)
    {
        const unsigned char byte = static_cast<unsigned char>(character);
        if (std::isalnum(byte) != 0)
        {
            normalized += static_cast<char>(std::tolower(byte));
        }
    }
    return normalized;
}

bool NameContainsNormalized(const std::string& aName, const char* aPattern)
{
    return NormalizeObjectName(aName).find(NormalizeObjectName(aPattern != nullptr ? aPattern : "")) !=
           std::string::npos;
}

void StepHoverSpring(float& ioOffset, float& ioVelocity, float aDeltaTime)
{
    const float oldVelocity = ioVelocity;
    ioOffset += oldVelocity * aDeltaTime;
    ioVelocity +=
        (-ioOffset * HoverSystem::SPRING_STIFFNESS - oldVelocity * HoverSystem::SPRING_DAMPING) * aDeltaTime;
}

float GetLandingImpulse(float aSpeed, bool aIsGroundPound)
{
    float strength =
        std::clamp(aSpeed / HoverSystem::LANDING_REFERENCE_SPEED, 0.0f, 1.0f) * HoverSystem::LANDING_SCALE;
    if (aIsGroundPound)
    {
        strength *= HoverSystem::GROUND_POUND_FACTOR;
    }
    return std::clamp(strength, 0.0f, HoverSystem::LANDING_CAP);
}

void HoverSystem::Register(GameObject* aObject)
{
    if (aObject == nullptr)
    {
        return;
    }
    HoverComponent* hover = aObject->GetComponent<HoverComponent>();
    if (hover == nullptr || !hover->IsEnabled())
    {
        return;
    }
    myComponents.push_back(hover);
    if (aObject->GetTag() == "Platform")
    {
        myPlatforms.push_back(aObject);
    }
}

void HoverSystem::ClearLists()
{
    myComponents.clear();
    myPlatforms.clear();
}

void HoverSystem::Clear()
{
    myGroups.clear();
    myUngrouped.clear();
}

void HoverSystem::GenerateAutoPlatforms()
{
    std::vector<PlatformRecord> records;
    for (GameObject* platform : myPlatforms)
    {
        HoverComponent* hover = platform != nullptr ? platform->GetComponent<HoverComponent>() : nullptr;
        if (hover == nullptr || !hover->IsEnabled())
        {
            continue;
        }
        const Qel::Vector3<float>& position = platform->GetTransform().GetPosition();
        records.push_back({hover, position.x, position.y, platform->GetName(), hover->HasGroup()});
    }
    GroupSingles(records);
    GroupSpans(records);
    GroupClusters(records);
}

void HoverSystem::Build()
{
    Clear();
    for (HoverComponent* component : myComponents)
    {
        if (component == nullptr || !component->IsEnabled() || component->GetOwner() == nullptr)
        {
            continue;
        }
        component->CaptureBaseHeight();
        if (component->HasGroup())
        {
            HoverGroup& group = myGroups[component->GetGroupId()];
            if (group.members.empty())
            {
                group.amplitude = component->GetAmplitude();
                group.frequency = std::max(
                    component->GetFrequency() * HashNameToSpeedFactor(component->GetGroupId()), 0.01f);
                group.phase = component->GetPhase();
            }
            group.members.push_back(component);
        }
        else
        {
            const std::string& name = component->GetOwner()->GetName();
            myUngrouped.push_back(
                {component, 0.0f, HashNameToUnitFloat(name), HashNameToSpeedFactor(name + "_freq")});
        }
    }
    if (myGroups.size() >= 2)
    {
        std::vector<std::string> ids;
        for (const auto& [id, group] : myGroups)
        {
            ids.push_back(id);
        }
        std::sort(ids.begin(), ids.end());
        for (std::size_t index = 0; index < ids.size(); ++index)
        {
            const float share = static_cast<float>(index) / static_cast<float>(ids.size());
            myGroups[ids[index]].phase += share * TWO_PI + 0.15f * HashNameToUnitFloat(ids[index]);
        }
    }
    if (myUngrouped.size() >= 2)
    {
        for (std::size_t index = 0; index < myUngrouped.size(); ++index)
        {
            myUngrouped[index].phaseOffset +=
                static_cast<float>(index) / static_cast<float>(myUngrouped.size()) * TWO_PI;
        }
    }
    for (auto& [id, group] : myGroups)
    {
        if (group.members.size() > 1)
        {
            group.frequency /= 1.0f + 0.2f * static_cast<float>(group.members.size() - 1);
        }
    }
}

void HoverSystem::Update(float aDeltaTime)
{
    for (auto& [id, group] : myGroups)
    {
        group.time += aDeltaTime;
        StepHoverSpring(group.springOffset, group.springVelocity, aDeltaTime);
        const float offset =
            std::sin(group.time * group.frequency + group.phase) * group.amplitude + group.springOffset;
        for (HoverComponent* member : group.members)
        {
            if (IsOwnerActive(member))
            {
                member->UpdateHover(offset);
            }
        }
    }
    for (UngroupedHover& entry : myUngrouped)
    {
        if (!IsOwnerActive(entry.component))
        {
            continue;
        }
        entry.time += aDeltaTime;
        StepHoverSpring(entry.springOffset, entry.springVelocity, aDeltaTime);
        const HoverComponent& component = *entry.component;
        const float frequency = std::max(component.GetFrequency() * entry.frequencyFactor, 0.01f);
        const float offset = component.GetAmplitude() *
                                 std::sin(component.GetPhase() + frequency * entry.time + entry.phaseOffset) +
                             entry.springOffset;
        entry.component->UpdateHover(offset);
    }
}

void HoverSystem::ApplyLandingImpulse(GameObject* aObject, float aSpeed, bool aIsGroundPound)
{
    if (aObject == nullptr)
    {
        return;
    }
    const float strength = GetLandingImpulse(aSpeed, aIsGroundPound);
    if (strength <= 0.0f)
    {
        return;
    }
    for (auto& [id, group] : myGroups)
    {
        const bool owns = std::any_of(group.members.begin(), group.members.end(),
                                      [aObject](const HoverComponent* aMember)
                                      { return aMember != nullptr && aMember->GetOwner() == aObject; });
        if (owns)
        {
            group.springVelocity -= strength;
            return;
        }
    }
    for (UngroupedHover& entry : myUngrouped)
    {
        if (entry.component != nullptr && entry.component->GetOwner() == aObject)
        {
            entry.springVelocity -= strength;
            return;
        }
    }
}
