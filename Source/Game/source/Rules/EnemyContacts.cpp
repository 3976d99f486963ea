// Walking enemies against the level and each other, and the player against enemies and the boss.
#include "Rules/CollisionResponses.h"

#include "Boss/BossAnimator.h"
#include "Components/DamageableComponent.h"
#include "Enemies/SchnozController.h"
#include "Objects/GameObject.h"
#include "Player/PlayerController.h"
#include "Rules/ContactEffects.h"
#include "Session/LevelCounters.h"
#include "Sound/SoundBank.h"

#include <cstddef>
#include <iostream>

namespace
{
constexpr float SMALL_STOMP_BAND = 40.0f;
constexpr float ARMOURED_STOMP_BAND = 100.0f;
constexpr float BOSS_STOMP_BAND = 50.0f;
constexpr int BOSS_DEATH_CLIP = 3;
constexpr int ARMOUR_BROKEN_SOUND = 17;

const Qel::Vector3<float> RIGHT{1.0f, 0.0f, 0.0f};
const Qel::Vector3<float> UP{0.0f, 1.0f, 0.0f};

// The player is hurt by a side contact with aSource. Always a contact.
bool HurtPlayer(PlayerController& aPlayer, GameObject& aSource)
{
    GameObject* owner = aPlayer.GetOwner();
    DamageableComponent* health = owner->GetComponent<DamageableComponent>();
    if (health == nullptr)
    {
        return true;
    }
    const int before = health->GetHp();
    health->TakeDamage(health->GetDamagePerHit(), &aSource);
    if (health->GetHp() != before)
    {
        SpawnContactEffect("player_hit", owner->GetTransform().GetPosition(),
                           aPlayer.IsFacingRight() ? 1.0f : -1.0f);
        std::cout << "[Combat] Player hit by enemy '" << aSource.GetName() << "'. HP: " << health->GetHp()
                  << "/" << health->GetMaxHp() << "\n";
        SetPlayerHealth(health->IsDead() ? 0 : health->GetHp());
    }
    return true;
}
} // namespace

bool HandleEnemyWorldCollision(GameObject& anEnemy, const std::vector<GameObject*>& aStatics)
{
    StaticBoxes statics;
    ReadStaticBoxes(aStatics, statics);
    return HandleEnemyWorldCollision(anEnemy, statics);
}

bool HandleEnemyWorldCollision(GameObject& anEnemy, const StaticBoxes& aStatics)
{
    SchnozController* controller = anEnemy.GetComponent<SchnozController>();
    if (controller == nullptr)
    {
        return false;
    }
    const CollisionBox enemy = GetCollisionBounds(anEnemy);
    const CollisionBox searchBox = GrowBox(enemy, SEARCH_MARGIN);
    const Qel::Vector3<float> centre = (enemy.min + enemy.max) * 0.5f;
    bool isHit = false;
    Qel::Vector3<float> push{0.0f, 0.0f, 0.0f};
    for (std::size_t index = 0; index < aStatics.objects.size(); ++index)
    {
        const CollisionBox& box = aStatics.boxes[index];
        if (aStatics.objects[index] == &anEnemy || !BoxesOverlap(box, searchBox))
        {
            continue;
        }
        if (ProbeHits(box, {enemy.max.x, centre.y, centre.z}, RIGHT))
        {
            isHit = true;
            controller->SetContact(SchnozController::RIGHT_WALL);
            push.x += box.min.x - enemy.max.x - PROBE_DISTANCE;
        }
        if (ProbeHits(box, {enemy.min.x, centre.y, centre.z}, -RIGHT))
        {
            isHit = true;
            controller->SetContact(SchnozController::LEFT_WALL);
            push.x += box.max.x - enemy.min.x;
        }
        if (ProbeHits(box, {centre.x, enemy.min.y, centre.z}, -UP))
        {
            isHit = true;
            controller->SetContact(SchnozController::GROUND);
            push.y += box.max.y - enemy.min.y;
        }
    }
    if (push.x != 0.0f || push.y != 0.0f || push.z != 0.0f)
    {
        controller->Translate(push);
    }
    // Any probe that meets the level turns the enemy: its box floats above its feet, beyond the reach
    // of the down probe over the ground it walks on.
    if (isHit)
    {
        controller->TurnAround();
        return true;
    }
    controller->ClearGrounded();
    return false;
}

