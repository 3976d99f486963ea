// The player against pickups, death boxes and trigger boxes.
#include "Rules/CollisionResponses.h"

#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Components/DamageableComponent.h"
#include "Objects/GameObject.h"
#include "Objects/ObjectLists.h"
#include "Player/PlayerController.h"
#include "Rules/ContactEffects.h"
#include "Session/LevelCounters.h"
#include "Session/RankSystem.h"
#include "Sound/SoundBank.h"

#include <algorithm>

namespace
{
constexpr int WISP_SOUND = 23;
constexpr int HEART_SOUND = 24;
constexpr int KEY_SOUND = 25;

bool SphereTouchesBox(const SphereColliderComponent& aSphere, const CollisionBox& aBox)
{
    const Qel::Vector4<float> sphere = aSphere.GetWorldCenter();
    const float dx = sphere.x - std::clamp(sphere.x, aBox.min.x, aBox.max.x);
    const float dy = sphere.y - std::clamp(sphere.y, aBox.min.y, aBox.max.y);
    const float dz = sphere.z - std::clamp(sphere.z, aBox.min.z, aBox.max.z);
    return dx * dx + dy * dy + dz * dz <= sphere.w * sphere.w;
}

bool TouchesPlayer(GameObject& aPickup, const CollisionBox& aPlayer)
{
    SphereColliderComponent* sphere = aPickup.GetComponent<SphereColliderComponent>();
    if (sphere == nullptr)
    {
        return BoxesOverlap(GetCollisionBounds(aPickup), aPlayer);
    }
    if (!SphereTouchesBox(*sphere, aPlayer))
    {
        sphere->TriggerExit();
        return false;
    }
    sphere->TriggerEnter();
    return true;
}

void Collect(GameObject& aPickup, GameObject& aPlayer, RankSystem* aRankSystem, float aFacing)
{
    const std::string& tag = aPickup.GetTag();
    const char* effect = nullptr;
    SoundBank& sounds = SoundBank::GetInstance();
    if (tag == "Coin")
    {
        AddCollectedCoin();
        sounds.Stop(WISP_SOUND);
        sounds.Play(WISP_SOUND);
        if (aRankSystem != nullptr)
        {
            aRankSystem->AddScore(RankSystem::WISP);
        }
        effect = "soul_pickup";
    }
    else if (tag == "Key")
    {
        sounds.Play(KEY_SOUND);
        if (aRankSystem != nullptr)
        {
            aRankSystem->AddScore(RankSystem::KEY);
        }
        AddCollectedKey();
        effect = "key_pickup";
    }
    else if (tag == "PowerUp")
    {
        if (DamageableComponent* damageable = aPlayer.GetComponent<DamageableComponent>())
        {
            damageable->Heal(1);
            SetPlayerHealth(std::min(GetPlayerHealth() + 1, MAX_PLAYER_HEALTH));
            sounds.Play(HEART_SOUND);
            effect = "heart_pickup";
        }
    }
    if (effect != nullptr)
    {
        SpawnContactEffect(effect, aPickup.GetTransform().GetPosition(), aFacing);
    }
}
} // namespace

bool HandlePickupContact(PlayerController& aPlayer, std::vector<GameObject*>& aPickups,
                         RankSystem* aRankSystem)
{
    GameObject* owner = aPlayer.GetOwner();
    if (owner == nullptr)
    {
        return false;
    }
    const CollisionBox player = GetCollisionBounds(*owner);
    const float facing = aPlayer.IsFacingRight() ? 1.0f : -1.0f;
    std::vector<GameObject*> touched;
    for (GameObject* pickup : aPickups)
    {
        if (pickup != nullptr && pickup->IsActive() && TouchesPlayer(*pickup, player))
        {
            touched.push_back(pickup);
        }
    }
    for (GameObject* pickup : touched)
    {
        Collect(*pickup, *owner, aRankSystem, facing);
        pickup->SetActive(false);
        RemoveObjectPointer(aPickups, pickup);
    }
    return !touched.empty();
}

bool HandleDeathBoxContact(PlayerController& aPlayer, const std::vector<GameObject*>& aDeathBoxes)
{
    GameObject* owner = aPlayer.GetOwner();
    if (owner == nullptr)
    {
        return false;
    }
    const CollisionBox player = GetCollisionBounds(*owner);
    for (GameObject* deathBox : aDeathBoxes)
    {
        const BoxColliderComponent* box =
            deathBox != nullptr ? deathBox->GetComponent<BoxColliderComponent>() : nullptr;
        if (box == nullptr)
        {
            continue;
        }
        CollisionBox bounds;
        box->GetWorldBounds(bounds.min, bounds.max);
        if (!BoxesOverlap(bounds, player))
        {
            continue;
        }
        DamageableComponent* damageable = owner->GetComponent<DamageableComponent>();
        if (damageable != nullptr && !damageable->IsDead())
        {
            damageable->SetHp(0);
        }
        return true;
    }
    return false;
}

bool UpdateTriggerBoxes(PlayerController& aPlayer, const std::vector<GameObject*>& aTriggers)
{
    GameObject* owner = aPlayer.GetOwner();
    if (owner == nullptr)
    {
        return false;
    }
    const CollisionBox player = GetCollisionBounds(*owner);
    bool isInsideAny = false;
    for (GameObject* trigger : aTriggers)
    {
        BoxColliderComponent* box =
            trigger != nullptr ? trigger->GetComponent<BoxColliderComponent>() : nullptr;
        if (box == nullptr || !box->IsTrigger())
        {
            continue;
        }
        CollisionBox bounds;
        box->GetWorldBounds(bounds.min, bounds.max);
        if (BoxesOverlap(bounds, player))
        {
            box->TriggerEnter();
            isInsideAny = true;
        }
        else
        {
            box->TriggerExit();
        }
    }
    return isInsideAny;
}
