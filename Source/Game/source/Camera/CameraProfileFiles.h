// The camera profiles of the running level and how they are read from the camera profile folder: the
// shared "global_default.json" gives every mode and the blood-sea profile, and a file named after the
// level may change the bounds and planes of the modes. Main thread only.
#pragma once

#include "Camera/CameraProfile.h"

#include <array>
#include <string>

constexpr int CAMERA_MODE_HORIZONTAL = 0;
constexpr int CAMERA_MODE_VERTICAL = 1;

struct CameraProfileSet
{
    std::array<CameraProfile, 2> modes;
    int activeMode = CAMERA_MODE_HORIZONTAL;
    CameraProfile bloodSeaProfile;
    bool bloodSeaProfileLoaded = false;
    // Read and kept in range; the auto-camera takes its field of view from its trigger instead.
    float autoCamFovRadians = 1.57f;

    const CameraProfile& GetActiveMode() const { return modes[static_cast<std::size_t>(activeMode)]; }
};

// Reads both files over the set; whatever a file does not give keeps its value. A missing file is
// skipped quietly, an unreadable one is reported with a "[Camera] " line and skipped.
void ReadCameraProfileFiles(CameraProfileSet& aProfiles, const std::string& aLevelPath);
