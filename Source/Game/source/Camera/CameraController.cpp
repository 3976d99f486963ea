#include "Camera/CameraController.h"

#include "vek/Core/Engine.h"
#include "vek/settings/EngineCreateParameters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
constexpr float TWO_PI = 2.0f * std::numbers::pi_v<float>;
constexpr float DEGREES_PER_RADIAN = 57.295776f;

Qel::Quaternion Multiply(const Qel::Quaternion& aLeft, const Qel::Quaternion& aRight)
{
    return {aLeft.w * aRight.w - aLeft.x * aRight.x - aLeft.y * aRight.y - aLeft.z * aRight.z,
            aLeft.w * aRight.x + aLeft.x * aRight.w + aLeft.y * aRight.z - aLeft.z * aRight.y,
            aLeft.w * aRight.y - aLeft.x * aRight.z + aLeft.y * aRight.w + aLeft.z * aRight.x,
            aLeft.w * aRight.z + aLeft.x * aRight.y - aLeft.y * aRight.x + aLeft.z * aRight.w};
}

// The engine's render size; before the engine runs, the size it will start with.
Qel::Vector2<float> GetRenderSize()
{
    const Qel::Engine* engine = Qel::Engine::GetInstance();
    const Qel::Vector2<std::uint32_t> size =
        engine != nullptr ? engine->GetRenderSize() : Qel::GetEngineCreateParameters().renderSize;
    if (size.x == 0 || size.y == 0)
    {
        return {16.0f, 9.0f};
    }
    return {static_cast<float>(size.x), static_cast<float>(size.y)};
}

float MoveToward(float aFrom, float aTo, float aFactor)
{
    return aFrom + (aTo - aFrom) * aFactor;
}
} // namespace

CameraController::CameraController()
{
    myLive.followOffset = {346.0f, 506.0f, -4500.0f};
}

void CameraController::ResetToDefaults()
{
    myLive.followRollRadians = 0.0f;
    myLive.followPitchRadians = 0.0959931f;
    myLive.followYawRadians = 0.0f;
    myLive.followFovRadians = 1.2217305f;
    myLive.followOffset = {346.0f, 506.0f, -4500.0f};
    myLookAhead = myLive.followOffset.x;
    myLive.lookAheadDistance = std::abs(myLive.followOffset.x);
    myLive.nearPlane = 1500.0f;
    myLive.farPlane = 20000.0f;
    myCurrentFov = 0.5323254f;

    myProfiles.modes.fill(myLive);
    myProfiles.bloodSeaProfile = myLive;
    myProfiles.bloodSeaProfileLoaded = true;
    myProfiles.activeMode = CAMERA_MODE_HORIZONTAL;

    UpdateProjection(myCurrentFov);
}

void CameraController::LoadProfiles()
{
    ReadCameraProfileFiles(myProfiles, myLevelName);
    ApplyActiveProfile();
}

void CameraController::ApplyActiveProfile()
{
    const CameraProfile& source = myIsBloodSeaMode && myProfiles.bloodSeaProfileLoaded
                                      ? myProfiles.bloodSeaProfile
                                      : myProfiles.GetActiveMode();
    myLive = SanitiseCameraProfile(source);
    if (myLive.followCameraEnabled)
    {
        myCurrentFov = myLive.followFovRadians;
    }
    UpdateProjection(myCurrentFov);
    myTransform.SetPosition(ClampToBounds(myTransform.GetPosition()));
}

void CameraController::EnterBloodSeaMode()
{
    if (myIsBloodSeaMode)
    {
        return;
    }
    myIsBloodSeaMode = true;
    ApplyActiveProfile();
}

void CameraController::ExitBloodSeaMode()
{
    if (!myIsBloodSeaMode)
    {
        return;
    }
    myIsBloodSeaMode = false;
    ApplyActiveProfile();
}

void CameraController::SetSceneCameraTransform(const Qel::Vector3<float>& aPosition,
                                               const Qel::Quaternion& aRotation)
{
    myTransform.SetPosition(aPosition);
    myTransform.SetRotation(aRotation);
}

