// The settings of the rising blood sea that the eye sets off, and its active and rising flags. It does
// nothing by itself: the eye trigger moves the sea and the collision rules kill a player who comes
// within the kill distance above it (or goes below it).
#pragma once

#include "Objects/Component.h"
#include "vek/Math/Vector3.h"

class BloodSeaComponent : public Component
{
public:
    BloodSeaComponent(float aTargetY, float aRiseSpeed, float aKillDistanceY,
                      const Qel::Vector3<float>& aSpawnPosition, bool aUseRelativeSpawnPosition,
                      float aReactivateMaxYDelta, float aReactivationSnapDistanceY,
                      float anActivationShakeIntensity, float anActivationShakeDuration)
        : myTargetY(aTargetY), myRiseSpeed(aRiseSpeed), myKillDistanceY(aKillDistanceY),
          mySpawnPosition(aSpawnPosition), myUseRelativeSpawnPosition(aUseRelativeSpawnPosition),
          myReactivateMaxYDelta(aReactivateMaxYDelta),
          myReactivationSnapDistanceY(aReactivationSnapDistanceY),
          myActivationShakeIntensity(anActivationShakeIntensity),
          myActivationShakeDuration(anActivationShakeDuration)
    {
    }

    float GetTargetY() const { return myTargetY; }
    float GetRiseSpeed() const { return myRiseSpeed; }
    float GetKillDistanceY() const { return myKillDistanceY; }
    const Qel::Vector3<float>& GetSpawnPosition() const { return mySpawnPosition; }
    bool UsesRelativeSpawnPosition() const { return myUseRelativeSpawnPosition; }
    float GetReactivateMaxYDelta() const { return myReactivateMaxYDelta; }
    float GetReactivationSnapDistanceY() const { return myReactivationSnapDistanceY; }
    float GetActivationShakeIntensity() const { return myActivationShakeIntensity; }
    float GetActivationShakeDuration() const { return myActivationShakeDuration; }
    bool IsActive() const { return myIsActive; }
    void SetActive(bool aIsActive) { myIsActive = aIsActive; }
    bool IsRising() const { return myIsRising; }
    void SetRising(bool aIsRising) { myIsRising = aIsRising; }

private:
    float myTargetY;
    float myRiseSpeed;
    float myKillDistanceY;
    Qel::Vector3<float> mySpawnPosition;
    bool myUseRelativeSpawnPosition;
    float myReactivateMaxYDelta;
    float myReactivationSnapDistanceY;
    float myActivationShakeIntensity;
    float myActivationShakeDuration;
    bool myIsActive = false;
    bool myIsRising = false;
};
