#include "Builders/LevelObjectBuilders.h"

#include "Builders/BasicBuilders.h"
#include "Camera/FogComponent.h"
#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/AnimatedSpriteComponent.h"
#include "Components/MeshComponent.h"
#include "Level/BloodSeaComponent.h"
#include "Level/BreakableTile.h"
#include "Level/CheckpointComponent.h"
#include "Level/Collectibles.h"
#include "Level/EyeAnimator.h"
#include "Level/LevelEndComponent.h"
#include "Level/VfxEmitterComponent.h"
#include "Session/RankSystem.h"

namespace
{
using Vector3 = Qel::Vector3<float>;

constexpr const char* DOOR_CLOSE_CLIP = "Animations/enviorement/EN_levelEnd_door_close.fbx";
constexpr const char* DOOR_IDLE_CLIP = "Animations/enviorement/EN_levelEnd_door_idle.fbx";
constexpr const char* ACTIVE_CHECKPOINT_MESH = "models/StaticMeshes/SM_Checkpoint_Active.fbx";
constexpr float PICKUP_RADIUS = 50.0f;

// The property as its exact type, or aDefault.
template <typename T>
T ReadOr(const SceneObjectData& aData, const std::string& aKey, T aDefault)
{
    if constexpr (std::is_same_v<T, int>)
    {
        aData.TryGetInt(aKey, aDefault);
    }
    else if constexpr (std::is_same_v<T, float>)
    {
        aData.TryGetFloat(aKey, aDefault);
    }
    else if constexpr (std::is_same_v<T, bool>)
    {
        aData.TryGetBool(aKey, aDefault);
    }
    else if constexpr (std::is_same_v<T, std::string>)
    {
        aData.TryGetString(aKey, aDefault);
    }
    else if constexpr (std::is_same_v<T, Vector3>)
    {
        aData.TryGetVector3(aKey, aDefault);
    }
    else
    {
        static_assert(std::is_same_v<T, Qel::Color>);
        aData.TryGetColor(aKey, aDefault);
    }
    return aDefault;
}

// Coins and hearts: a sprite instead of a model, and a trigger sphere round it.
void AddSpritePickup(GameObject& anObject, const SceneObjectData& aData, const char* aDefaultSprite)
{
    anObject.AddComponent<AnimatedSpriteComponent>(
        ReadOr<std::string>(aData, "AnimatedSpriteId", aDefaultSprite));
    anObject.AddComponent<SphereColliderComponent>(ReadOr(aData, "Collision Radius", PICKUP_RADIUS),
                                                   Vector3{-15.0f, 50.0f, 0.0f}, true);
}
} // namespace

std::unique_ptr<GameObject> BuildLevelEndObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    if (!aData.model.empty())
    {
        object->AddComponent<AnimatedMeshComponent>(aData.model);
    }
    EyeAnimator* door = object->AddComponent<EyeAnimator>();
    door->AddAnimation(DOOR_CLOSE_CLIP, false);
    door->AddAnimation(DOOR_IDLE_CLIP, false);
    object->AddComponent<BoxColliderComponent>(ReadOr(aData, "Trigger Size", Vector3{180.0f, 180.0f, 180.0f}),
                                               Vector3{0.0f, 200.0f, 0.0f}, true, true);
    LevelEndComponent* levelEnd = object->AddComponent<LevelEndComponent>();
    const std::string targetScene = ReadOr<std::string>(aData, "Target Scene", "");
    levelEnd->SetTargetScene(ReadOr(aData, "Target Level", targetScene));
    levelEnd->SetExitSequenceDuration(ReadOr(aData, "Exit Sequence Duration", 5.0f));
    levelEnd->SetPromptText(ReadOr<std::string>(aData, "Prompt Text", "Press up arrow to enter"));
    levelEnd->SetWorldIndex(ReadOr(aData, "World Index", 1));
    for (int world = 1; world <= LevelEndComponent::WORLD_COUNT; ++world)
    {
        levelEnd->SetWorldTexture(
            world, ReadOr<std::string>(aData, "World " + std::to_string(world) + " Texture", ""));
    }
    return object;
}

std::unique_ptr<GameObject> BuildCheckpointObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    object->AddComponent<BoxColliderComponent>(ReadOr(aData, "Trigger Size", Vector3{100.0f, 100.0f, 100.0f}),
                                               Vector3{0.0f, 500.0f, 0.0f}, true, true);
    CheckpointComponent* checkpoint =
        object->AddComponent<CheckpointComponent>(false, ACTIVE_CHECKPOINT_MESH, 100.0f, 1);
    checkpoint->SetActivatedMesh(ReadOr<std::string>(aData, "Activated Mesh", ACTIVE_CHECKPOINT_MESH));
    checkpoint->SetRespawnYOffset(ReadOr(aData, "Respawn Y Offset", 100.0f));
    checkpoint->SetRespawnDirection(ReadOr(aData, "Respawn Direction", 1));
    return object;
}

