#include "Builders/GameObjectFactory.h"
#include "Builders/PlayerBuilder.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Game/Support/ComponentOf.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <typeinfo>

namespace
{
SceneObjectData PlayerRecord()
{
    SceneObjectData data;
    data.name = "Player";
    data.tag = "Player";
    data.model = PlayerAnimator::MODEL_PATH;
    return data;
}

PlayerController& ControllerOf(const GameObject& anObject)
{
    return ComponentOf<PlayerController>(anObject);
}

DamageableComponent& DamageableOf(const GameObject& anObject)
{
    return ComponentOf<DamageableComponent>(anObject);
}
} // namespace

TEST(PlayerBuilder, APlayerWithoutPropertiesGetsTheDefaults)
{
    const std::unique_ptr<GameObject> player = BuildPlayerObject(PlayerRecord());
    const PlayerController& controller = ControllerOf(*player);
    EXPECT_FLOAT_EQ(controller.GetConfiguredMaxSpeed(), 1000.0f);
    EXPECT_FLOAT_EQ(controller.GetAcceleration(), 3000.0f);
    EXPECT_FLOAT_EQ(controller.GetSprintMultiplier(), 1.3f);
    EXPECT_FLOAT_EQ(controller.GetGroundPoundDelay(), 0.3f);
    EXPECT_FLOAT_EQ(controller.GetTerminalVelocity(), 1500.0f);
    EXPECT_FLOAT_EQ(controller.GetGravity(), 3750.0f);
    EXPECT_FLOAT_EQ(controller.GetConfiguredJumpForce(), 1650.0f);
    EXPECT_FLOAT_EQ(controller.GetJumpGracePeriod(), 0.1f);
    EXPECT_FLOAT_EQ(controller.GetWallJumpHorizontalForceMult(), 1.4f);
    EXPECT_FLOAT_EQ(controller.GetWallJumpVerticalForceMult(), 0.15f);
    EXPECT_FLOAT_EQ(controller.GetForgivingTimingDelay(), 0.1f);

    const DamageableComponent& damageable = DamageableOf(*player);
    EXPECT_EQ(damageable.GetMaxHp(), 2);
    EXPECT_EQ(damageable.GetDamagePerHit(), 1);
    EXPECT_FALSE(damageable.IsInvulnerable());
    EXPECT_FLOAT_EQ(damageable.GetInvulnerabilityTime(), 2.5f);
}

TEST(PlayerBuilder, DerivedDefaultsFollowTheValueInUseAndGivenValuesWin)
{
    SceneObjectData slow = PlayerRecord();
    slow.properties["MaxSpeed"] = 800.0f;
    slow.properties["TerminalVelocity"] = 1000.0f;
    const std::unique_ptr<GameObject> derived = BuildPlayerObject(slow);
    EXPECT_FLOAT_EQ(ControllerOf(*derived).GetAcceleration(), 2400.0f);
    EXPECT_FLOAT_EQ(ControllerOf(*derived).GetGravity(), 2500.0f);

    slow.properties["Acceleration"] = 5000.0f;
    slow.properties["Gravity"] = 900.0f;
    slow.properties["JumpGracePeriod"] = 0.3f;
    const std::unique_ptr<GameObject> given = BuildPlayerObject(slow);
    EXPECT_FLOAT_EQ(ControllerOf(*given).GetAcceleration(), 5000.0f);
    EXPECT_FLOAT_EQ(ControllerOf(*given).GetGravity(), 900.0f);
    EXPECT_FLOAT_EQ(ControllerOf(*given).GetJumpGracePeriod(), 0.3f);
    EXPECT_FLOAT_EQ(ControllerOf(*given).GetForgivingTimingDelay(), 0.1f);
}

