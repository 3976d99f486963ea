// A player controller driven frame by frame with a fixed, exactly representable time step: keys go
// through the input handler as window messages, contacts are set as the collision system would, and
// the pad is a backend that never answers unless a test brings its own.
#pragma once

#include "Animator/ClipIndices.h"
#include "Base/InputHandler.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Objects/GameObject.h"
#include "Platform/Pad/PadBackend.h"
#include "Platform/Window/WindowMessages.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Session/LevelRegistry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace PlayerTest
{
constexpr float DT = 1.0f / 64.0f;
constexpr std::uint32_t KEY_SHIFT = 16;
constexpr std::uint32_t KEY_SPACE = 32;
constexpr std::uint32_t KEY_A = 65;
constexpr std::uint32_t KEY_D = 68;
constexpr std::uint32_t KEY_S = 83;

class NoPad final : public Platform::PadBackend
{
public:
    bool GetState(std::uint32_t aIndex, Platform::PadState& outState) override
    {
        static_cast<void>(aIndex);
        outState = Platform::PadState();
        return false;
    }
};

// The builder's defaults, set through the same setters.
inline void ApplyDefaultTuning(PlayerController& aController)
{
    aController.SetMaxSpeed(1000.0f);
    aController.SetAcceleration(3000.0f);
    aController.SetSprintMultiplier(1.3f);
    aController.SetGroundPoundDelay(0.3f);
    aController.SetTerminalVelocity(1500.0f);
    aController.SetGravity(3750.0f);
    aController.SetJumpForce(1650.0f);
    aController.SetJumpGracePeriod(0.1f);
    aController.SetWallJumpHorizontalForceMult(1.4f);
    aController.SetWallJumpVerticalForceMult(0.15f);
    aController.SetForgivingTimingDelay(0.1f);
}

// Sets the level the controller starts in, and puts the previous one back afterwards.
class ScopedLevel
{
public:
    explicit ScopedLevel(const std::string& aPath)
        : myPrevious(LevelRegistry::GetInstance().GetCurrentScene())
    {
        LevelRegistry::GetInstance().SetCurrentScene(aPath);
    }
    ~ScopedLevel() { LevelRegistry::GetInstance().SetCurrentScene(myPrevious); }
    ScopedLevel(const ScopedLevel&) = delete;
    ScopedLevel& operator=(const ScopedLevel&) = delete;

private:
    std::string myPrevious;
};

// Which components the rig's object carries besides the controller.
enum class Body
{
    ControllerOnly,
    // The player's mesh and animator with its 36 clips before the controller, hit points after it.
    Full,
};

class ControllerRig
{
public:
    // aMissingClip names a clip whose file is not there.
    explicit ControllerRig(Platform::PadBackend* aPadBackend = nullptr, Body aBody = Body::ControllerOnly,
                           int aMaxHp = 2, int aMissingClip = -1)
        : myObject(std::make_unique<GameObject>("Player"))
    {
        if (aBody == Body::Full)
        {
            myMesh = myObject->AddComponent<AnimatedMeshComponent>(PlayerAnimator::MODEL_PATH);
            myAnimator = myObject->AddComponent<PlayerAnimator>();
            for (int clip = 0; clip < PlayerClip::COUNT; ++clip)
            {
                const std::string path = clip == aMissingClip ? std::string("Animations/Player/missing.fbx")
                                                              : PlayerAnimator::GetClipPath(clip);
                myAnimator->AddAnimation(path, PlayerAnimator::IsClipLooping(clip));
            }
        }
        myController = myObject->AddComponent<PlayerController>(
            &myInput, aPadBackend != nullptr ? *aPadBackend : myNoPad);
        ApplyDefaultTuning(*myController);
        if (aBody == Body::Full)
        {
            myDamageable = myObject->AddComponent<DamageableComponent>(aMaxHp);
            myDamageable->SetInvulnerabilityTime(2.5f);
        }
    }

    // Starts the object and lets the start-up delay pass, so the next Step moves.
    void Start(bool aSkipStartUp = true)
    {
        myObject->Start(nullptr);
        if (aSkipStartUp)
        {
            for (float waited = 0.0f; waited < PlayerController::START_UP_DELAY; waited += DT)
            {
                Step();
            }
        }
    }

    void Press(std::uint32_t aKey) { myInput.UpdateEvents(WM_KEYDOWN, aKey, 0); }
    void Release(std::uint32_t aKey) { myInput.UpdateEvents(WM_KEYUP, aKey, 0); }

    // One frame: the keys as pressed and released so far, then the object's update.
    void Step()
    {
        myInput.Update();
        myObject->Update(DT);
    }
    void Steps(int aCount)
    {
        for (int i = 0; i < aCount; ++i)
        {
            Step();
        }
    }
    // A press and the release of the next frame.
    void Tap(std::uint32_t aKey)
    {
        Press(aKey);
        Step();
        Release(aKey);
    }

    PlayerController& Controller() { return *myController; }
    PlayerAnimator& Animator() { return *myAnimator; }
    AnimatedMeshComponent& Mesh() { return *myMesh; }
    DamageableComponent& Damageable() { return *myDamageable; }
    int Clip() const { return myAnimator->GetCurrentAnimationIndex(); }
    std::string StateName() const
    {
        const PlayerState* state = myAnimator->GetCurrentState();
        return state != nullptr ? state->GetName() : std::string();
    }
    GameObject& Object() { return *myObject; }
    float X() const { return myObject->GetTransform().GetPosition().x; }
    float Y() const { return myObject->GetTransform().GetPosition().y; }
    void PlaceAt(float aX, float aY) { myObject->GetTransform().SetPosition({aX, aY, 0.0f}); }

private:
    InputHandler myInput;
    NoPad myNoPad;
    std::unique_ptr<GameObject> myObject;
    PlayerController* myController = nullptr;
    AnimatedMeshComponent* myMesh = nullptr;
    PlayerAnimator* myAnimator = nullptr;
    DamageableComponent* myDamageable = nullptr;
};
} // namespace PlayerTest