std::unique_ptr<GameObject> BuildKeyObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    object->AddComponent<SphereColliderComponent>(ReadOr(aData, "Collision Radius", PICKUP_RADIUS),
                                                  Vector3{0.0f, 0.0f, 0.0f}, true);
    return object;
}

std::unique_ptr<GameObject> BuildCoinObject(const SceneObjectData& aData)
{
    auto object = std::make_unique<Coin>();
    object->SetName(aData.name);
    AddSpritePickup(*object, aData, "coin_soul_idle");
    return object;
}

std::unique_ptr<GameObject> BuildPowerUpObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    AddSpritePickup(*object, aData, "heart_idle");
    return object;
}

std::unique_ptr<GameObject> BuildRankingSystemObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = MakeGameObject(aData);
    object->AddComponent<RankSystem>(ReadOr(aData, "Wisps", 2), ReadOr(aData, "Keys", 5),
                                     ReadOr(aData, "Neutral Rank", 69), ReadOr(aData, "Best Rank", 110));
    return object;
}

std::unique_ptr<GameObject> BuildBreakableBlockObject(const SceneObjectData& aData)
{
    auto object = std::make_unique<BreakableTile>(aData.name);
    if (!aData.model.empty())
    {
        object->AddComponent<MeshComponent>(aData.model);
    }
    // The ground's box, so the tile's start-up adds only its controller.
    object->AddComponent<BoxColliderComponent>(Vector3{100.0f, 100.0f, 200.0f}, Vector3{50.0f, 50.0f, 100.0f},
                                               false, false);
    return object;
}

std::unique_ptr<GameObject> BuildBloodSeaObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    const bool startActive = ReadOr(aData, "StartActive", false);
    const float targetY = ReadOr(aData, "TargetY", 0.0f);
    const float riseSpeed = ReadOr(aData, "Rise Speed", ReadOr(aData, "Speed", 100.0f));
    const float killDistanceY = ReadOr(aData, "Kill Distance Y", 300.0f);
    const float reactivateMaxYDelta = ReadOr(aData, "Reactivate Max Y Delta", 3000.0f);
    const float snapDistanceY = ReadOr(aData, "Reactivation Snap Distance Y", reactivateMaxYDelta);
    const float shakeIntensity = ReadOr(aData, "Activation Shake Intensity", 45.0f);
    const float shakeDuration = ReadOr(aData, "Activation Shake Duration", 0.35f);
    const Vector3 spawnPosition =
        ReadOr(aData, "Spawn Position", ReadOr(aData, "SpawnPosition", Vector3{0.0f, -1000.0f, -100.0f}));
    const bool relativeSpawn = ReadOr(aData, "Use Relative Spawn Position", true);
    BloodSeaComponent* sea = object->AddComponent<BloodSeaComponent>(
        targetY, riseSpeed, killDistanceY, spawnPosition, relativeSpawn, reactivateMaxYDelta, snapDistanceY,
        shakeIntensity, shakeDuration);
    sea->SetActive(startActive);
    sea->SetRising(startActive);
    // A sea that waits for the eye is neither updated nor drawn until then.
    object->SetActive(startActive);
    return object;
}

std::unique_ptr<GameObject> BuildDeathBoxObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    object->AddComponent<BoxColliderComponent>(ReadOr(aData, "Size", Vector3{0.0f, 0.0f, 0.0f}),
                                               ReadOr(aData, "Offset", Vector3{0.0f, 0.0f, 0.0f}), true,
                                               false);
    return object;
}

std::unique_ptr<GameObject> BuildVfxEmitterObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    VfxEmitterSettings settings;
    settings.effectId = ReadOr<std::string>(aData, "VfxEffectId", "");
    settings.space = ReadOr<std::string>(aData, "VfxSpace", "world");
    settings.spawnInterval = ReadOr(aData, "VfxSpawnInterval", 0.1f);
    settings.burstOnStart = ReadOr(aData, "VfxBurstOnStart", 0);
    settings.burstOnActivate = ReadOr(aData, "VfxBurstOnActivate", 0);
    settings.sizeMultiplier = ReadOr(aData, "VfxSizeMultiplier", 1.0f);
    settings.screenPosition.x = ReadOr(aData, "VfxScreenX", 0.0f);
    settings.screenPosition.y = ReadOr(aData, "VfxScreenY", 0.0f);
    object->AddComponent<VfxEmitterComponent>(std::move(settings));
    return object;
}

std::unique_ptr<GameObject> BuildFogObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    FogComponent* fog = object->AddComponent<FogComponent>();
    fog->SetColor(ReadOr(aData, "FogColor", Qel::Color{0.0f, 0.0f, 0.0f, 0.0f}));
    fog->SetPlanes(ReadOr(aData, "FogNearPlane", 0.0f), ReadOr(aData, "FogFarPlane", 0.0f));
    return object;
}
