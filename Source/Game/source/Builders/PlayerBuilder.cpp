#include "Builders/PlayerBuilder.h"

#include "Animator/ClipIndices.h"
#include "Builders/BasicBuilders.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"

namespace
{
// The player's movement tuning as the scene gives it, each value the scene's when present.
struct SceneTuning
{
    int hp = 2;
    int damagePerHit = 1;
    bool isGodMode = false;
    float maxSpeed = 1000.0f;
    float acceleration = 0.0f;
    float sprintMultiplier = 1.3f;
    float groundPoundDelay = 0.3f;
    float terminalVelocity = 1500.0f;
    float gravity = 0.0f;
    float jumpForce = 1650.0f;
    float jumpGracePeriod = 0.1f;
    float wallJumpHorizontalMult = 1.4f;
    float wallJumpVerticalMult = 0.15f;
    // Its own constant: it does not follow the grace period.
    float forgivingTimingDelay = 0.1f;
};

SceneTuning ReadTuning(const SceneObjectData& aData)
{
    SceneTuning tuning;
    aData.TryGetInt("HP", tuning.hp);
    aData.TryGetInt("Damage Per Hit", tuning.damagePerHit);
    aData.TryGetBool("God Mode", tuning.isGodMode);
    aData.TryGetFloat("MaxSpeed", tuning.maxSpeed);
    tuning.acceleration = 3.0f * tuning.maxSpeed;
    aData.TryGetFloat("Acceleration", tuning.acceleration);
    aData.TryGetFloat("SprintMultiplier", tuning.sprintMultiplier);
    aData.TryGetFloat("GroundPoundDelay", tuning.groundPoundDelay);
    aData.TryGetFloat("TerminalVelocity", tuning.terminalVelocity);
    tuning.gravity = 2.5f * tuning.terminalVelocity;
    aData.TryGetFloat("Gravity", tuning.gravity);
    aData.TryGetFloat("JumpForce", tuning.jumpForce);
    aData.TryGetFloat("JumpGracePeriod", tuning.jumpGracePeriod);
    aData.TryGetFloat("myWallJumpHorizontalForceMult", tuning.wallJumpHorizontalMult);
    // The scene's key ends in a blank.
    aData.TryGetFloat("myWallJumpVerticalForceMult ", tuning.wallJumpVerticalMult);
    aData.TryGetFloat("ForgivingTimingDelay", tuning.forgivingTimingDelay);
    return tuning;
}
} // namespace

std::unique_ptr<GameObject> BuildPlayerObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    if (!aData.model.empty())
    {
        object->AddComponent<AnimatedMeshComponent>(aData.model);
    }
    PlayerAnimator* animator = object->AddComponent<PlayerAnimator>();
    animator->AddPlayerClips();
    const SceneTuning tuning = ReadTuning(aData);

    PlayerController* controller = object->AddComponent<PlayerController>(nullptr);
    DamageableComponent* damageable = object->AddComponent<DamageableComponent>(tuning.hp);
    object->AddComponent<BoxColliderComponent>(Qel::Vector3<float>(50.0f, 150.0f, 50.0f),
                                               Qel::Vector3<float>(0.0f, 75.0f, 0.0f), false, false);
    // The intro's lines; it stays up until the intro hides it.
    object->AddComponent<SpeechBubbleComponent>(false, std::uint8_t{1});

    damageable->SetDamagePerHit(tuning.damagePerHit);
    damageable->SetInvulnerabilityTime(PLAYER_INVULNERABILITY_TIME);
    damageable->SetInvulnerable(tuning.isGodMode);

    controller->SetMaxSpeed(tuning.maxSpeed);
    controller->SetAcceleration(tuning.acceleration);
    controller->SetSprintMultiplier(tuning.sprintMultiplier);
    controller->SetGroundPoundDelay(tuning.groundPoundDelay);
    controller->SetTerminalVelocity(tuning.terminalVelocity);
    controller->SetGravity(tuning.gravity);
    controller->SetJumpForce(tuning.jumpForce);
    controller->SetJumpGracePeriod(tuning.jumpGracePeriod);
    controller->SetWallJumpHorizontalForceMult(tuning.wallJumpHorizontalMult);
    controller->SetWallJumpVerticalForceMult(tuning.wallJumpVerticalMult);
    controller->SetForgivingTimingDelay(tuning.forgivingTimingDelay);
    return object;
}
