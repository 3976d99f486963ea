#include "Camera/CameraProfile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

float ClampCameraFov(float aFovRadians)
{
    return std::clamp(aFovRadians, CAMERA_MIN_FOV_RADIANS, CAMERA_MAX_FOV_RADIANS);
}

CameraProfile SanitiseCameraProfile(CameraProfile aProfile)
{
    aProfile.followFovRadians = ClampCameraFov(aProfile.followFovRadians);
    aProfile.farPlane = std::clamp(aProfile.farPlane, 1.0f, 200000.0f);
    aProfile.nearPlane = std::clamp(aProfile.nearPlane, 0.001f, std::max(aProfile.farPlane - 0.001f, 0.002f));
    aProfile.farPlane = std::max(aProfile.nearPlane + 0.001f, aProfile.farPlane);
    // Far out a thousandth is below a float's step, and equal planes make no projection.
    if (aProfile.farPlane <= aProfile.nearPlane)
    {
        aProfile.farPlane = std::nextafter(aProfile.nearPlane, std::numeric_limits<float>::infinity());
    }
    aProfile.lerpSpeed = std::max(aProfile.lerpSpeed, 0.01f);
    aProfile.horizontalPadding = std::max(aProfile.horizontalPadding, 0.0f);
    aProfile.verticalPadding = std::max(aProfile.verticalPadding, 0.0f);
    aProfile.lookAheadDistance = std::max(aProfile.lookAheadDistance, 0.0f);
    aProfile.directionSwitchSpeedThreshold = std::max(aProfile.directionSwitchSpeedThreshold, 0.0f);

    Qel::Vector3<float>& low = aProfile.cameraBoundsMin;
    Qel::Vector3<float>& high = aProfile.cameraBoundsMax;
    if (low.x > high.x)
    {
        std::swap(low.x, high.x);
    }
    if (low.y > high.y)
    {
        std::swap(low.y, high.y);
    }
    if (low.z > high.z)
    {
        std::swap(low.z, high.z);
    }
    return aProfile;
}
