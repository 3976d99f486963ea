// The settings and the two flags of a level's rising blood sea. It does nothing by itself: the eye
// trigger raises it and the collision system kills a player who comes too close to it.
#pragma once

#include "Objects/Component.h"
#include "vek/Math/Vector3.h"

class BloodSeaComponent : public Component
{
public:
    BloodSeaComponent(float aTargetY, float aRiseSpeed, float aKillDistanceY,
                      const Qel::Vector3<float>& aSpawnPosition, bool aUsesRelativeSpawnPosition,
                      float aReactivateMaxYDelta, float aReactivationSnapDistanceY,
                      float anActivationShakeIntensity, float anActivationShakeDuration)
        : myTargetY(aTargetY), myRiseSpeed(aRiseSpeed), myKillDistanceY(aKillDistanceY),
          mySpawnPosition(aSpawnPosition), myUsesRelativeSpawnPosition(aUsesRelativeSpawnPosition),
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
    bool UsesRelativeSpawnPosition() const { return myUsesRelativeSpawnPosition; }
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
    bool myUsesRelativeSpawnPosition;
    float myReactivateMaxYDelta;
    float myReactivationSnapDistanceY;
    float myActivationShakeIntensity;
    float myActivationShakeDuration;
    bool myIsActive = false;
    bool myIsRising = false;
};
