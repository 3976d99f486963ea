// A scripted moment started by its lock-camera trigger: it locks the player's input, walks the player
// along up to two timed segments and runs the start action its name picks ("Intro", "Eye", "Boss",
// "Outro"); at its end it hands control back.
#pragma once

#include "Objects/ScriptComponent.h"
#include "vek/Math/Vector3.h"

#include <functional>
#include <string>

class GameObject;
class LockCameraTriggerComponent;
class PlayerController;

class CutsceneComponent : public ScriptComponent
{
public:
    struct Segment
    {
        float duration = 0.0f;
        float startDelay = 0.0f;
        bool shouldWalk = false;
        bool isLocal = false;
        Qel::Vector3<float> endPosition{0.0f, 0.0f, 0.0f};
        bool isStarted = false;
    };

    // Reach the boss and the eye of the level; empty when the level has none.
    struct LevelHooks
    {
        std::function<void()> startBossEntrance;
        std::function<void()> activateEye;
        std::function<void()> rearmEye;
    };

    // Starts it once; a finished "Eye" only re-arms the eye.
    void Play();
    void OnUpdate(float aDeltaTime) override;
    bool HasFinished() const { return myElapsed > myDuration; }
    bool IsPlaying() const { return myIsPlaying; }
    bool IsDone() const { return myIsFinished; }
    float GetElapsed() const { return myElapsed; }

    void SetLockCameraTrigger(LockCameraTriggerComponent* aTrigger) { myLockTrigger = aTrigger; }
    void SetPlayerController(PlayerController* aController) { myPlayer = aController; }
    void SetLevelHooks(LevelHooks someHooks) { myHooks = std::move(someHooks); }
    void SetBirgil(GameObject* anObject) { myBirgil = anObject; }

    void SetCutsceneDuration(float aDuration) { myDuration = aDuration; }
    void SetPlayerWalkSpeed(float aSpeed) { myWalkSpeed = aSpeed; }
    void SetUnlockOnEnd(bool aShouldUnlock) { myShouldUnlockOnEnd = aShouldUnlock; }
    void SetCutsceneName(const std::string& aName) { myName = aName; }
    void SetFirstSegmentDuration(float aValue) { mySegments[0].duration = aValue; }
    void SetFirstSegmentStartDelay(float aValue) { mySegments[0].startDelay = aValue; }
    void SetFirstSegmentShouldWalk(bool aValue) { mySegments[0].shouldWalk = aValue; }
    void SetFirstSegmentLocalCoords(bool aValue) { mySegments[0].isLocal = aValue; }
    void SetFirstSegmentEndPosition(const Qel::Vector3<float>& aValue) { mySegments[0].endPosition = aValue; }
    void SetSecondSegmentDuration(float aValue) { mySegments[1].duration = aValue; }
    void SetSecondSegmentStartDelay(float aValue) { mySegments[1].startDelay = aValue; }
    void SetSecondSegmentShouldWalk(bool aValue) { mySegments[1].shouldWalk = aValue; }
    void SetSecondSegmentLocalCoords(bool aValue) { mySegments[1].isLocal = aValue; }
    void SetSecondSegmentEndPosition(const Qel::Vector3<float>& aValue)
    {
        mySegments[1].endPosition = aValue;
    }

    LockCameraTriggerComponent* GetLockCameraTrigger() const { return myLockTrigger; }
    float GetCutsceneDuration() const { return myDuration; }
    float GetPlayerWalkSpeed() const { return myWalkSpeed; }
    bool ShouldUnlockOnEnd() const { return myShouldUnlockOnEnd; }
    const std::string& GetCutsceneName() const { return myName; }
    const Segment& GetSegment(int anIndex) const { return mySegments[anIndex]; }

private:
    void StartAction();
    void UpdateSegment(int anIndex);
    void Finish();

    LockCameraTriggerComponent* myLockTrigger = nullptr;
    PlayerController* myPlayer = nullptr;
    LevelHooks myHooks;
    GameObject* myBirgil = nullptr;
    bool myIsPlaying = false;
    bool myIsFinished = false;
    float myDuration = 0.0f;
    float myElapsed = 0.0f;
    float myWalkSpeed = 0.0f;
    bool myShouldUnlockOnEnd = true;
    Segment mySegments[2];
    std::string myName = "Intro";
};
