// The builders of the two walking enemies, the boss and the eye: which components they add in which
// order, the clip lists the states index, and the property keys with their defaults.
#include "Boss/BossAnimator.h"
#include "Builders/EnemyBuilders.h"
#include "Builders/GameObjectFactory.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Enemies/Schnoz.h"
#include "Enemies/SchnozAnimator.h"
#include "Enemies/SchnozController.h"
#include "Level/EyeAnimator.h"
#include "Level/EyeTrigger.h"

#include "Game/Enemies/EnemyTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace
{
using Vector3 = Qel::Vector3<float>;

SceneObjectData Data(const std::string& aTag, const std::string& aModel = "models/SK/CH_SmallEnemy.fbx")
{
    SceneObjectData data;
    data.name = aTag + "_01";
    data.tag = aTag;
    data.model = aModel;
    return data;
}

std::vector<std::string> ComponentTypes(const GameObject& anObject)
{
    std::vector<std::string> types;
    for (const auto& component : anObject.GetComponents())
    {
        const Component& value = *component;
        types.emplace_back(typeid(value).name());
    }
    return types;
}

template <typename... Types>
std::vector<std::string> TypeNames()
{
    return {typeid(Types).name()...};
}

std::vector<std::pair<std::string, bool>> Clips(const Animator& anAnimator)
{
    std::vector<std::pair<std::string, bool>> clips;
    for (const AnimationClip& clip : anAnimator.GetClips())
    {
        clips.emplace_back(clip.path, clip.loop);
    }
    return clips;
}
} // namespace

TEST(EnemyBuilders, SmallEnemyWithoutPropertiesTakesEveryDefault)
{
    const std::unique_ptr<GameObject> object = BuildSchnozIIObject(Data("Schnoz_II"));
    ASSERT_NE(dynamic_cast<Schnoz_II*>(object.get()), nullptr);
    EXPECT_EQ(object->GetName(), "Schnoz_II_01");
    EXPECT_EQ(ComponentTypes(*object), (TypeNames<AnimatedMeshComponent, SchnozController, SchnozAnimator,
                                                  DamageableComponent, BoxColliderComponent>()));
    const Vector3 knockback{0.0f, 1800.0f, 50.0f};
    EXPECT_EQ(static_cast<SchnozObject&>(*object).GetKnockbackForce(), knockback);
    EXPECT_EQ(Part<SchnozController>(*object)->GetKnockbackForce(), knockback);
    EXPECT_EQ(Part<DamageableComponent>(*object)->GetMaxHp(), 1);
    const BoxColliderComponent* box = Part<BoxColliderComponent>(*object);
    EXPECT_EQ(box->GetSize(), (Vector3{75.0f, 75.0f, 75.0f}));
    EXPECT_EQ(box->GetOffset(), (Vector3{0.0f, 50.0f, 50.0f}));
    EXPECT_FALSE(box->IsTrigger());
    EXPECT_FALSE(box->FollowsOwner());

    const std::string prefix = "Animations/SmallEnemy/CH_SmallEnemy_";
    EXPECT_EQ(Clips(*Part<SchnozAnimator>(*object)),
              (std::vector<std::pair<std::string, bool>>{{prefix + "walk.fbx", true},
                                                         {prefix + "walk.fbx", true},
                                                         {prefix + "death.fbx", false},
                                                         {prefix + "death.fbx", false},
                                                         {prefix + "death.fbx", false},
                                                         {prefix + "death.fbx", false},
                                                         {prefix + "dance.fbx", true}}));
}

TEST(EnemyBuilders, ArmouredEnemyHasItsOwnClipsAndBoxButTheSameKeys)
{
    SceneObjectData data = Data("Schnoz_III", "");
    data.properties["HP"] = 3;
    data.properties["Hitbox Offset"] = Vector3{1.0f, 2.0f, 3.0f};
    // The boss's spelling of the key, and a size of the wrong type: both ignored.
    data.properties["KnockbackForce"] = Vector3{9.0f, 9.0f, 9.0f};
    data.properties["Hitbox Size"] = 12.0f;
    const std::unique_ptr<GameObject> object = BuildSchnozIIIObject(data);
    ASSERT_NE(dynamic_cast<Schnoz_III*>(object.get()), nullptr);
    // No model, no mesh.
    EXPECT_EQ(ComponentTypes(*object),
              (TypeNames<SchnozController, SchnozAnimator, DamageableComponent, BoxColliderComponent>()));
    EXPECT_EQ(Part<SchnozController>(*object)->GetKnockbackForce(), (Vector3{0.0f, 1800.0f, 50.0f}));
    EXPECT_EQ(Part<DamageableComponent>(*object)->GetMaxHp(), 3);
    EXPECT_EQ(Part<BoxColliderComponent>(*object)->GetSize(), (Vector3{200.0f, 190.0f, 100.0f}));
    EXPECT_EQ(Part<BoxColliderComponent>(*object)->GetOffset(), (Vector3{1.0f, 2.0f, 3.0f}));

    const std::string prefix = "Animations/BigEnemy/CH_BigEnemy_";
    EXPECT_EQ(Clips(*Part<SchnozAnimator>(*object)),
              (std::vector<std::pair<std::string, bool>>{{prefix + "walkHurt.fbx", true},
                                                         {prefix + "walkReverseHurt.fbx", true},
                                                         {prefix + "walk.fbx", true},
                                                         {prefix + "walkReverse.fbx", true},
                                                         {prefix + "damaged.fbx", false},
                                                         {prefix + "death.fbx", false},
                                                         {prefix + "dance.fbx", true}}));
}

