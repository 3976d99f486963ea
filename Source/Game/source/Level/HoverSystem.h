// Makes floating platforms and decorations sway. Components with a group id move as one body; the
// rest move alone with a phase and speed taken from their object's name, so neighbours never sway in
// step. Platforms without a group are grouped from their names and places, so a platform made of left,
// middle and right pieces moves as one. A landing player pushes a platform down through a damped
// spring. Main thread.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

class GameObject;
class HoverComponent;

struct HoverGroup
{
    std::vector<HoverComponent*> members;
    float time = 0.0f;
    float amplitude = 0.0f;
    float frequency = 0.0f;
    float phase = 0.0f;
    float springOffset = 0.0f;
    float springVelocity = 0.0f;
};

struct UngroupedHover
{
    HoverComponent* component = nullptr;
    float time = 0.0f;
    float phaseOffset = 0.0f;
    float frequencyFactor = 1.0f;
    float springOffset = 0.0f;
    float springVelocity = 0.0f;
};

class HoverSystem
{
public:
    static constexpr float SPRING_STIFFNESS = 40.0f;
    static constexpr float SPRING_DAMPING = 10.0f;
    static constexpr float LANDING_REFERENCE_SPEED = 1200.0f;
    static constexpr float LANDING_SCALE = 30.0f;
    static constexpr float GROUND_POUND_FACTOR = 1.25f;
    static constexpr float LANDING_CAP = 30.0f;

    // Takes the object's first HoverComponent when it is hover-enabled; nothing for null.
    void Register(GameObject* aObject);
    void ClearLists();
    void Clear();
    // Gives the registered platforms without a group one: singles, left-to-right spans, then clusters.
    void GenerateAutoPlatforms();
    // Captures every rest height and lays out the groups and the lone sways.
    void Build();
    void Update(float aDeltaTime);
    void ApplyLandingImpulse(GameObject* aObject, float aSpeed, bool aIsGroundPound);

    const std::vector<HoverComponent*>& GetComponents() const { return myComponents; }
    const std::vector<GameObject*>& GetPlatforms() const { return myPlatforms; }
    const std::unordered_map<std::string, HoverGroup>& GetGroups() const { return myGroups; }
    const std::vector<UngroupedHover>& GetUngrouped() const { return myUngrouped; }

private:
    std::unordered_map<std::string, HoverGroup> myGroups;
    std::vector<UngroupedHover> myUngrouped;
    std::vector<HoverComponent*> myComponents;
    std::vector<GameObject*> myPlatforms;
};

// A phase angle in [0, 2 pi) from the name's FNV-1a hash; 0 for an empty name.
float HashNameToUnitFloat(const std::string& aName);
// A speed factor in [0.55, 1.5) from the name's FNV-1a hash; 1 for an empty name.
float HashNameToSpeedFactor(const std::string& aName);
// Only the letters and digits, lower case.
std::string NormalizeObjectName(const std::string& aName);
bool NameContainsNormalized(const std::string& aName, const char* aPattern);
// One step of the platform spring (stiffness 40, damping 10): the offset moves first, then the speed.
void StepHoverSpring(float& ioOffset, float& ioVelocity, float aDeltaTime);
// The downward push a landing gives: speed / 1200 x 30, x 1.25 for a ground pound, within 0..30.
float GetLandingImpulse(float aSpeed, bool aIsGroundPound);
