#include "Camera/CameraProfileFiles.h"

#include "Base/JsonNumber.h"
#include "Camera/ProfileFolders.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <fstream>
#include <iostream>
#include <optional>

namespace
{
using Json = nlohmann::json;

constexpr const char* PROFILE_FOLDER = "camera_profiles";
constexpr const char* MODE_KEYS[2] = {"horizontal", "vertical"};

// Null when the file cannot be opened; a discarded value when it is not json.
std::optional<Json> ParseFile(const std::filesystem::path& aPath)
{
    std::ifstream file(aPath, std::ios::binary);
    if (!file)
    {
        return std::nullopt;
    }
    return Json::parse(file, nullptr, false, false);
}

const Json* FindObject(const Json& aParent, const char* aKey)
{
    const auto found = aParent.find(aKey);
    return found != aParent.end() && found->is_object() ? &*found : nullptr;
}

void ReadBool(const Json& aObject, const char* aKey, bool& outValue)
{
    const auto found = aObject.find(aKey);
    if (found != aObject.end() && found->is_boolean())
    {
        outValue = found->get<bool>();
    }
}

void ReadFloat(const Json& aObject, const char* aKey, float& outValue)
{
    const auto found = aObject.find(aKey);
    if (found != aObject.end() && found->is_number())
    {
        outValue = JsonNumberToFloat(*found);
    }
}

// The first three numbers of the array, or nothing when it is shorter or one of them is no number.
void ReadVector(const Json& aObject, const char* aKey, Qel::Vector3<float>& outValue)
{
    const auto found = aObject.find(aKey);
    if (found == aObject.end() || !found->is_array() || found->size() < 3)
    {
        return;
    }
    const Json& array = *found;
    if (!array[0].is_number() || !array[1].is_number() || !array[2].is_number())
    {
        return;
    }
    outValue = {JsonNumberToFloat(array[0]), JsonNumberToFloat(array[1]), JsonNumberToFloat(array[2])};
}

// The keys a level file may give a mode.
void ReadBoundsAndPlanes(const Json& aObject, CameraProfile& outProfile)
{
    ReadBool(aObject, "cameraBoundsEnabled", outProfile.cameraBoundsEnabled);
    ReadVector(aObject, "cameraBoundsMin", outProfile.cameraBoundsMin);
    ReadVector(aObject, "cameraBoundsMax", outProfile.cameraBoundsMax);
    ReadFloat(aObject, "nearPlane", outProfile.nearPlane);
    ReadFloat(aObject, "farPlane", outProfile.farPlane);
}

void ReadProfile(const Json& aObject, CameraProfile& outProfile)
{
    ReadBool(aObject, "followCameraEnabled", outProfile.followCameraEnabled);
    ReadVector(aObject, "followOffset", outProfile.followOffset);
    ReadFloat(aObject, "followYawRadians", outProfile.followYawRadians);
    ReadFloat(aObject, "followPitchRadians", outProfile.followPitchRadians);
    ReadFloat(aObject, "followRollRadians", outProfile.followRollRadians);
    ReadFloat(aObject, "followFovRadians", outProfile.followFovRadians);
    ReadFloat(aObject, "horizontalPadding", outProfile.horizontalPadding);
    ReadFloat(aObject, "verticalPadding", outProfile.verticalPadding);
    ReadFloat(aObject, "lookAheadDistance", outProfile.lookAheadDistance);
    ReadFloat(aObject, "lerpSpeed", outProfile.lerpSpeed);
    ReadFloat(aObject, "directionSwitchSpeedThreshold", outProfile.directionSwitchSpeedThreshold);
    ReadBoundsAndPlanes(aObject, outProfile);
}

void ReadActiveMode(const Json& aRoot, const std::filesystem::path& aPath, CameraProfileSet& outProfiles)
{
    const auto found = aRoot.find("activeMode");
    if (found == aRoot.end())
    {
        return;
    }
    if (!found->is_string())
    {
        std::cout << "[Camera] \"activeMode\" is not a string, so the mode stays as it was, in: "
                  << aPath.string() << "\n";
        return;
    }
    std::string mode = found->get<std::string>();
    for (char& character : mode)
    {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    outProfiles.activeMode = mode == "vertical" ? CAMERA_MODE_VERTICAL : CAMERA_MODE_HORIZONTAL;
}

void ReadSharedFile(CameraProfileSet& aProfiles)
{
    const std::filesystem::path path = BuildProfilePath(PROFILE_FOLDER, "global_default.json");
    const std::optional<Json> root = ParseFile(path);
    if (!root)
    {
        return;
    }
    if (root->is_discarded())
    {
        std::cout << "[Camera] Failed to parse shared camera profile file: " << path.string() << "\n";
        return;
    }
    if (root->is_object())
    {
        ReadActiveMode(*root, path, aProfiles);
        ReadFloat(*root, "autoCamFovRadians", aProfiles.autoCamFovRadians);
        aProfiles.autoCamFovRadians = ClampCameraFov(aProfiles.autoCamFovRadians);
        if (const Json* modes = FindObject(*root, "modes"))
        {
            for (std::size_t mode = 0; mode < aProfiles.modes.size(); ++mode)
            {
                if (const Json* profile = FindObject(*modes, MODE_KEYS[mode]))
                {
                    ReadProfile(*profile, aProfiles.modes[mode]);
                }
            }
        }
    }
    // The blood sea sees the level as the active mode does, but for what it changes itself.
    aProfiles.bloodSeaProfile = aProfiles.GetActiveMode();
    aProfiles.bloodSeaProfileLoaded = true;
    if (root->is_object())
    {
        if (const Json* bloodSea = FindObject(*root, "bloodseaMode"))
        {
            ReadProfile(*bloodSea, aProfiles.bloodSeaProfile);
        }
    }
}

void ReadLevelFile(CameraProfileSet& aProfiles, const std::string& aLevelPath)
{
    const std::filesystem::path path =
        BuildProfilePath(PROFILE_FOLDER, GetLevelProfileName(aLevelPath) + ".json");
    const std::optional<Json> root = ParseFile(path);
    if (!root)
    {
        return;
    }
    if (root->is_discarded())
    {
        std::cout << "[Camera] Failed to parse level camera bounds file: " << path.string() << "\n";
        return;
    }
    const Json* modes = root->is_object() ? FindObject(*root, "modes") : nullptr;
    if (modes == nullptr)
    {
        return;
    }
    for (std::size_t mode = 0; mode < aProfiles.modes.size(); ++mode)
    {
        if (const Json* profile = FindObject(*modes, MODE_KEYS[mode]))
        {
            ReadBoundsAndPlanes(*profile, aProfiles.modes[mode]);
        }
    }
    // The blood sea keeps its own planes but stays inside the level.
    const CameraProfile& active = aProfiles.GetActiveMode();
    aProfiles.bloodSeaProfile.cameraBoundsEnabled = active.cameraBoundsEnabled;
    aProfiles.bloodSeaProfile.cameraBoundsMin = active.cameraBoundsMin;
    aProfiles.bloodSeaProfile.cameraBoundsMax = active.cameraBoundsMax;
}
} // namespace

void ReadCameraProfileFiles(CameraProfileSet& aProfiles, const std::string& aLevelPath)
{
    ReadSharedFile(aProfiles);
    ReadLevelFile(aProfiles, aLevelPath);
}
