// The builders of pickups, gates, hazards and effect objects: the components each adds, in order, and
// the values that reach them, with and without scene properties.
#include "Builders/GameObjectFactory.h"
#include "Builders/LevelObjectBuilders.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Camera/FogComponent.h"
#include "Collision/BoxColliderComponent.h"
#include "Collision/SphereColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/AnimatedSpriteComponent.h"
#include "Components/MeshComponent.h"
#include "Game/Support/ComponentOf.h"
#include "Level/BloodSeaComponent.h"
#include "Level/BreakableTile.h"
#include "Level/CheckpointComponent.h"
#include "Level/Collectibles.h"
#include "Level/EyeAnimator.h"
#include "Level/LevelEndComponent.h"
#include "Level/VfxEmitterComponent.h"
#include "Session/RankSystem.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <typeinfo>

namespace
{
using Vector3 = Qel::Vector3<float>;

SceneObjectData Record(std::unordered_map<std::string, std::any> someProperties = {}, std::string aModel = "")
{
    SceneObjectData data;
    data.name = "Thing";
    data.model = std::move(aModel);
    data.properties = std::move(someProperties);
    return data;
}

// The dynamic types of the object's components, in the order they were added.
std::vector<std::string> Kinds(const GameObject& anObject)
{
    std::vector<std::string> kinds;
    for (const std::unique_ptr<Component>& component : anObject.GetComponents())
    {
        const Component& ref = *component;
        kinds.emplace_back(typeid(ref).name());
    }
    return kinds;
}

template <typename... T>
std::vector<std::string> KindsOf()
{
    return {typeid(T).name()...};
}

void ExpectVector(const Vector3& aValue, const Vector3& anExpected)
{
    EXPECT_FLOAT_EQ(aValue.x, anExpected.x);
    EXPECT_FLOAT_EQ(aValue.y, anExpected.y);
    EXPECT_FLOAT_EQ(aValue.z, anExpected.z);
}

TEST(LevelEndBuilder, ADoorWithoutPropertiesTakesTheBuildersDefaults)
{
    const std::unique_ptr<GameObject> door =
        BuildLevelEndObject(Record({}, "models/SK/EN_LevelEnd_Door.fbx"));
    EXPECT_EQ(door->GetName(), "Thing");
    EXPECT_EQ(Kinds(*door),
              (KindsOf<AnimatedMeshComponent, EyeAnimator, BoxColliderComponent, LevelEndComponent>()));

    const auto& clips = ComponentOf<EyeAnimator>(*door).GetClips();
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(clips[0].path, "Animations/enviorement/EN_levelEnd_door_close.fbx");
    EXPECT_EQ(clips[1].path, "Animations/enviorement/EN_levelEnd_door_idle.fbx");
    EXPECT_FALSE(clips[0].loop);
    EXPECT_FALSE(clips[1].loop);

    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*door);
    ExpectVector(box.GetSize(), {180.0f, 180.0f, 180.0f});
    ExpectVector(box.GetOffset(), {0.0f, 200.0f, 0.0f});
    EXPECT_TRUE(box.IsTrigger());
    EXPECT_TRUE(box.FollowsOwner());

    const LevelEndComponent& exit = ComponentOf<LevelEndComponent>(*door);
    EXPECT_EQ(exit.GetTargetScene(), "");
    EXPECT_FLOAT_EQ(exit.GetExitSequenceDuration(), 5.0f);
    // The builder's prompt, not the component's own.
    EXPECT_EQ(exit.GetPromptText(), "Press up arrow to enter");
    EXPECT_EQ(exit.GetWorldIndex(), 1);
    EXPECT_EQ(exit.GetWorldTexture(1), "");
}

