// The level camera. It follows the player with a dead zone, a look-ahead in the direction of travel,
// smoothing, an idle sway and shake, inside the level's bounds; a lock-camera trigger can take it over
// as the auto-camera; and it keeps the scene camera's placement when the level's profile turns
// following off. Its settings come from the camera profile files. Main thread only.
#pragma once

#include "Camera/CameraProfile.h"
#include "Camera/CameraProfileFiles.h"
#include "vek/Math/Quaternion.h"
#include "vek/Math/Transform.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"
#include "vek/graphics/Camera.h"

#include <string>

class CameraController
{
public:
    // What a lock-camera trigger steers while the player stands inside it; written directly.
    struct AutoCamera
    {
        bool active = false;
        Qel::Vector3<float> targetPosition;
        float targetFov = 1.57f;
        // Per second; zero or less reaches the target at once.
        float fovSpeed = 8.0f;
        float positionSpeed = 8.0f;
    };

    CameraController();

    // The built-in level camera, before any profile file is read.
    void ResetToDefaults();
    // The level whose camera profile file LoadProfiles reads.
    void SetLevelName(const std::string& aLevelPath) { myLevelName = aLevelPath; }
    const std::string& GetLevelName() const { return myLevelName; }
    // Reads the shared and the level's profile files over the profiles, then applies the active one.
    void LoadProfiles();
    // Copies the active profile (or the blood-sea one in blood-sea mode) into the live settings, holds
    // them to their limits and rebuilds the projection.
    void ApplyActiveProfile();

    void EnterBloodSeaMode();
    void ExitBloodSeaMode();
    bool IsInBloodSeaMode() const { return myIsBloodSeaMode; }

    void SetSceneCameraTransform(const Qel::Vector3<float>& aPosition, const Qel::Quaternion& aRotation);
    bool IsFollowEnabled() const { return myLive.followCameraEnabled; }
    // Places the camera on the player at once, with following turned on.
    void SnapToPlayer(const Qel::Vector3<float>& aPlayerPosition);
    // The auto-camera step and the projection; first in the frame.
    void Update(float aDeltaTime);
    // The follow step; after everything else has moved. Idle while the auto-camera is active.
    void UpdateFollow(float aDeltaTime, const Qel::Vector3<float>& aPlayerPosition);

    // Strengths add up to at most SHAKE_MAX_STRENGTH; a shorter shake never cuts a longer one short.
    void AddShake(float aDuration, float aStrength);
    void ResetShake();

    AutoCamera& GetAutoCamera() { return myAutoCamera; }
    const AutoCamera& GetAutoCamera() const { return myAutoCamera; }

    const Qel::Vector3<float>& GetPosition() const { return myTransform.GetPosition(); }
    const Qel::Quaternion& GetRotation() const { return myTransform.GetRotation(); }
    const Qel::Vector3<float>& GetScale() const { return myTransform.GetScale(); }
    // The engine camera with this controller's placement and projection.
    const Qel::Camera& GetCamera();

    float GetFov() const { return myFov; }
    float GetCurrentFov() const { return myCurrentFov; }
    float GetAspect() const { return myAspect; }
    float GetProjectionNearPlane() const { return myProjectionNearPlane; }
    float GetProjectionFarPlane() const { return myProjectionFarPlane; }

    // The settings in force, after their limits were applied.
    const CameraProfile& GetLiveSettings() const { return myLive; }
    const CameraProfileSet& GetProfiles() const { return myProfiles; }
    Qel::Vector2<float> GetFocus() const { return myFocus; }
    float GetLookAhead() const { return myLookAhead; }
    int GetFacing() const { return myFacing; }
    float GetShakeStrength() const { return myShakeStrength; }
    float GetShakeRemaining() const { return myShakeRemaining; }

    static Qel::Quaternion QuaternionFromAxisAngle(const Qel::Vector3<float>& aAxis, float aAngle);

    static constexpr float SHAKE_MAX_STRENGTH = 120.0f;

private:
    void UpdateProjection(float aFov);
    Qel::Vector3<float> ClampToBounds(const Qel::Vector3<float>& aPosition) const;
    Qel::Vector3<float> ComputeShakeOffset(float aDeltaTime);
    void SetRotationFromYawPitchRoll(float aYaw, float aPitch, float aRoll);

    Qel::Transform myTransform;

    // Perspective is the only projection the level camera uses.
    float myFov = 1.57f;
    float myAspect = 16.0f / 9.0f;
    float myProjectionNearPlane = 0.1f;
    float myProjectionFarPlane = 1000.0f;
    Qel::Camera myCamera;

    AutoCamera myAutoCamera;

    CameraProfile myLive;
    float myCurrentFov = 0.0f;

    Qel::Vector2<float> myFocus;
    bool myIsFocusXSet = false;
    bool myIsFocusYSet = false;
    float myLastPlayerX = 0.0f;
    bool myIsLastPlayerXValid = false;
    float myLookAhead = 346.5f;
    int myFacing = 1;

    float mySwayTime = 0.0f;
    float mySwayFrequency = 0.28f;
    float mySwayAmplitude = 8.0f;
    float mySwayVerticalFactor = 0.45f;

    float myShakeDuration = 0.0f;
    float myShakeRemaining = 0.0f;
    float myShakeElapsed = 0.0f;
    float myShakeStrength = 0.0f;
    float myShakeFrequency = 9.0f;

    CameraProfileSet myProfiles;
    bool myIsBloodSeaMode = false;

    std::string myLevelName;
};
