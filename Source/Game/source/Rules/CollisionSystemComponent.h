// The script on the world's persistent "CollisionSystem" object that referees the player's contact with
// the level each frame: it sorts the active objects by tag, kills the player below the world's death
// height, in a death box or too close to the blood sea, drives trigger boxes and pickups, lands the
// player on the level, and respawns it after its death clip with the level's resettable objects put
// back. It also holds the level's rank system (the level's own, or a default one it owns) and records
// the level's progress. Main thread.
#pragma once

#include "Objects/ScriptComponent.h"
#include "Rules/CollisionResponses.h"
#include "Rules/LevelSnapshot.h"
#include "vek/Math/Vector3.h"

#include <memory>
#include <string>
#include <vector>

class CameraController;
class DamageableComponent;
class GameWorld;
class HoverSystem;
class PlayerController;
class RankSystem;

class CollisionSystemComponent : public ScriptComponent
{
public:
    using ObjectList = std::vector<std::unique_ptr<GameObject>>;

    static constexpr float DEFAULT_DEATH_HEIGHT = -2000.0f;
    static constexpr float PICKUP_REFRESH_SECONDS = 0.25f;
    static constexpr float NO_ENEMY_DISTANCE = 99999.0f;

    CollisionSystemComponent();
    ~CollisionSystemComponent() override;

    void SetPlayer(GameObject* aPlayer) { myPlayer = aPlayer; }
    GameObject* GetPlayer() const { return myPlayer; }
    void SetObjects(ObjectList* aObjects) { myObjects = aObjects; }
    void SetHoverSystem(HoverSystem* aHover) { myHover = aHover; }
    void SetCameraController(CameraController* aCamera) { myCamera = aCamera; }
    void SetWorld(GameWorld* aWorld) { myWorld = aWorld; }

    // The frame; nothing while the player, its controller or the object list is missing.
    void OnUpdate(float aDeltaTime) override;

    // After a level is composed: the progress file loaded once, no checkpoint, the pickup counters and
    // the score back to 0, no rank system until the level's is found or a default one is made, and a
    // new snapshot of the resettable objects.
    void ResetForLevel();
    // Remembers where every enemy, block and pickup stands and whether it is active, and each enemy's
    // patrol (speed, facing) and armour.
    void TakeSnapshot();
    // Puts the remembered objects back, enemies walking their remembered patrol again; with
    // aCheckpointOnly only enemies and blocks, keeping the score.
    void RestoreSnapshot(bool aCheckpointOnly);
    bool HasSnapshot() const { return mySnapshot.IsTaken(); }

    // The level's own rank system, from its "RankingSystem" object; registered with the state stack.
    void UseLevelRankSystem(RankSystem* aRankSystem);
    // Without a rank system of the level's own: a default one, owned here, registered with the stack.
    RankSystem& UseDefaultRankSystem();
    RankSystem* GetRankSystem() const { return myRankSystem; }
    // No rank system, here or on the stack.
    void ClearRankSystem();

    void LoadCoinProgress();
    void SaveCoinProgress();
    // The current level's score and collected keys into the progress file, where they improve on it.
    void RecordLevelProgress();

    const std::vector<GameObject*>& GetPickups() const { return myPickups; }
    bool HasCheckpoint() const { return myHasCheckpoint; }
    bool IsBloodSeaWarningOn() const { return myIsBloodSeaWarningOn; }

private:
    // First entry lights the checkpoint and moves the respawn point to it.
    void HandleCheckpoint(GameObject& aTrigger);
    // Interact inside the exit door starts the level's exit.
    void HandleLevelEnd(GameObject& aTrigger, PlayerController& aController);
    struct FrameLists
    {
        std::vector<GameObject*> statics;
        std::vector<GameObject*> enemies;
        std::vector<GameObject*> triggers;
        std::vector<GameObject*> deathBoxes;
        GameObject* bloodSea = nullptr;
        GameObject* boss = nullptr;
        float deathHeight = DEFAULT_DEATH_HEIGHT;
    };

    void Register(RankSystem* aRankSystem);
    void Classify(FrameLists& outLists);
    void UpdatePickups(float aDeltaTime, PlayerController& aController);
    void UpdateFootsteps(const std::vector<GameObject*>& anEnemies);
    // Enemies against the level and the player; a dead and hidden enemy leaves the frame's list.
    void UpdateEnemies(PlayerController& aController, FrameLists& aLists);
    void RemoveBrokenBlocks(std::vector<GameObject*>& aStatics);
    void HandleDeath(PlayerController& aController, DamageableComponent& aDamageable);
    void StopBloodSeaWarning();

    GameObject* myPlayer = nullptr;
    ObjectList* myObjects = nullptr;
    HoverSystem* myHover = nullptr;
    CameraController* myCamera = nullptr;
    GameWorld* myWorld = nullptr;

    std::vector<GameObject*> myPickups;
    float myPickupRefreshTimer = 0.0f;
    bool myHasCheckpoint = false;
    Qel::Vector3<float> myRespawnPosition;
    bool myIsRespawnFacingRight = true;
    bool myIsBloodSeaWarningOn = false;

    RankSystem* myRankSystem = nullptr;
    std::unique_ptr<RankSystem> myDefaultRankSystem;

    // Kept between frames so that reading the level's boxes allocates nothing once warm.
    StaticBoxes myStaticBoxes;
    LevelSnapshot mySnapshot;
};