TEST(PlayerBuilder, KeysAreExactAndTypesMustMatch)
{
    SceneObjectData data = PlayerRecord();
    data.properties["myWallJumpVerticalForceMult"] = 0.5f;
    data.properties["HP"] = 5.0f;
    data.properties["God Mode"] = 1;
    const std::unique_ptr<GameObject> ignored = BuildPlayerObject(data);
    EXPECT_FLOAT_EQ(ControllerOf(*ignored).GetWallJumpVerticalForceMult(), 0.15f);
    EXPECT_EQ(DamageableOf(*ignored).GetMaxHp(), 2);
    EXPECT_FALSE(DamageableOf(*ignored).IsInvulnerable());

    data.properties["myWallJumpVerticalForceMult "] = 0.5f;
    data.properties["HP"] = 5;
    data.properties["Damage Per Hit"] = 2;
    data.properties["God Mode"] = true;
    const std::unique_ptr<GameObject> taken = BuildPlayerObject(data);
    EXPECT_FLOAT_EQ(ControllerOf(*taken).GetWallJumpVerticalForceMult(), 0.5f);
    EXPECT_EQ(DamageableOf(*taken).GetMaxHp(), 5);
    EXPECT_EQ(DamageableOf(*taken).GetDamagePerHit(), 2);
    EXPECT_TRUE(DamageableOf(*taken).IsInvulnerable());
}

TEST(PlayerBuilder, ComponentsComeInTheirUpdateOrderWithTheClipsInIndexOrder)
{
    const std::unique_ptr<GameObject> player = BuildPlayerObject(PlayerRecord());
    const auto& components = player->GetComponents();
    ASSERT_EQ(components.size(), 6u);
    EXPECT_EQ(typeid(*components[0]), typeid(AnimatedMeshComponent));
    EXPECT_EQ(typeid(*components[1]), typeid(PlayerAnimator));
    EXPECT_EQ(typeid(*components[2]), typeid(PlayerController));
    EXPECT_EQ(typeid(*components[3]), typeid(DamageableComponent));
    EXPECT_EQ(typeid(*components[4]), typeid(BoxColliderComponent));
    EXPECT_EQ(typeid(*components[5]), typeid(SpeechBubbleComponent));
    const SpeechBubbleComponent& bubble = ComponentOf<SpeechBubbleComponent>(*player);
    EXPECT_FALSE(bubble.ShouldDisappear());
    EXPECT_EQ(bubble.GetFollowMode(), 1);
    EXPECT_TRUE(bubble.GetText().empty());
    EXPECT_FALSE(player->IsStarted());

    EXPECT_EQ(ComponentOf<AnimatedMeshComponent>(*player).GetModelPath(), "models\\SK\\CH_Player.fbx");
    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*player);
    EXPECT_EQ(box.GetSize(), Qel::Vector3<float>(50.0f, 150.0f, 50.0f));
    EXPECT_EQ(box.GetOffset(), Qel::Vector3<float>(0.0f, 75.0f, 0.0f));
    EXPECT_FALSE(box.IsTrigger());
    EXPECT_FALSE(box.FollowsOwner());

    const auto& clips = ComponentOf<PlayerAnimator>(*player).GetClips();
    ASSERT_EQ(clips.size(), 36u);
    EXPECT_EQ(clips[0].path, "Animations/Player/CH_Playercharacter_introStart.fbx");
    EXPECT_TRUE(clips[0].loop);
    EXPECT_EQ(clips[16].path, "Animations/Player/CH_Playercharacter_edgeFallStart.fbx");
    EXPECT_FALSE(clips[16].loop);
    EXPECT_EQ(clips[25].path, "Animations/Player/CH_Playercharacter_wallSlide_left.fbx");
    EXPECT_TRUE(clips[25].loop);
    EXPECT_EQ(clips[35].path, "Animations/Player/CH_Playercharacter_endCutscene.fbx");
    int loops = 0;
    for (const AnimationClip& clip : clips)
    {
        loops += clip.loop ? 1 : 0;
    }
    EXPECT_EQ(loops, 14);

    SceneObjectData modelless = PlayerRecord();
    modelless.model.clear();
    const std::unique_ptr<GameObject> bare = BuildPlayerObject(modelless);
    EXPECT_EQ(bare->GetComponent<AnimatedMeshComponent>(), nullptr);
    ASSERT_EQ(bare->GetComponents().size(), 5u);
    EXPECT_EQ(typeid(*bare->GetComponents()[0]), typeid(PlayerAnimator));
}

TEST(PlayerBuilder, ThePlayerTagIsRegistered)
{
    RegisterGameObjectFactories();
    const std::unique_ptr<GameObject> player = GameObjectFactory::GetInstance().Create(PlayerRecord());
    ASSERT_NE(player, nullptr);
    EXPECT_NE(player->GetComponent<PlayerController>(), nullptr);
}
