// The player's animator: its 36 clips, played through a state machine that follows the controller's
// movement, the hurt blink after a hit, and the respawn request raised by death. Animation players are
// built only when a clip is first played. Main thread, except the preload, which only fills the model
// factory's caches.
#pragma once

#include "Animator/StateAnimator.h"
#include "Player/PlayerState.h"

#include <future>
#include <string>
#include <vector>

class DamageableComponent;
class PlayerController;

class PlayerAnimator : public StateAnimator<PlayerAnimator, PlayerState>
{
public:
    static constexpr const char* MODEL_PATH = "models\\SK\\CH_Player.fbx";
    static constexpr float BLINK_INTERVAL = 0.1f;
    static constexpr float SLOW_BLINK_INTERVAL = 0.22f;
    // The blink slows down once this share of the invulnerability is left.
    static constexpr float SLOW_BLINK_SHARE = 0.35f;

    PlayerAnimator() = default;
    ~PlayerAnimator() override;

    // "Animations/Player/CH_Playercharacter_<name>.fbx" of a clip index.
    static std::string GetClipPath(int anIndex);
    static bool IsClipLooping(int anIndex);
    // Every clip of the player, in clip order, each looping as its clip does.
    void AddPlayerClips();

    // Loads the player's model and its clips into the model factory ahead of the first scene.
    static void PreloadAnimations();
    // Makes the factory here, then preloads on a task.
    static std::future<void> StartAnimationPreloadAsync();

    // Builds the player of one clip when it has none; false outside the clip list, without a model, or
    // when the clip has no animation.
    bool CreateAnimationPlayers(int anIndex);
    void PlayAnimation(std::int32_t anIndex) override;
    Qel::AnimationPlayer* GetCurrentAnimationPlayer() override;

    void RequestRespawn() { myIsRespawnRequested = true; }
    bool ConsumeRespawnRequest();
    void SetPlayerController(PlayerController* aController) { myPlayerController = aController; }
    PlayerController& GetPlayerController() const;
    DamageableComponent* GetDamageable() const { return myDamageable; }
    void EnterVictoryState();

    bool IsBlinking() const { return myIsBlinking; }

    // The level path the first level's rules compare with, shared by every player animator.
    static void SetCurrentLevelPath(const std::string& aPath);

    void OnStart() override;
    void OnUpdate(float aDeltaTime) override;
    void OnDestroy() override;

private:
    void ResetBlink();
    void StartBlink(float aDuration);
    void UpdateBlink(float aDeltaTime);
    void ShowMesh(bool aIsVisible);

    // Clips whose load was tried, so a missing one is reported once.
    std::vector<bool> myHasTriedClip;
    PlayerController* myPlayerController = nullptr;
    DamageableComponent* myDamageable = nullptr;
    bool myIsRespawnRequested = false;
    bool myIsBlinking = false;
    bool myIsBlinkVisible = true;
    float myBlinkDuration = 0.0f;
    float myBlinkRemaining = 0.0f;
    float myBlinkAccumulator = 0.0f;
};