void CameraController::SnapToPlayer(const Qel::Vector3<float>& aPlayerPosition)
{
    myLive.followCameraEnabled = true;
    myCurrentFov = myLive.followFovRadians;
    UpdateProjection(myCurrentFov);
    SetRotationFromYawPitchRoll(myLive.followYawRadians, myLive.followPitchRadians, myLive.followRollRadians);

    myFocus = {aPlayerPosition.x, aPlayerPosition.y};
    myIsFocusXSet = true;
    myIsFocusYSet = true;
    myLastPlayerX = aPlayerPosition.x;
    myIsLastPlayerXValid = true;
    myLookAhead = myLive.lookAheadDistance;
    myFacing = 1;

    myTransform.SetPosition(ClampToBounds({aPlayerPosition.x + myLive.lookAheadDistance,
                                           aPlayerPosition.y + myLive.followOffset.y,
                                           aPlayerPosition.z + myLive.followOffset.z}));
}

void CameraController::UpdateFollow(float aDeltaTime, const Qel::Vector3<float>& aPlayerPosition)
{
    if (myAutoCamera.active)
    {
        return;
    }
    const Qel::Vector3<float>& player = aPlayerPosition;
    if (!myIsFocusXSet)
    {
        myFocus.x = player.x;
        myIsFocusXSet = true;
    }
    if (!myIsFocusYSet)
    {
        myFocus.y = player.y;
        myIsFocusYSet = true;
    }
    if (!myIsLastPlayerXValid)
    {
        myLastPlayerX = player.x;
        myIsLastPlayerXValid = true;
    }

    const float speed = aDeltaTime > 0.0f ? (player.x - myLastPlayerX) / aDeltaTime : 0.0f;
    myLastPlayerX = player.x;
    if (speed > myLive.directionSwitchSpeedThreshold)
    {
        myFacing = 1;
    }
    else if (speed < -myLive.directionSwitchSpeedThreshold)
    {
        myFacing = -1;
    }

    // The focus moves only as far as it must to keep the player inside the dead zone.
    const auto followAxis = [](float aPlayer, float& ioFocus, float aPadding)
    {
        if (aPlayer > ioFocus + aPadding)
        {
            ioFocus = aPlayer - aPadding;
        }
        else if (aPlayer < ioFocus - aPadding)
        {
            ioFocus = aPlayer + aPadding;
        }
    };
    followAxis(player.x, myFocus.x, myLive.horizontalPadding);
    followAxis(player.y, myFocus.y, myLive.verticalPadding);

    const float t = std::clamp(1.0f - std::exp(-myLive.lerpSpeed * aDeltaTime), 0.0f, 1.0f);
    myLookAhead += (static_cast<float>(myFacing) * myLive.lookAheadDistance - myLookAhead) * t;

    mySwayTime += std::max(aDeltaTime, 0.0f);
    const float phase = TWO_PI * mySwayTime * mySwayFrequency;
    const Qel::Vector3<float> shake = ComputeShakeOffset(aDeltaTime);

    const Qel::Vector3<float> desired{myFocus.x + myLookAhead + std::sin(phase) * mySwayAmplitude + shake.x,
                                      myFocus.y + myLive.followOffset.y +
                                          std::cos(1.37f * phase) * mySwayAmplitude * mySwayVerticalFactor +
                                          shake.y,
                                      player.z + myLive.followOffset.z + shake.z};
    const Qel::Vector3<float>& position = myTransform.GetPosition();
    myTransform.SetPosition(
        ClampToBounds({MoveToward(position.x, desired.x, t), MoveToward(position.y, desired.y, t),
                       MoveToward(position.z, desired.z, t)}));
    SetRotationFromYawPitchRoll(myLive.followYawRadians, myLive.followPitchRadians, myLive.followRollRadians);
}

void CameraController::Update(float aDeltaTime)
{
    if (myAutoCamera.active)
    {
        const Qel::Vector3<float>& target = myAutoCamera.targetPosition;
        if (myAutoCamera.positionSpeed <= 0.0f)
        {
            myTransform.SetPosition(target);
        }
        else
        {
            const float factor = std::clamp(myAutoCamera.positionSpeed * aDeltaTime, 0.0f, 1.0f);
            const Qel::Vector3<float>& position = myTransform.GetPosition();
            myTransform.SetPosition({MoveToward(position.x, target.x, factor),
                                     MoveToward(position.y, target.y, factor),
                                     MoveToward(position.z, target.z, factor)});
        }

        if (myAutoCamera.fovSpeed <= 0.0f)
        {
            myFov = myAutoCamera.targetFov;
        }
        else
        {
            myFov = MoveToward(myFov, myAutoCamera.targetFov,
                               std::clamp(myAutoCamera.fovSpeed * aDeltaTime, 0.0f, 1.0f));
        }

        const Qel::Vector3<float> shake = ComputeShakeOffset(aDeltaTime);
        if (shake != Qel::Vector3<float>())
        {
            myTransform.SetPosition(ClampToBounds(myTransform.GetPosition() + shake));
        }
    }
    myCurrentFov = ClampCameraFov(myFov);
    UpdateProjection(myCurrentFov);
}

