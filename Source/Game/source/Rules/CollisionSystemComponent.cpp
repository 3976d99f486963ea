#include "Rules/CollisionSystemComponent.h"

#include "Boss/BossAnimator.h"
#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Components/DamageableComponent.h"
#include "Dialogue/DialogueTrigger.h"
#include "Enemies/SchnozController.h"
#include "Level/BloodSeaComponent.h"
#include "Level/BreakableTile.h"
#include "Level/CheckpointComponent.h"
#include "Level/HoverSystem.h"
#include "Level/LevelEndComponent.h"
#include "Objects/ObjectLists.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Rules/ActorTags.h"
#include "Rules/CollisionResponses.h"
#include "Rules/ContactEffects.h"
#include "Session/LevelCounters.h"
#include "Session/LevelProgress.h"
#include "Session/RankSystem.h"
#include "Sound/EnemyFootsteps.h"
#include "Sound/SoundBank.h"

#include <algorithm>
#include <iostream>

namespace
{
constexpr int SCHNOZ_II_STEPS_SOUND = 14;
constexpr int SCHNOZ_STEPS_SOUND = 16;
constexpr int BLOCK_BREAK_SOUND = 42;
constexpr int BLOOD_SEA_WARNING_SOUND = 41;
constexpr int CHECKPOINT_SOUND = 43;
constexpr int ENEMY_HIT_SOUND = 11;
constexpr int SCHNOZ_II_KILLED_SOUND = 13;
constexpr int SCHNOZ_KILLED_SOUND = 15;
constexpr int LEVEL_END_DOOR_SOUND = 34;
constexpr int LEVEL_END_CHEER_SOUND = 26;

bool IsPlayerInsideTrigger(const GameObject& aTrigger)
{
    const BoxColliderComponent* box = aTrigger.GetComponent<BoxColliderComponent>();
    return box != nullptr && box->IsPlayerInside();
}

bool IsTriggerTag(const std::string& aTag)
{
    return aTag == "AutocamTrigger" || aTag == "Trigger" || aTag == "Checkpoint" || aTag == "levelEnd" ||
           aTag == "LockCamTrigger" || aTag == "Dialogue";
}

// The nearest enemy of one kind and where it stands from the player.
struct NearestEnemy
{
    float distance = CollisionSystemComponent::NO_ENEMY_DISTANCE;
    float offsetX = CollisionSystemComponent::NO_ENEMY_DISTANCE;
};

} // namespace

CollisionSystemComponent::CollisionSystemComponent() = default;

CollisionSystemComponent::~CollisionSystemComponent()
{
    ClearRankSystem();
}