TEST(LevelEndBuilder, SceneValuesReachTheDoorAndTargetLevelWinsOverTargetScene)
{
    const std::unique_ptr<GameObject> door =
        BuildLevelEndObject(Record({{"Trigger Size", Vector3{10.0f, 20.0f, 30.0f}},
                                    {"Target Scene", std::string("levels/A.vks")},
                                    {"Target Level", std::string("levels/B.vks")},
                                    {"Exit Sequence Duration", 0.0f},
                                    {"Prompt Text", std::string("")},
                                    {"World Index", 7},
                                    {"World 3 Texture", std::string("textures/Door3_C.dds")},
                                    {"World 4 Texture", std::string("textures/Door4_C.dds")}}));
    // Without a model there is no mesh, but the door animator is still there.
    EXPECT_EQ(Kinds(*door), (KindsOf<EyeAnimator, BoxColliderComponent, LevelEndComponent>()));
    ExpectVector(ComponentOf<BoxColliderComponent>(*door).GetSize(), {10.0f, 20.0f, 30.0f});
    const LevelEndComponent& exit = ComponentOf<LevelEndComponent>(*door);
    EXPECT_EQ(exit.GetTargetScene(), "levels/B.vks");
    EXPECT_FLOAT_EQ(exit.GetExitSequenceDuration(), 0.01f);
    EXPECT_EQ(exit.GetPromptText(), "Press E to enter");
    EXPECT_EQ(exit.GetWorldIndex(), 3);
    EXPECT_EQ(exit.GetWorldTexture(3), "textures/Door3_C.dds");

    const std::unique_ptr<GameObject> onlyScene = BuildLevelEndObject(Record(
        {{"Target Scene", std::string("levels/A.vks")}, {"World Index", 0}, {"Exit Sequence Duration", 2}}));
    EXPECT_EQ(ComponentOf<LevelEndComponent>(*onlyScene).GetTargetScene(), "levels/A.vks");
    EXPECT_EQ(ComponentOf<LevelEndComponent>(*onlyScene).GetWorldIndex(), 1);
    // An int where a float belongs is not found.
    EXPECT_FLOAT_EQ(ComponentOf<LevelEndComponent>(*onlyScene).GetExitSequenceDuration(), 5.0f);
}