void CameraController::AddShake(float aDuration, float aStrength)
{
    const float duration = std::max(aDuration, 0.01f);
    myShakeDuration = std::max(duration, myShakeDuration);
    myShakeRemaining = std::max(duration, myShakeRemaining);
    myShakeStrength = std::clamp(std::max(aStrength, 0.0f) + myShakeStrength, 0.0f, SHAKE_MAX_STRENGTH);
    myShakeElapsed = 0.0f;
}

void CameraController::ResetShake()
{
    mySwayTime = 0.0f;
    myShakeDuration = 0.0f;
    myShakeRemaining = 0.0f;
    myShakeElapsed = 0.0f;
    myShakeStrength = 0.0f;
}

const Qel::Camera& CameraController::GetCamera()
{
    myCamera.SetTransform(myTransform.GetWorldMatrix());
    return myCamera;
}

Qel::Quaternion CameraController::QuaternionFromAxisAngle(const Qel::Vector3<float>& aAxis, float aAngle)
{
    const float length = aAxis.Length();
    if (length <= 0.0f)
    {
        return {};
    }
    const float sine = std::sin(aAngle * 0.5f) / length;
    return {std::cos(aAngle * 0.5f), aAxis.x * sine, aAxis.y * sine, aAxis.z * sine};
}

void CameraController::UpdateProjection(float aFov)
{
    // Held in range here too: before the first reset or profile the field of view is still zero.
    myFov = ClampCameraFov(aFov);
    myProjectionNearPlane = myLive.nearPlane;
    myProjectionFarPlane = myLive.farPlane;
    const Qel::Vector2<float> size = GetRenderSize();
    myAspect = size.x / size.y;
    myCamera.SetPerspectiveProjection(myFov * DEGREES_PER_RADIAN, size, myProjectionNearPlane,
                                      myProjectionFarPlane);
}

Qel::Vector3<float> CameraController::ClampToBounds(const Qel::Vector3<float>& aPosition) const
{
    if (!myLive.cameraBoundsEnabled)
    {
        return aPosition;
    }
    const Qel::Vector3<float>& low = myLive.cameraBoundsMin;
    const Qel::Vector3<float>& high = myLive.cameraBoundsMax;
    // The maximum is tested first: before the first profile the live bounds need not be ordered.
    const auto clampAxis = [](float aValue, float aLow, float aHigh)
    {
        return aValue > aHigh ? aHigh : (aValue < aLow ? aLow : aValue);
    };
    return {clampAxis(aPosition.x, low.x, high.x), clampAxis(aPosition.y, low.y, high.y),
            clampAxis(aPosition.z, low.z, high.z)};
}

Qel::Vector3<float> CameraController::ComputeShakeOffset(float aDeltaTime)
{
    if (myShakeRemaining <= 0.0f || myShakeStrength <= 0.0f)
    {
        return {};
    }
    const float step = std::max(aDeltaTime, 0.0f);
    myShakeRemaining = std::max(myShakeRemaining - step, 0.0f);
    myShakeElapsed += step;
    const float remaining = myShakeDuration > 0.0f ? myShakeRemaining / myShakeDuration : 0.0f;
    const float amplitude = myShakeStrength * remaining * remaining;
    if (myShakeRemaining <= 0.0f)
    {
        myShakeDuration = 0.0f;
        myShakeStrength = 0.0f;
    }
    const float angle = TWO_PI * myShakeElapsed * myShakeFrequency;
    return {std::sin(2.07f * angle) * amplitude, std::cos(1.63f * angle) * amplitude * 0.7f, 0.0f};
}

void CameraController::SetRotationFromYawPitchRoll(float aYaw, float aPitch, float aRoll)
{
    const Qel::Quaternion yaw = QuaternionFromAxisAngle({0.0f, 1.0f, 0.0f}, aYaw);
    const Qel::Quaternion pitch = QuaternionFromAxisAngle({1.0f, 0.0f, 0.0f}, aPitch);
    const Qel::Quaternion roll = QuaternionFromAxisAngle({0.0f, 0.0f, 1.0f}, aRoll);
    myTransform.SetRotation(Multiply(Multiply(roll, pitch), yaw));
}