void CollisionSystemComponent::OnUpdate(float aDeltaTime)
{
    if (myPlayer == nullptr || myObjects == nullptr)
    {
        return;
    }
    LoadCoinProgress();
    PlayerController* controller = myPlayer->GetComponent<PlayerController>();
    if (controller == nullptr)
    {
        return;
    }
    DamageableComponent* damageable = myPlayer->GetComponent<DamageableComponent>();

    FrameLists lists;
    Classify(lists);
    const float playerY = myPlayer->GetTransform().GetPosition().y;

    // Strictly below: a player exactly at the death height lives.
    if (damageable != nullptr && !damageable->IsDead() && lists.deathHeight > playerY)
    {
        damageable->SetHp(0);
        std::cout << "[Death] Player fell below world threshold at y=" << playerY << "\n";
    }

    BloodSeaComponent* sea =
        lists.bloodSea != nullptr ? lists.bloodSea->GetComponent<BloodSeaComponent>() : nullptr;
    const bool isSeaArmed = sea != nullptr && lists.bloodSea->IsActive() && sea->IsActive();
    if (!isSeaArmed)
    {
        StopBloodSeaWarning();
    }
    if (myRankSystem == nullptr)
    {
        UseDefaultRankSystem();
    }

    HandleDeathBoxContact(*controller, lists.deathBoxes);
    UpdateTriggerBoxes(*controller, lists.triggers);
    const bool isInteractPressed = controller->IsInteractPressed();
    for (GameObject* trigger : lists.triggers)
    {
        const std::string& tag = trigger->GetTag();
        if (tag == "Dialogue")
        {
            FireDialogueTrigger(*trigger, *myPlayer);
        }
        else if (tag == "Checkpoint")
        {
            HandleCheckpoint(*trigger);
        }
        else if (tag == "levelEnd" && isInteractPressed)
        {
            HandleLevelEnd(*trigger, *controller);
        }
    }

    if (isSeaArmed && damageable != nullptr && !damageable->IsDead())
    {
        if (!myIsBloodSeaWarningOn)
        {
            SoundBank::GetInstance().Play(BLOOD_SEA_WARNING_SOUND);
            myIsBloodSeaWarningOn = true;
        }
        const float seaY = lists.bloodSea->GetTransform().GetPosition().y;
        const float relativeY = playerY - seaY;
        if (sea->GetKillDistanceY() >= relativeY)
        {
            damageable->SetHp(0);
            std::cout << "[Death] BloodSea too close in Y. playerY=" << playerY << " bloodSeaY=" << seaY
                      << " relativeY=" << relativeY << "\n";
        }
    }

    myRankSystem->GetScoreText();
    UpdatePickups(aDeltaTime, *controller);
    if (GetCollectedCoinCount() != LevelProgress::GetProcessProgress().GetLastRecordedScore())
    {
        RecordLevelProgress();
    }

    if (!lists.statics.empty())
    {
        if (const PlayerAnimator* animator = myPlayer->GetComponent<PlayerAnimator>())
        {
            SoundBank::GetInstance().UpdatePlayerSounds(animator->GetCurrentAnimationIndex());
        }
        HandleBreakableBlockContact(*controller, lists.statics);
        GameObject* landedOn = nullptr;
        float speed = 0.0f;
        bool wasGroundPound = false;
        if (myHover != nullptr && controller->ConsumeLandingImpact(landedOn, speed, wasGroundPound))
        {
            myHover->ApplyLandingImpulse(landedOn, speed, wasGroundPound);
            if (landedOn != nullptr)
            {
                SpawnContactEffect("platform_dust_fall", landedOn->GetTransform().GetPosition(), 1.0f);
            }
        }
        UpdateEnemies(*controller, lists);
        UpdateFootsteps(lists.enemies);
        RemoveBrokenBlocks(lists.statics);
    }

    HandleEnemyPairs(lists.enemies);
    if (lists.boss != nullptr)
    {
        if (const BossAnimator* boss = lists.boss->GetComponent<BossAnimator>())
        {
            SoundBank::GetInstance().UpdateBossSounds(boss->GetCurrentAnimationIndex());
        }
        HandleBossContact(*controller, *lists.boss);
    }

    if (damageable != nullptr && damageable->IsDead())
    {
        HandleDeath(*controller, *damageable);
    }
}

void CollisionSystemComponent::Classify(FrameLists& outLists)
{
    for (const std::unique_ptr<GameObject>& owned : *myObjects)
    {
        GameObject* object = owned.get();
        if (object == nullptr || object == myPlayer || !object->IsActive())
        {
            continue;
        }
        const std::string& tag = object->GetTag();
        if (tag == "Ground" || tag == "Platform" || tag == "BreakableBlock")
        {
            outLists.statics.push_back(object);
        }
        else if (IsEnemyTag(tag))
        {
            outLists.enemies.push_back(object);
        }
        else if (tag == "Boss")
        {
            outLists.boss = object;
        }
        else if (tag == "BloodSea")
        {
            outLists.bloodSea = object;
        }
        else if (IsTriggerTag(tag))
        {
            outLists.triggers.push_back(object);
        }
        else if (tag == "RankingSystem")
        {
            RankSystem* levels = object->GetComponent<RankSystem>();
            if (myRankSystem == nullptr && levels != nullptr)
            {
                UseLevelRankSystem(levels);
            }
        }
        else if (tag == "WorldDeathThreshold")
        {
            outLists.deathHeight = object->GetTransform().GetPosition().y;
        }
        else if (tag == "DeathBox")
        {
            outLists.deathBoxes.push_back(object);
        }
    }
}