TEST(CheckpointBuilder, DefaultsAndSceneValuesWithTheSignOfTheDirection)
{
    const std::unique_ptr<GameObject> plain =
        BuildCheckpointObject(Record({}, "models/StaticMeshes/SM_Checkpoint.fbx"));
    EXPECT_EQ(Kinds(*plain), (KindsOf<MeshComponent, BoxColliderComponent, CheckpointComponent>()));
    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*plain);
    ExpectVector(box.GetSize(), {100.0f, 100.0f, 100.0f});
    ExpectVector(box.GetOffset(), {0.0f, 500.0f, 0.0f});
    EXPECT_TRUE(box.IsTrigger());
    EXPECT_TRUE(box.FollowsOwner());
    const CheckpointComponent& checkpoint = ComponentOf<CheckpointComponent>(*plain);
    EXPECT_FALSE(checkpoint.IsActivated());
    EXPECT_EQ(checkpoint.GetActivatedMesh(), "models/StaticMeshes/SM_Checkpoint_Active.fbx");
    EXPECT_FLOAT_EQ(checkpoint.GetRespawnYOffset(), 100.0f);
    EXPECT_EQ(checkpoint.GetRespawnDirection(), 1);

    const std::unique_ptr<GameObject> left =
        BuildCheckpointObject(Record({{"Trigger Size", Vector3{1.0f, 2.0f, 3.0f}},
                                      {"Activated Mesh", std::string("")},
                                      {"Respawn Y Offset", 40.0f},
                                      {"Respawn Direction", -3}}));
    EXPECT_EQ(Kinds(*left), (KindsOf<BoxColliderComponent, CheckpointComponent>()));
    ExpectVector(ComponentOf<BoxColliderComponent>(*left).GetSize(), {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(ComponentOf<CheckpointComponent>(*left).GetActivatedMesh(), "");
    EXPECT_FLOAT_EQ(ComponentOf<CheckpointComponent>(*left).GetRespawnYOffset(), 40.0f);
    EXPECT_EQ(ComponentOf<CheckpointComponent>(*left).GetRespawnDirection(), -1);
    EXPECT_FALSE(ComponentOf<CheckpointComponent>(*left).IsRespawnFacingRight());

    const std::unique_ptr<GameObject> zero = BuildCheckpointObject(Record({{"Respawn Direction", 0}}));
    EXPECT_EQ(ComponentOf<CheckpointComponent>(*zero).GetRespawnDirection(), 1);
}

TEST(PickupBuilders, KeysCoinsAndHeartsGetTheirTriggerSpheresAndCoinsAndHeartsOnlyASprite)
{
    const std::unique_ptr<GameObject> key = BuildKeyObject(Record({}, "models/StaticMeshes/SM_Key.fbx"));
    EXPECT_EQ(Kinds(*key), (KindsOf<MeshComponent, SphereColliderComponent>()));
    EXPECT_FLOAT_EQ(ComponentOf<SphereColliderComponent>(*key).GetRadius(), 50.0f);
    ExpectVector(ComponentOf<SphereColliderComponent>(*key).GetOffset(), {0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(ComponentOf<SphereColliderComponent>(*key).IsTrigger());
    const std::unique_ptr<GameObject> bigKey = BuildKeyObject(Record({{"Collision Radius", 80.0f}}));
    EXPECT_EQ(Kinds(*bigKey), (KindsOf<SphereColliderComponent>()));
    EXPECT_FLOAT_EQ(ComponentOf<SphereColliderComponent>(*bigKey).GetRadius(), 80.0f);

    struct Case
    {
        std::unique_ptr<GameObject> (*build)(const SceneObjectData&);
        const char* defaultSprite;
        bool isCoin;
    };
    for (const Case& pickup :
         {Case{&BuildCoinObject, "coin_soul_idle", true}, Case{&BuildPowerUpObject, "heart_idle", false}})
    {
        SCOPED_TRACE(pickup.defaultSprite);
        // A model is ignored: the pickup is its sprite.
        const std::unique_ptr<GameObject> plain = pickup.build(Record({}, "models/StaticMeshes/SM_Key.fbx"));
        EXPECT_EQ(plain->GetName(), "Thing");
        EXPECT_EQ(dynamic_cast<const Coin*>(plain.get()) != nullptr, pickup.isCoin);
        EXPECT_EQ(dynamic_cast<const Collectibles*>(plain.get()) != nullptr, pickup.isCoin);
        EXPECT_EQ(Kinds(*plain), (KindsOf<AnimatedSpriteComponent, SphereColliderComponent>()));
        EXPECT_EQ(ComponentOf<AnimatedSpriteComponent>(*plain).GetDefinitionId(), pickup.defaultSprite);
        const SphereColliderComponent& sphere = ComponentOf<SphereColliderComponent>(*plain);
        EXPECT_FLOAT_EQ(sphere.GetRadius(), 50.0f);
        ExpectVector(sphere.GetOffset(), {-15.0f, 50.0f, 0.0f});
        EXPECT_TRUE(sphere.IsTrigger());

        const std::unique_ptr<GameObject> custom = pickup.build(
            Record({{"AnimatedSpriteId", std::string("other")}, {"Collision Radius", 12.5f}, {"Amount", 5}}));
        EXPECT_EQ(ComponentOf<AnimatedSpriteComponent>(*custom).GetDefinitionId(), "other");
        EXPECT_FLOAT_EQ(ComponentOf<SphereColliderComponent>(*custom).GetRadius(), 12.5f);
    }
}

TEST(RankingSystemBuilder, TheScoringValuesReachTheRankSystem)
{
    // Defaults: 2 a wisp, 5 a key, B from 69, A from 110.
    const std::unique_ptr<GameObject> plain =
        BuildRankingSystemObject(Record({}, "models/StaticMeshes/SM_Key.fbx"));
    EXPECT_EQ(Kinds(*plain), (KindsOf<RankSystem>()));
    RankSystem& ranks = ComponentOf<RankSystem>(*plain);
    for (int wisp = 0; wisp < 34; ++wisp)
    {
        ranks.AddScore(RankSystem::WISP);
    }
    EXPECT_EQ(ranks.GetScore(), 68);
    EXPECT_EQ(ranks.GetRankLetter(), "C");
    ranks.AddScore(RankSystem::WISP);
    EXPECT_EQ(ranks.GetRankLetter(), "B");

    const std::unique_ptr<GameObject> custom = BuildRankingSystemObject(
        Record({{"Wisps", 10}, {"Keys", 1}, {"Neutral Rank", 5}, {"Best Rank", 20}}));
    RankSystem& customRanks = ComponentOf<RankSystem>(*custom);
    customRanks.AddScore(RankSystem::KEY);
    EXPECT_EQ(customRanks.GetScore(), 1);
    customRanks.AddScore(RankSystem::WISP);
    customRanks.AddScore(RankSystem::WISP);
    EXPECT_EQ(customRanks.GetScore(), 21);
    EXPECT_EQ(customRanks.GetRankLetter(), "A");
    customRanks.ResetScore();
}

TEST(BloodSeaBuilder, DerivedDefaultsFollowTheValuesInUseAndAWaitingSeaIsInactive)
{
    const std::unique_ptr<GameObject> plain =
        BuildBloodSeaObject(Record({}, "models/StaticMeshes/SM_BloodSea.fbx"));
    EXPECT_EQ(Kinds(*plain), (KindsOf<MeshComponent, BloodSeaComponent>()));
    const BloodSeaComponent& sea = ComponentOf<BloodSeaComponent>(*plain);
    EXPECT_FLOAT_EQ(sea.GetTargetY(), 0.0f);
    EXPECT_FLOAT_EQ(sea.GetRiseSpeed(), 100.0f);
    EXPECT_FLOAT_EQ(sea.GetKillDistanceY(), 300.0f);
    ExpectVector(sea.GetSpawnPosition(), {0.0f, -1000.0f, -100.0f});
    EXPECT_TRUE(sea.UsesRelativeSpawnPosition());
    EXPECT_FLOAT_EQ(sea.GetReactivateMaxYDelta(), 3000.0f);
    EXPECT_FLOAT_EQ(sea.GetReactivationSnapDistanceY(), 3000.0f);
    EXPECT_FLOAT_EQ(sea.GetActivationShakeIntensity(), 45.0f);
    EXPECT_FLOAT_EQ(sea.GetActivationShakeDuration(), 0.35f);
    EXPECT_FALSE(sea.IsActive());
    EXPECT_FALSE(sea.IsRising());
    EXPECT_FALSE(plain->IsActive());

    const std::unique_ptr<GameObject> legacy =
        BuildBloodSeaObject(Record({{"Speed", 250.0f},
                                    {"SpawnPosition", Vector3{1.0f, 2.0f, 3.0f}},
                                    {"Reactivate Max Y Delta", 800.0f}}));
    EXPECT_FLOAT_EQ(ComponentOf<BloodSeaComponent>(*legacy).GetRiseSpeed(), 250.0f);
    ExpectVector(ComponentOf<BloodSeaComponent>(*legacy).GetSpawnPosition(), {1.0f, 2.0f, 3.0f});
    EXPECT_FLOAT_EQ(ComponentOf<BloodSeaComponent>(*legacy).GetReactivationSnapDistanceY(), 800.0f);

    const std::unique_ptr<GameObject> both =
        BuildBloodSeaObject(Record({{"StartActive", true},
                                    {"Speed", 250.0f},
                                    {"Rise Speed", 40.0f},
                                    {"SpawnPosition", Vector3{1.0f, 2.0f, 3.0f}},
                                    {"Spawn Position", Vector3{4.0f, 5.0f, 6.0f}},
                                    {"Reactivation Snap Distance Y", 90.0f},
                                    {"Use Relative Spawn Position", false},
                                    {"TargetY", 1200.0f},
                                    {"Kill Distance Y", 10.0f},
                                    {"Activation Shake Intensity", 7.0f},
                                    {"Activation Shake Duration", 1.5f}}));
    const BloodSeaComponent& rising = ComponentOf<BloodSeaComponent>(*both);
    EXPECT_FLOAT_EQ(rising.GetRiseSpeed(), 40.0f);
    ExpectVector(rising.GetSpawnPosition(), {4.0f, 5.0f, 6.0f});
    EXPECT_FLOAT_EQ(rising.GetReactivationSnapDistanceY(), 90.0f);
    EXPECT_FALSE(rising.UsesRelativeSpawnPosition());
    EXPECT_FLOAT_EQ(rising.GetTargetY(), 1200.0f);
    EXPECT_FLOAT_EQ(rising.GetKillDistanceY(), 10.0f);
    EXPECT_FLOAT_EQ(rising.GetActivationShakeIntensity(), 7.0f);
    EXPECT_FLOAT_EQ(rising.GetActivationShakeDuration(), 1.5f);
    EXPECT_TRUE(rising.IsActive());
    EXPECT_TRUE(rising.IsRising());
    EXPECT_TRUE(both->IsActive());
}

TEST(DeathBoxBuilder, ABoxThatStaysWhereItStartedAndIsEmptyWithoutASize)
{
    const std::unique_ptr<GameObject> empty = BuildDeathBoxObject(Record());
    EXPECT_EQ(Kinds(*empty), (KindsOf<BoxColliderComponent>()));
    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*empty);
    ExpectVector(box.GetSize(), {0.0f, 0.0f, 0.0f});
    ExpectVector(box.GetOffset(), {0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(box.IsTrigger());
    EXPECT_FALSE(box.FollowsOwner());

    const std::unique_ptr<GameObject> sized = BuildDeathBoxObject(Record(
        {{"Size", Vector3{500.0f, 50.0f, 200.0f}}, {"Offset", Vector3{0.0f, -25.0f, 0.0f}}}, "models/x.fbx"));
    EXPECT_EQ(Kinds(*sized), (KindsOf<MeshComponent, BoxColliderComponent>()));
    ExpectVector(ComponentOf<BoxColliderComponent>(*sized).GetSize(), {500.0f, 50.0f, 200.0f});
    ExpectVector(ComponentOf<BoxColliderComponent>(*sized).GetOffset(), {0.0f, -25.0f, 0.0f});
}

TEST(VfxEmitterBuilder, EverySettingIsReadAndCountsStoredAsBoolsAreAbsent)
{
    const std::unique_ptr<GameObject> plain = BuildVfxEmitterObject(Record());
    EXPECT_EQ(Kinds(*plain), (KindsOf<VfxEmitterComponent>()));
    const VfxEmitterSettings& defaults = ComponentOf<VfxEmitterComponent>(*plain).GetSettings();
    EXPECT_EQ(defaults.effectId, "");
    EXPECT_EQ(defaults.space, "world");
    EXPECT_FLOAT_EQ(defaults.spawnInterval, 0.1f);
    EXPECT_EQ(defaults.burstOnStart, 0);
    EXPECT_EQ(defaults.burstOnActivate, 0);
    EXPECT_FLOAT_EQ(defaults.sizeMultiplier, 1.0f);
    EXPECT_FLOAT_EQ(defaults.screenPosition.x, 0.0f);
    EXPECT_FLOAT_EQ(defaults.screenPosition.y, 0.0f);

    const std::unique_ptr<GameObject> custom =
        BuildVfxEmitterObject(Record({{"VfxEffectId", std::string("checkpoint_light")},
                                      {"VfxSpace", std::string("Screen")},
                                      {"VfxSpawnInterval", 0.5f},
                                      {"VfxBurstOnStart", true},
                                      {"VfxBurstOnActivate", 3},
                                      {"VfxSizeMultiplier", 2.0f},
                                      {"VfxScreenX", 640.0f},
                                      {"VfxScreenY", 360.0f}},
                                     "models/x.fbx"));
    EXPECT_EQ(Kinds(*custom), (KindsOf<MeshComponent, VfxEmitterComponent>()));
    const VfxEmitterSettings& settings = ComponentOf<VfxEmitterComponent>(*custom).GetSettings();
    EXPECT_EQ(settings.effectId, "checkpoint_light");
    EXPECT_EQ(settings.space, "Screen");
    EXPECT_FLOAT_EQ(settings.spawnInterval, 0.5f);
    EXPECT_EQ(settings.burstOnStart, 0);
    EXPECT_EQ(settings.burstOnActivate, 3);
    EXPECT_FLOAT_EQ(settings.sizeMultiplier, 2.0f);
    EXPECT_FLOAT_EQ(settings.screenPosition.x, 640.0f);
    EXPECT_FLOAT_EQ(settings.screenPosition.y, 360.0f);
    EXPECT_FLOAT_EQ(ComponentOf<VfxEmitterComponent>(*custom).GetTimer(), 0.5f);
}

TEST(FogBuilder, TheScenesColourAndPlanesStayWithTheComponent)
{
    const std::unique_ptr<GameObject> plain = BuildFogObject(Record());
    EXPECT_EQ(Kinds(*plain), (KindsOf<FogComponent>()));
    const FogComponent& fog = ComponentOf<FogComponent>(*plain);
    EXPECT_EQ(fog.GetColor().a, 0.0f);
    EXPECT_EQ(fog.GetColor().r, 0.0f);
    EXPECT_EQ(fog.GetNearPlane(), 0.0f);
    EXPECT_EQ(fog.GetFarPlane(), 0.0f);

    const FogSettings before = FogComponent::GetSettings();
    const std::unique_ptr<GameObject> custom =
        BuildFogObject(Record({{"FogColor", Qel::Color{0.1f, 0.2f, 0.3f, 1.0f}},
                               {"FogNearPlane", 500.0f},
                               {"FogFarPlane", 9000.0f}}));
    const FogComponent& customFog = ComponentOf<FogComponent>(*custom);
    EXPECT_FLOAT_EQ(customFog.GetColor().g, 0.2f);
    EXPECT_FLOAT_EQ(customFog.GetColor().a, 1.0f);
    EXPECT_FLOAT_EQ(customFog.GetNearPlane(), 500.0f);
    EXPECT_FLOAT_EQ(customFog.GetFarPlane(), 9000.0f);
    EXPECT_TRUE(FogComponent::GetSettings() == before);
}

TEST(BreakableBlockBuilder, ATileWithTheGroundsBoxWhoseStartAddsOnlyTheController)
{
    const std::unique_ptr<GameObject> bare = BuildBreakableBlockObject(Record());
    ASSERT_NE(dynamic_cast<BreakableTile*>(bare.get()), nullptr);
    EXPECT_EQ(bare->GetName(), "Thing");
    EXPECT_EQ(Kinds(*bare), (KindsOf<BoxColliderComponent>()));
    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*bare);
    ExpectVector(box.GetSize(), {100.0f, 100.0f, 200.0f});
    ExpectVector(box.GetOffset(), {50.0f, 50.0f, 100.0f});
    EXPECT_FALSE(box.IsTrigger());
    EXPECT_FALSE(box.FollowsOwner());

    const std::unique_ptr<GameObject> modelled = BuildBreakableBlockObject(Record({}, "models/block.fbx"));
    EXPECT_EQ(Kinds(*modelled), (KindsOf<MeshComponent, BoxColliderComponent>()));
}

TEST(LevelObjectRegistration, EachTagReachesItsBuilder)
{
    RegisterGameObjectFactories();
    GameObjectFactory& factory = GameObjectFactory::GetInstance();
    const auto build = [&factory](const char* aTag)
    {
        SceneObjectData data = Record();
        data.tag = aTag;
        return factory.Create(data);
    };
    EXPECT_NE(build("levelEnd")->GetComponent<LevelEndComponent>(), nullptr);
    EXPECT_NE(build("Checkpoint")->GetComponent<CheckpointComponent>(), nullptr);
    EXPECT_NE(build("Key")->GetComponent<SphereColliderComponent>(), nullptr);
    EXPECT_EQ(ComponentOf<AnimatedSpriteComponent>(*build("Coin")).GetDefinitionId(), "coin_soul_idle");
    EXPECT_EQ(ComponentOf<AnimatedSpriteComponent>(*build("PowerUp")).GetDefinitionId(), "heart_idle");
    EXPECT_NE(build("RankingSystem")->GetComponent<RankSystem>(), nullptr);
    EXPECT_NE(dynamic_cast<BreakableTile*>(build("BreakableBlock").get()), nullptr);
    EXPECT_NE(build("BloodSea")->GetComponent<BloodSeaComponent>(), nullptr);
    EXPECT_NE(build("DeathBox")->GetComponent<BoxColliderComponent>(), nullptr);
    EXPECT_NE(build("VfxEmitter")->GetComponent<VfxEmitterComponent>(), nullptr);
    EXPECT_NE(build("Fog")->GetComponent<FogComponent>(), nullptr);
}
} // namespace
