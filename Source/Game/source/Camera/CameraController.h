// The level camera as the world drives it. Until the camera's own behaviour arrives (profiles, follow,
// shake, the auto-camera), this keeps the level name and the scene camera's placement it is given and
// moves nothing. Main thread.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Quaternion.h"
#include "vek/Math/Vector3.h"
#include "vek/graphics/Camera.h"

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
    // The engine camera at the scene camera's placement, 30.5 degrees across, seeing 1500 to 20000.
    const Qel::Camera& GetCamera()
    {
        myCamera.SetPerspectiveProjection(30.5f, {1920.0f, 1080.0f}, 1500.0f, 20000.0f);
        myCamera.SetTransform(Qel::Matrix4x4::CreateRotation(mySceneCameraRotation) *
                              Qel::Matrix4x4::CreateTranslation(mySceneCameraPosition));
        return myCamera;
    }

private:
    std::string myLevelName;
    Qel::Vector3<float> mySceneCameraPosition{0.0f, 350.0f, -4500.0f};
    Qel::Quaternion mySceneCameraRotation;
    Qel::Camera myCamera;
};