TEST(EnemyBuilders, GivenKnockbackReachesTheObjectAndItsController)
{
    SceneObjectData data = Data("Schnoz_II");
    data.properties["Knockback Force"] = Vector3{10.0f, 2000.0f, 0.0f};
    const std::unique_ptr<GameObject> object = BuildSchnozIIObject(data);
    EXPECT_EQ(static_cast<SchnozObject&>(*object).GetKnockbackForce(), (Vector3{10.0f, 2000.0f, 0.0f}));
    EXPECT_EQ(Part<SchnozController>(*object)->GetKnockbackForce(), (Vector3{10.0f, 2000.0f, 0.0f}));
}

TEST(EnemyBuilders, BossDefaultsAndGivenValues)
{
    const std::unique_ptr<GameObject> plain = BuildBossObject(Data("Boss", "models/SK/CH_Boss.fbx"));
    EXPECT_EQ(ComponentTypes(*plain),
              (TypeNames<AnimatedMeshComponent, BossAnimator, BoxColliderComponent>()));
    const BossAnimator* animator = Part<BossAnimator>(*plain);
    EXPECT_EQ(animator->GetKnockbackForce(), (Vector3{-7000.0f, 3000.0f, 0.0f}));
    EXPECT_FLOAT_EQ(animator->GetTimeToMove(), 2.0f);
    EXPECT_EQ(animator->GetDestinations(),
              (std::vector<Vector3>{{5700.0f, 0.0f, 0.0f}, {10700.0f, 0.0f, 0.0f}}));
    EXPECT_EQ(animator->GetDestinationIndex(), -1);
    EXPECT_EQ(Part<BoxColliderComponent>(*plain)->GetSize(), (Vector3{400.0f, 650.0f, 300.0f}));
    EXPECT_EQ(Part<BoxColliderComponent>(*plain)->GetOffset(), (Vector3{-100.0f, 300.0f, 0.0f}));
    EXPECT_FALSE(Part<BoxColliderComponent>(*plain)->IsTrigger());
    EXPECT_EQ(plain->GetComponent<DamageableComponent>(), nullptr);

    const std::string prefix = "Animations/Boss/CH_Boss_";
    EXPECT_EQ(Clips(*animator), (std::vector<std::pair<std::string, bool>>{{prefix + "idle.fbx", true},
                                                                           {prefix + "hurt.fbx", false},
                                                                           {prefix + "move.fbx", true},
                                                                           {prefix + "death.fbx", false},
                                                                           {prefix + "intro.fbx", false},
                                                                           {prefix + "dance.fbx", true}}));

    SceneObjectData data = Data("Boss", "");
    data.properties["KnockbackForce"] = Vector3{-1.0f, 2.0f, 0.0f};
    data.properties["Knockback Force"] = Vector3{5.0f, 5.0f, 5.0f};
    data.properties["TimeToMove"] = 4.5f;
    data.properties["ColliderSize"] = Vector3{10.0f, 20.0f, 30.0f};
    data.properties["FirstDestination"] = Vector3{100.0f, 0.0f, 0.0f};
    data.properties["FinalDestination"] = Vector3{200.0f, 50.0f, 0.0f};
    const std::unique_ptr<GameObject> given = BuildBossObject(data);
    EXPECT_EQ(ComponentTypes(*given), (TypeNames<BossAnimator, BoxColliderComponent>()));
    EXPECT_EQ(Part<BossAnimator>(*given)->GetKnockbackForce(), (Vector3{-1.0f, 2.0f, 0.0f}));
    EXPECT_FLOAT_EQ(Part<BossAnimator>(*given)->GetTimeToMove(), 4.5f);
    EXPECT_EQ(Part<BossAnimator>(*given)->GetDestinations(),
              (std::vector<Vector3>{{100.0f, 0.0f, 0.0f}, {200.0f, 50.0f, 0.0f}}));
    EXPECT_EQ(Part<BoxColliderComponent>(*given)->GetSize(), (Vector3{10.0f, 20.0f, 30.0f}));
}

TEST(EnemyBuilders, EyeGetsItsTwoClipsAndATrigger)
{
    const std::unique_ptr<GameObject> object =
        BuildEyeInTheSkyObject(Data("EyeInTheSky", "models/SK/EN_Eye.fbx"));
    EXPECT_EQ(ComponentTypes(*object), (TypeNames<AnimatedMeshComponent, EyeAnimator, EyeTrigger>()));
    EXPECT_EQ(Clips(*Part<EyeAnimator>(*object)), (std::vector<std::pair<std::string, bool>>{
                                                      {"Animations/enviorement/EN_Eye_activation.fbx", false},
                                                      {"Animations/enviorement/EN_Eye_idle.fbx", true}}));
}

TEST(EnemyBuilders, RegisteredUnderTheirTagsInTheFactory)
{
    GameObjectFactory& factory = GameObjectFactory::GetInstance();
    RegisterGameObjectFactories();
    const std::unique_ptr<GameObject> small = factory.Create(Data("Schnoz_II"));
    const std::unique_ptr<GameObject> armoured = factory.Create(Data("Schnoz_III"));
    const std::unique_ptr<GameObject> boss = factory.Create(Data("Boss"));
    const std::unique_ptr<GameObject> eye = factory.Create(Data("EyeInTheSky"));
    factory.Clear();
    EXPECT_NE(dynamic_cast<Schnoz_II*>(small.get()), nullptr);
    EXPECT_NE(dynamic_cast<Schnoz_III*>(armoured.get()), nullptr);
    EXPECT_EQ(armoured->GetTag(), "Schnoz_III");
    EXPECT_NE(Part<BossAnimator>(*boss), nullptr);
    EXPECT_NE(Part<EyeTrigger>(*eye), nullptr);
}
