// The level camera as the world drives it. Until the camera's own behaviour arrives (profiles, follow,
// shake, the auto-camera), this keeps the level name and the scene camera's placement it is given and
// moves nothing. Main thread.
#pragma once

#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"

#include <string>

class CameraController
{
public:
    void ResetToDefaults() {}
    void SetLevelName(const std::string& aLevelName) { myLevelName = aLevelName; }
    const std::string& GetLevelName() const { return myLevelName; }
    void Update(float aDeltaTime) { static_cast<void>(aDeltaTime); }
    bool IsFollowEnabled() const { return false; }
    void UpdateFollow(float aDeltaTime, const Qel::Vector3<float>& aPlayerPosition)
    {
        static_cast<void>(aDeltaTime);
        static_cast<void>(aPlayerPosition);
    }
    void ResetShake() {}
    void ExitBloodSeaMode() {}
    void SetSceneCameraTransform(const Qel::Vector3<float>& aPosition, const Qel::Quaternion& aRotation)
    {
        mySceneCameraPosition = aPosition;
        mySceneCameraRotation = aRotation;
    }
    void LoadProfiles() {}

private:
    std::string myLevelName;
    Qel::Vector3<float> mySceneCameraPosition{0.0f, 0.0f, 0.0f};
    Qel::Quaternion mySceneCameraRotation;
};
