#include "Camera/FogComponent.h"

#include "Base/JsonNumber.h"
#include "Camera/ProfileFolders.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iostream>

namespace
{
using Json = nlohmann::json;

constexpr const char* PROFILE_FOLDER = "fog_profiles";

struct FogState
{
    std::string sceneName;
    FogSettings settings;
};

FogState& State()
{
    static FogState state;
    return state;
}

// Applies the key when it holds a number; json numbers beyond a float's range stand at its largest.
void ReadNumber(const Json& aRoot, const char* aKey, float& outComponent, float& outShared)
{
    const auto found = aRoot.find(aKey);
    if (found == aRoot.end() || !found->is_number())
    {
        return;
    }
    const float value = JsonNumberToFloat(*found);
    outComponent = value;
    outShared = value;
}

void ReportDefaults()
{
    std::cout << "[Fog] Using in-memory fog defaults" << std::endl;
}
} // namespace

void FogComponent::SetCurrentSceneName(const std::string& aScenePath)
{
    State().sceneName = aScenePath;
}

const FogSettings& FogComponent::GetSettings()
{
    return State().settings;
}

void FogComponent::SetSettings(const FogSettings& aSettings)
{
    State().settings = aSettings;
}

void FogComponent::SetPlanes(float aNearPlane, float aFarPlane)
{
    myNearPlane = aNearPlane;
    myFarPlane = aFarPlane;
}

void FogComponent::OnStart()
{
    LoadSharedProfile();
}

void FogComponent::LoadSharedProfile()
{
    const std::string name = GetLevelProfileName(State().sceneName) + ".json";
    const std::filesystem::path primary = GetProfileDirectory(PROFILE_FOLDER) / name;
    const std::filesystem::path fallback = GetFallbackProfileDirectory(PROFILE_FOLDER) / name;
    const std::filesystem::path path = BuildProfilePath(PROFILE_FOLDER, name);

    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        std::cout << "[Fog] No shared fog profile found. Checked: " << primary.string();
        if (fallback != primary)
        {
            std::cout << " and " << fallback.string();
        }
        std::cout << "\n";
        ReportDefaults();
        return;
    }
    const Json root = Json::parse(file, nullptr, false, false);
    if (root.is_discarded())
    {
        std::cout << "[Fog] Failed to parse shared fog profile file: " << path.string() << "\n";
        ReportDefaults();
        return;
    }
    if (root.is_object())
    {
        FogSettings& shared = State().settings;
        ReadNumber(root, "colorR", myColor.r, shared.red);
        ReadNumber(root, "colorG", myColor.g, shared.green);
        ReadNumber(root, "colorB", myColor.b, shared.blue);
        ReadNumber(root, "nearPlane", myNearPlane, shared.nearPlane);
        ReadNumber(root, "farPlane", myFarPlane, shared.farPlane);
    }
    std::cout << "[Fog] Loaded shared fog profile from " << path.string() << std::endl;
}