void CollisionSystemComponent::UpdatePickups(float aDeltaTime, PlayerController& aController)
{
    myPickupRefreshTimer += aDeltaTime;
    if (myPickupRefreshTimer >= PICKUP_REFRESH_SECONDS || myPickups.empty())
    {
        FilterPickups(myPickups, *myObjects);
        myPickupRefreshTimer = 0.0f;
    }
    if (!myPickups.empty())
    {
        HandlePickupContact(aController, myPickups, myRankSystem);
    }
}

void CollisionSystemComponent::UpdateEnemies(PlayerController& aController, FrameLists& aLists)
{
    // The statics stand still while the enemies are resolved: their boxes are read once.
    ReadStaticBoxes(aLists.statics, myStaticBoxes);
    for (auto index = aLists.enemies.size(); index-- > 0;)
    {
        GameObject* enemy = aLists.enemies[index];
        HandleEnemyWorldCollision(*enemy, myStaticBoxes);
        HandleEnemyLedge(*enemy, myStaticBoxes);
        if (HandleSchnozContact(aController, *enemy))
        {
            const SchnozController* schnoz = enemy->GetComponent<SchnozController>();
            if (schnoz != nullptr && schnoz->IsDead())
            {
                std::cout << "[Combat] Enemy killed: '" << enemy->GetName() << "'\n";
                SoundBank::GetInstance().Play(enemy->GetTag() == "Schnoz_II" ? SCHNOZ_II_KILLED_SOUND
                                                                             : SCHNOZ_KILLED_SOUND);
            }
            else
            {
                SoundBank::GetInstance().Play(ENEMY_HIT_SOUND);
            }
        }
        const SchnozController* schnoz = enemy->GetComponent<SchnozController>();
        if (schnoz != nullptr && schnoz->IsDead() && !enemy->IsActive())
        {
            aLists.enemies.erase(aLists.enemies.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
}

void CollisionSystemComponent::UpdateFootsteps(const std::vector<GameObject*>& anEnemies)
{
    const Qel::Vector3<float> player = myPlayer->GetTransform().GetPosition();
    NearestEnemy schnozII;
    NearestEnemy other;
    for (auto enemy = anEnemies.rbegin(); enemy != anEnemies.rend(); ++enemy)
    {
        const Qel::Vector3<float> position = (*enemy)->GetTransform().GetPosition();
        const float distance = (position - player).Length();
        NearestEnemy& nearest = (*enemy)->GetTag() == "Schnoz_II" ? schnozII : other;
        if (distance < nearest.distance)
        {
            nearest.distance = distance;
            nearest.offsetX = position.x - player.x;
        }
    }
    SoundBank& sounds = SoundBank::GetInstance();
    sounds.SetPan(SCHNOZ_II_STEPS_SOUND, {EnemyFootstepPan(schnozII.offsetX), 1.0f});
    sounds.SetPan(SCHNOZ_STEPS_SOUND, {EnemyFootstepPan(other.offsetX), 1.0f});
    sounds.SetVolume(SCHNOZ_II_STEPS_SOUND, EnemyFootstepVolume(schnozII.distance));
    sounds.SetVolume(SCHNOZ_STEPS_SOUND, EnemyFootstepVolume(other.distance));
}

void CollisionSystemComponent::RemoveBrokenBlocks(std::vector<GameObject*>& aStatics)
{
    for (auto index = aStatics.size(); index-- > 0;)
    {
        GameObject* block = aStatics[index];
        if (block->GetTag() != "BreakableBlock")
        {
            continue;
        }
        const BreakableTileController* controller = block->GetComponent<BreakableTileController>();
        if (controller != nullptr && controller->IsBroken())
        {
            SoundBank::GetInstance().Stop(BLOCK_BREAK_SOUND);
            SoundBank::GetInstance().Play(BLOCK_BREAK_SOUND);
            block->SetActive(false);
            aStatics.erase(aStatics.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
}

void CollisionSystemComponent::HandleDeath(PlayerController& aController, DamageableComponent& aDamageable)
{
    const Qel::Vector3<float> position =
        myHasCheckpoint ? myRespawnPosition : Qel::Vector3<float>{0.0f, 0.0f, 0.0f};
    const bool isFacingRight = myHasCheckpoint ? myIsRespawnFacingRight : true;
    aController.LockInput();
    for (const std::unique_ptr<GameObject>& object : *myObjects)
    {
        if (SphereColliderComponent* sphere = object->GetComponent<SphereColliderComponent>())
        {
            sphere->TriggerExit();
        }
        if (BoxColliderComponent* box = object->GetComponent<BoxColliderComponent>())
        {
            box->TriggerExit();
        }
    }
    PlayerAnimator* animator = myPlayer->GetComponent<PlayerAnimator>();
    if (animator == nullptr || !animator->ConsumeRespawnRequest())
    {
        return;
    }
    RestoreSnapshot(myHasCheckpoint);
    aController.Respawn(position, isFacingRight);
    myIsBloodSeaWarningOn = false;
    aDamageable.SetHp(aDamageable.GetMaxHp());
    aController.UnlockInput();
}

void CollisionSystemComponent::StopBloodSeaWarning()
{
    if (myIsBloodSeaWarningOn)
    {
        SoundBank::GetInstance().Stop(BLOOD_SEA_WARNING_SOUND);
        myIsBloodSeaWarningOn = false;
    }
}

void CollisionSystemComponent::ResetForLevel()
{
    LoadCoinProgress();
    myHasCheckpoint = false;
    myRespawnPosition = {0.0f, 0.0f, 0.0f};
    myIsRespawnFacingRight = true;
    myIsBloodSeaWarningOn = false;
    myPickups.clear();
    myPickupRefreshTimer = 0.0f;
    if (myRankSystem != nullptr)
    {
        myRankSystem->ResetScore();
    }
    ResetCollectedCoinCount();
    ResetCollectedKeyCount();
    ClearRankSystem();
    LevelProgress::GetProcessProgress().ResetLastRecordedScore();
    TakeSnapshot();
}

void CollisionSystemComponent::TakeSnapshot()
{
    mySnapshot.Take(myObjects, myPlayer);
}

void CollisionSystemComponent::RestoreSnapshot(bool aCheckpointOnly)
{
    if (!mySnapshot.IsTaken() || myObjects == nullptr)
    {
        return;
    }
    mySnapshot.Restore(*myObjects, myPlayer, aCheckpointOnly);
    if (aCheckpointOnly)
    {
        return;
    }
    if (myRankSystem != nullptr)
    {
        myRankSystem->ResetScore();
    }
    ResetCollectedCoinCount();
    ResetCollectedKeyCount();
    ClearRankSystem();
    FilterPickups(myPickups, *myObjects);
    LevelProgress::GetProcessProgress().ResetLastRecordedScore();
}

void CollisionSystemComponent::HandleCheckpoint(GameObject& aTrigger)
{
    CheckpointComponent* checkpoint = aTrigger.GetComponent<CheckpointComponent>();
    if (checkpoint == nullptr || !IsPlayerInsideTrigger(aTrigger) || !checkpoint->Activate())
    {
        return;
    }
    myRespawnPosition = checkpoint->GetRespawnPosition();
    myHasCheckpoint = true;
    myIsRespawnFacingRight = checkpoint->IsRespawnFacingRight();
    SoundBank::GetInstance().Play(CHECKPOINT_SOUND);
}

void CollisionSystemComponent::HandleLevelEnd(GameObject& aTrigger, PlayerController& aController)
{
    LevelEndComponent* door = aTrigger.GetComponent<LevelEndComponent>();
    if (door == nullptr || !IsPlayerInsideTrigger(aTrigger))
    {
        return;
    }
    std::cout << "[LevelEnd] Enter attempt on '" << aTrigger.GetName() << "'\n";
    if (!door->BeginExit())
    {
        std::cout << "[LevelEnd] Enter rejected (already transitioning, missing target level, or not inside "
                     "trigger)\n";
        return;
    }
    aController.SetFacingRight(true);
    RecordLevelProgress();
    std::cout << "[LevelEnd] Enter accepted, starting level transition sequence\n";
    SoundBank& sounds = SoundBank::GetInstance();
    sounds.PlayMusicForLevel("");
    sounds.Stop(BLOOD_SEA_WARNING_SOUND);
    sounds.Play(LEVEL_END_DOOR_SOUND);
    sounds.Play(LEVEL_END_CHEER_SOUND);
    if (PlayerAnimator* animator = myPlayer->GetComponent<PlayerAnimator>())
    {
        animator->EnterVictoryState();
    }
}
