// One set of level-camera settings, as a camera profile file gives it, and the limits every set is
// held to before the camera uses it.
#pragma once

#include "vek/Math/Vector3.h"

// The narrowest and widest field of view the camera accepts: 20 and 160.5 degrees.
constexpr float CAMERA_MIN_FOV_RADIANS = 0.34906584f;
constexpr float CAMERA_MAX_FOV_RADIANS = 2.8012533f;

struct CameraProfile
{
    bool followCameraEnabled = true;
    // Only y and z place the follow camera; the look-ahead takes the place of x.
    Qel::Vector3<float> followOffset{346.5f, 377.5f, -4500.0f};
    float followYawRadians = 0.0f;
    float followPitchRadians = 0.1f;
    float followRollRadians = 0.0f;
    float followFovRadians = 0.5f;
    float nearPlane = 1500.0f;
    float farPlane = 20000.0f;
    // Half the width and half the height of the dead zone around the focus.
    float horizontalPadding = 86.7f;
    float verticalPadding = 78.6f;
    float lookAheadDistance = 104.7f;
    // Smoothing rate per second.
    float lerpSpeed = 17.0f;
    // Horizontal player speed, in units per second, beyond which the camera turns to look the other way.
    float directionSwitchSpeedThreshold = 60.0f;
    bool cameraBoundsEnabled = false;
    Qel::Vector3<float> cameraBoundsMin{-5000.0f, -5000.0f, -5000.0f};
    Qel::Vector3<float> cameraBoundsMax{5000.0f, 5000.0f, 5000.0f};

    friend bool operator==(const CameraProfile&, const CameraProfile&) = default;
};

float ClampCameraFov(float aFovRadians);

// The profile held to what the camera can work with: the field of view and the planes in range, the
// near plane in front of the far one, a positive smoothing rate, no negative distances, and bounds
// whose minimum is not above their maximum on any axis.
CameraProfile SanitiseCameraProfile(CameraProfile aProfile);
