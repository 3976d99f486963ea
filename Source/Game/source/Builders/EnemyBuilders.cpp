#include "Builders/EnemyBuilders.h"

#include "Animator/ClipIndices.h"
#include "Boss/BossAnimator.h"
#include "Builders/BasicBuilders.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Enemies/Schnoz.h"
#include "Enemies/SchnozAnimator.h"
#include "Enemies/SchnozController.h"
#include "Level/EyeAnimator.h"
#include "Level/EyeTrigger.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace
{
using Vector3 = Qel::Vector3<float>;

struct ClipEntry
{
    std::string_view name;
    bool loop;
};

// Index order is the order the states pick the clips by (SchnozClip).
constexpr std::array<ClipEntry, 7> SMALL_ENEMY_CLIPS = {{
    {"walk", true},
    {"walk", true},
    {"death", false},
    {"death", false},
    {"death", false},
    {"death", false},
    {"dance", true},
}};
constexpr std::array<ClipEntry, 7> ARMOURED_ENEMY_CLIPS = {{
    {"walkHurt", true},
    {"walkReverseHurt", true},
    {"walk", true},
    {"walkReverse", true},
    {"damaged", false},
    {"death", false},
    {"dance", true},
}};
constexpr std::array<bool, BossClip::COUNT> BOSS_CLIP_LOOPS = {true, false, true, false, false, true};

struct SchnozKind
{
    std::string_view clipPrefix;
    const std::array<ClipEntry, 7>& clips;
    Vector3 hitboxSize;
    Vector3 hitboxOffset;
};

const SchnozKind SMALL_ENEMY{
    "Animations/SmallEnemy/CH_SmallEnemy_", SMALL_ENEMY_CLIPS, {75.0f, 75.0f, 75.0f}, {0.0f, 50.0f, 50.0f}};
const SchnozKind ARMOURED_ENEMY{"Animations/BigEnemy/CH_BigEnemy_",
                                ARMOURED_ENEMY_CLIPS,
                                {200.0f, 190.0f, 100.0f},
                                {0.0f, 100.0f, -100.0f}};

Vector3 GetVector3Or(const SceneObjectData& aData, const std::string& aKey, const Vector3& aDefault)
{
    Vector3 value = aDefault;
    aData.TryGetVector3(aKey, value);
    return value;
}

template <typename T>
T GetOr(const SceneObjectData& aData, const std::string& aKey, T aDefault)
{
    T value = aDefault;
    if constexpr (std::is_same_v<T, int>)
    {
        aData.TryGetInt(aKey, value);
    }
    else
    {
        aData.TryGetFloat(aKey, value);
    }
    return value;
}

std::string ClipPath(std::string_view aPrefix, std::string_view aName)
{
    std::string path(aPrefix);
    path += aName;
    path += ".fbx";
    return path;
}

void AddMeshWhenModelGiven(GameObject& anObject, const SceneObjectData& aData)
{
    if (!aData.model.empty())
    {
        anObject.AddComponent<AnimatedMeshComponent>(aData.model);
    }
}

template <typename SchnozType>
std::unique_ptr<GameObject> BuildSchnoz(const SceneObjectData& aData, const SchnozKind& aKind)
{
    const Vector3 knockback = GetVector3Or(aData, "Knockback Force", {0.0f, 1800.0f, 50.0f});
    auto object = std::make_unique<SchnozType>(aData.name, knockback);
    AddMeshWhenModelGiven(*object, aData);
    object->template AddComponent<SchnozController>()->SetKnockbackForce(knockback);
    SchnozAnimator* animator = object->template AddComponent<SchnozAnimator>();
    for (const ClipEntry& clip : aKind.clips)
    {
        animator->AddAnimation(ClipPath(aKind.clipPrefix, clip.name), clip.loop);
    }
    object->template AddComponent<DamageableComponent>(GetOr<int>(aData, "HP", 1));
    object->template AddComponent<BoxColliderComponent>(
        GetVector3Or(aData, "Hitbox Size", aKind.hitboxSize),
        GetVector3Or(aData, "Hitbox Offset", aKind.hitboxOffset), false, false);
    return object;
}
} // namespace

std::unique_ptr<GameObject> BuildSchnozIIObject(const SceneObjectData& aData)
{
    return BuildSchnoz<Schnoz_II>(aData, SMALL_ENEMY);
}

std::unique_ptr<GameObject> BuildSchnozIIIObject(const SceneObjectData& aData)
{
    return BuildSchnoz<Schnoz_III>(aData, ARMOURED_ENEMY);
}

std::unique_ptr<GameObject> BuildBossObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    AddMeshWhenModelGiven(*object, aData);
    const Vector3 knockback = GetVector3Or(aData, "KnockbackForce", {-7000.0f, 3000.0f, 0.0f});
    const float timeToMove = GetOr<float>(aData, "TimeToMove", 2.0f);
    BossAnimator* animator = object->AddComponent<BossAnimator>(timeToMove, knockback);
    for (std::size_t clip = 0; clip < BossClip::NAMES.size(); ++clip)
    {
        animator->AddAnimation(ClipPath(BossClip::PATH_PREFIX, BossClip::NAMES[clip]), BOSS_CLIP_LOOPS[clip]);
    }
    const Vector3 colliderSize = GetVector3Or(aData, "ColliderSize", {400.0f, 650.0f, 300.0f});
    const Vector3 colliderOffset = GetVector3Or(aData, "ColliderOffset", {-100.0f, 300.0f, 0.0f});
    animator->SetDestinations({GetVector3Or(aData, "FirstDestination", {5700.0f, 0.0f, 0.0f}),
                               GetVector3Or(aData, "FinalDestination", {10700.0f, 0.0f, 0.0f})});
    object->AddComponent<BoxColliderComponent>(colliderSize, colliderOffset, false, false);
    return object;
}

std::unique_ptr<GameObject> BuildEyeInTheSkyObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    AddMeshWhenModelGiven(*object, aData);
    EyeAnimator* animator = object->AddComponent<EyeAnimator>();
    animator->AddAnimation("Animations/enviorement/EN_Eye_activation.fbx", false);
    animator->AddAnimation("Animations/enviorement/EN_Eye_idle.fbx", true);
    object->AddComponent<EyeTrigger>();
    return object;
}