bool HandleEnemyLedge(GameObject& anEnemy, const std::vector<GameObject*>& aStatics)
{
    StaticBoxes statics;
    ReadStaticBoxes(aStatics, statics);
    return HandleEnemyLedge(anEnemy, statics);
}

bool HandleEnemyLedge(GameObject& anEnemy, const StaticBoxes& aStatics)
{
    SchnozController* controller = anEnemy.GetComponent<SchnozController>();
    if (controller == nullptr)
    {
        return false;
    }
    Qel::Vector3<float> origin;
    Qel::Vector3<float> direction;
    controller->GetGroundProbe(origin, direction);
    // No probe before its first step: nothing to judge a ledge by.
    if (direction.x == 0.0f && direction.y == 0.0f && direction.z == 0.0f)
    {
        return true;
    }
    for (std::size_t index = 0; index < aStatics.objects.size(); ++index)
    {
        if (aStatics.objects[index] != &anEnemy && ProbeHits(aStatics.boxes[index], origin, direction))
        {
            return true;
        }
    }
    controller->TurnAround();
    return false;
}

bool HandleEnemyPairs(const std::vector<GameObject*>& anEnemies)
{
    bool isAnyOverlapping = false;
    for (std::size_t first = 0; first < anEnemies.size(); ++first)
    {
        for (std::size_t second = first + 1; second < anEnemies.size(); ++second)
        {
            GameObject* a = anEnemies[first];
            GameObject* b = anEnemies[second];
            if (a == b || !BoxesOverlap(GetCollisionBounds(*a), GetCollisionBounds(*b)))
            {
                continue;
            }
            isAnyOverlapping = true;
            for (GameObject* enemy : {a, b})
            {
                if (SchnozController* controller = enemy->GetComponent<SchnozController>())
                {
                    controller->TurnAround();
                }
            }
        }
    }
    return isAnyOverlapping;
}

bool HandleSchnozContact(PlayerController& aPlayer, GameObject& anEnemy)
{
    GameObject* owner = aPlayer.GetOwner();
    SchnozController* controller = anEnemy.GetComponent<SchnozController>();
    if (owner == nullptr || controller == nullptr || controller->IsDead())
    {
        return false;
    }
    const CollisionBox player = GetCollisionBounds(*owner);
    const CollisionBox enemy = GetCollisionBounds(anEnemy);
    if (!BoxesOverlap(player, enemy))
    {
        return false;
    }
    const bool isSmall = anEnemy.GetTag() == "Schnoz_II";
    const float band = enemy.max.y - (isSmall ? SMALL_STOMP_BAND : ARMOURED_STOMP_BAND);
    if (player.min.y < band)
    {
        return HurtPlayer(aPlayer, anEnemy);
    }
    if (controller->TakeHit(&aPlayer, aPlayer.IsFalling(), aPlayer.IsGroundPounding()))
    {
        controller->SetDead();
        return true;
    }
    if (anEnemy.GetTag() == "Schnoz_III" && controller->GetHp() == 0)
    {
        SoundBank::GetInstance().Play(ARMOUR_BROKEN_SOUND);
    }
    return false;
}

bool HandleBossContact(PlayerController& aPlayer, GameObject& aBoss)
{
    GameObject* owner = aPlayer.GetOwner();
    BossAnimator* boss = aBoss.GetComponent<BossAnimator>();
    if (owner == nullptr || boss == nullptr || boss->GetCurrentAnimationIndex() == BOSS_DEATH_CLIP)
    {
        return false;
    }
    const CollisionBox player = GetCollisionBounds(*owner);
    const CollisionBox bounds = GetCollisionBounds(aBoss);
    if (!BoxesOverlap(player, bounds))
    {
        return false;
    }
    if (player.min.y < bounds.max.y - BOSS_STOMP_BAND)
    {
        return HurtPlayer(aPlayer, aBoss);
    }
    aPlayer.ApplyKnockback(boss->GetKnockbackForce());
    if (!aPlayer.IsGroundPounding())
    {
        return false;
    }
    boss->OnDamaged();
    aPlayer.SetGrounded();
    return true;
}
