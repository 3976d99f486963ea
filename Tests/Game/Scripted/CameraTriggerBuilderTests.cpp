// The camera-trigger and dialogue builders: keys, defaults, links, and the dialogue look-ups.
#include "Game/Dialogue/DialogueDocument.h"
#include "Game/Support/ComponentOf.h"

#include "Builders/CameraTriggerBuilders.h"
#include "Builders/GameObjectFactory.h"
#include "Builders/RegisterGameObjectFactories.h"
#include "Collision/BoxColliderComponent.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Scripted/CutsceneComponent.h"
#include "Scripted/LockCameraTriggerComponent.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace ScriptedTest;
using Vector3f = Qel::Vector3<float>;

namespace
{
SceneObjectData Record(const std::string& aTag)
{
    SceneObjectData data;
    data.name = aTag + "_01";
    data.tag = aTag;
    return data;
}

} // namespace

TEST(CameraTriggerBuilders, ABareLockTriggerHasItsBuilderDefaultsAndNoCutscene)
{
    const std::unique_ptr<GameObject> object = BuildLockCamTriggerObject(Record("LockCamTrigger"));
    const auto& components = object->GetComponents();
    ASSERT_EQ(components.size(), 2u);
    EXPECT_EQ(typeid(*components[0]), typeid(BoxColliderComponent));
    EXPECT_EQ(typeid(*components[1]), typeid(LockCameraTriggerComponent));

    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*object);
    EXPECT_EQ(box.GetSize(), Vector3f(5000.0f, 500.0f, 200.0f));
    EXPECT_EQ(box.GetOffset(), Vector3f(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(box.IsTrigger());
    EXPECT_FALSE(box.FollowsOwner());

    const LockCameraTriggerComponent& lock = ComponentOf<LockCameraTriggerComponent>(*object);
    EXPECT_EQ(lock.GetTriggerBox(), &box);
    EXPECT_EQ(lock.GetCutscene(), nullptr);
    // The component's own default is owner-relative; the builder's is world space.
    EXPECT_FALSE(lock.IsOwnerRelative());
    EXPECT_EQ(lock.GetRawTargetPosition(), Vector3f(0.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(lock.GetTargetFovDegrees(), 30.0f);
    EXPECT_FLOAT_EQ(lock.GetFovLerpSpeed(), 8.0f);
    EXPECT_FLOAT_EQ(lock.GetPositionLerpSpeed(), 8.0f);
    EXPECT_TRUE(lock.ShouldUnlockOnExit());
}

TEST(CameraTriggerBuilders, LockTriggerKeysReachTheComponentsAndWrongTypesGiveDefaults)
{
    SceneObjectData data = Record("LockCamTrigger");
    data.properties["TriggerSize"] = Vector3f(800.0f, 400.0f, 100.0f);
    data.properties["TargetPosition"] = Vector3f(10.0f, 20.0f, -30.0f);
    data.properties["UseOwnerRelativePosition"] = true;
    data.properties["TargetFovDegrees"] = 45.0f;
    data.properties["FovLerpSpeed"] = 2.0f;
    data.properties["PositionLerpSpeed"] = 3; // an int is not a float
    data.properties["UnlockOnExit"] = false;
    data.properties["IsCutscene"] = true;
    data.properties["CutsceneDuration"] = 4.5f;
    data.properties["PlayerWalkSpeed"] = 300.0f;
    data.properties["UnlockOnEnd"] = false;
    data.properties["FirstSegmentDuration"] = 1.0f;
    data.properties["FirstSegmentStartDelay"] = 0.5f;
    data.properties["FirstSegmentShouldWalk"] = true;
    data.properties["FirstSegmentLocalCoords"] = true;
    data.properties["FirstSegmentEndPosition"] = Vector3f(100.0f, 0.0f, 0.0f);
    data.properties["SecondSegmentDuration"] = 2.0f;
    data.properties["SecondSegmentStartDelay"] = 1.5f;
    data.properties["SecondSegmentShouldWalk"] = true;
    data.properties["SecondSegmentLocalCoords"] = false;
    data.properties["SecondSegmentEndPosition"] = Vector3f(900.0f, 0.0f, 0.0f);
    data.properties["CutsceneName"] = std::string("Outro");
    data.model = "models/StaticMeshes/SM_Trigger.fbx";

    const std::unique_ptr<GameObject> object = BuildLockCamTriggerObject(data);
    ASSERT_EQ(object->GetComponents().size(), 4u);
    EXPECT_EQ(typeid(*object->GetComponents()[3]), typeid(CutsceneComponent));
    EXPECT_EQ(ComponentOf<BoxColliderComponent>(*object).GetSize(), Vector3f(800.0f, 400.0f, 100.0f));

    const LockCameraTriggerComponent& lock = ComponentOf<LockCameraTriggerComponent>(*object);
    EXPECT_TRUE(lock.IsOwnerRelative());
    EXPECT_EQ(lock.GetRawTargetPosition(), Vector3f(10.0f, 20.0f, -30.0f));
    EXPECT_FLOAT_EQ(lock.GetTargetFovDegrees(), 45.0f);
    EXPECT_FLOAT_EQ(lock.GetFovLerpSpeed(), 2.0f);
    EXPECT_FLOAT_EQ(lock.GetPositionLerpSpeed(), 8.0f);
    EXPECT_FALSE(lock.ShouldUnlockOnExit());

    const CutsceneComponent& cutscene = ComponentOf<CutsceneComponent>(*object);
    EXPECT_EQ(lock.GetCutscene(), &cutscene);
    EXPECT_EQ(cutscene.GetLockCameraTrigger(), &lock);
    EXPECT_EQ(cutscene.GetCutsceneName(), "Outro");
    EXPECT_FLOAT_EQ(cutscene.GetCutsceneDuration(), 4.5f);
    EXPECT_FLOAT_EQ(cutscene.GetPlayerWalkSpeed(), 300.0f);
    EXPECT_FALSE(cutscene.ShouldUnlockOnEnd());
    const CutsceneComponent::Segment& first = cutscene.GetSegment(0);
    EXPECT_FLOAT_EQ(first.duration, 1.0f);
    EXPECT_FLOAT_EQ(first.startDelay, 0.5f);
    EXPECT_TRUE(first.shouldWalk);
    EXPECT_TRUE(first.isLocal);
    EXPECT_EQ(first.endPosition, Vector3f(100.0f, 0.0f, 0.0f));
    const CutsceneComponent::Segment& second = cutscene.GetSegment(1);
    EXPECT_FLOAT_EQ(second.duration, 2.0f);
    EXPECT_FLOAT_EQ(second.startDelay, 1.5f);
    EXPECT_TRUE(second.shouldWalk);
    EXPECT_FALSE(second.isLocal);
    EXPECT_EQ(second.endPosition, Vector3f(900.0f, 0.0f, 0.0f));
}

TEST(CameraTriggerBuilders, ACutsceneWithoutKeysIsAnIntroThatNeverWalks)
{
    SceneObjectData data = Record("LockCamTrigger");
    data.properties["IsCutscene"] = true;
    const std::unique_ptr<GameObject> object = BuildLockCamTriggerObject(data);
    const CutsceneComponent& cutscene = ComponentOf<CutsceneComponent>(*object);
    EXPECT_EQ(cutscene.GetCutsceneName(), "Intro");
    EXPECT_FLOAT_EQ(cutscene.GetCutsceneDuration(), 0.0f);
    EXPECT_FLOAT_EQ(cutscene.GetPlayerWalkSpeed(), 0.0f);
    EXPECT_TRUE(cutscene.ShouldUnlockOnEnd());
    for (int segment = 0; segment < 2; ++segment)
    {
        EXPECT_FALSE(cutscene.GetSegment(segment).shouldWalk);
        EXPECT_FLOAT_EQ(cutscene.GetSegment(segment).duration, 0.0f);
        EXPECT_FLOAT_EQ(cutscene.GetSegment(segment).startDelay, 0.0f);
    }
}

TEST(CameraTriggerBuilders, AnAutocamTriggerGetsAFixedTriggerBoxFromItsKeys)
{
    SceneObjectData data = Record("AutocamTrigger");
    EXPECT_EQ(ComponentOf<BoxColliderComponent>(*BuildAutocamTriggerObject(data)).GetSize(),
              Vector3f(0.0f, 0.0f, 0.0f));
    data.properties["TriggerBoxSize"] = Vector3f(300.0f, 200.0f, 100.0f);
    data.properties["BoxTriggerOffset"] = Vector3f(0.0f, 100.0f, 0.0f);
    const std::unique_ptr<GameObject> object = BuildAutocamTriggerObject(data);
    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*object);
    EXPECT_EQ(box.GetSize(), Vector3f(300.0f, 200.0f, 100.0f));
    EXPECT_EQ(box.GetOffset(), Vector3f(0.0f, 100.0f, 0.0f));
    EXPECT_TRUE(box.IsTrigger());
    EXPECT_FALSE(box.FollowsOwner());
    EXPECT_TRUE(BuildAutocamObject(Record("Autocam"))->GetComponents().empty());
}

TEST(CameraTriggerBuilders, ADialogueGetsATriggerBoxOnlyWithTriggerOn)
{
    DialogueStack stack;
    SceneObjectData data = Record("Dialogue");
    data.properties["Radius"] = 400.0f;
    data.properties["Time"] = 5.0f;
    data.properties["ShouldDisappear"] = false;
    data.properties["Offset"] = Vector3f(0.0f, 300.0f, 0.0f);
    const std::unique_ptr<GameObject> silent = BuildDialogueObject(data);
    ASSERT_EQ(silent->GetComponents().size(), 1u);
    const SpeechBubbleComponent& bubble = ComponentOf<SpeechBubbleComponent>(*silent);
    EXPECT_FALSE(bubble.IsTriggerOn());
    EXPECT_FALSE(bubble.ShouldDisappear());
    EXPECT_EQ(bubble.GetFollowMode(), 0);
    EXPECT_FLOAT_EQ(bubble.GetDisplayTime(), 5.0f);
    EXPECT_FLOAT_EQ(bubble.GetDisplayTimer(), 5.0f);
    EXPECT_EQ(bubble.GetOffset(), Vector3f(0.0f, 300.0f, 0.0f));
    EXPECT_EQ(bubble.GetTarget(), silent.get());
    EXPECT_TRUE(bubble.IsVisible());

    data.properties["TriggerOn"] = true;
    const std::unique_ptr<GameObject> triggered = BuildDialogueObject(data);
    ASSERT_EQ(triggered->GetComponents().size(), 2u);
    EXPECT_TRUE(ComponentOf<SpeechBubbleComponent>(*triggered).IsTriggerOn());
    const BoxColliderComponent& box = ComponentOf<BoxColliderComponent>(*triggered);
    EXPECT_EQ(box.GetSize(), Vector3f(400.0f, 400.0f, 400.0f));
    EXPECT_TRUE(box.IsTrigger());
    EXPECT_FALSE(box.FollowsOwner());
}

TEST(CameraTriggerBuilders, DialogueLinesComeFromTheTableAndUnknownKeysShowThePlaceholder)
{
    DialogueStack stack;
    SceneObjectData data = Record("Dialogue");
    const std::unique_ptr<GameObject> unnamed = BuildDialogueObject(data);
    EXPECT_EQ(ComponentOf<SpeechBubbleComponent>(*unnamed).GetText(), PLACEHOLDER_DIALOGUE_TEXT);
    EXPECT_TRUE(ComponentOf<SpeechBubbleComponent>(*unnamed).GetBubbleSpriteName().empty());
    EXPECT_EQ(ComponentOf<SpeechBubbleComponent>(*unnamed).GetOffset(), Vector3f(0.0f, 0.0f, 0.0f));

    data.properties["Text"] = std::string("Jump");
    data.properties["Offset"] = Vector3f(5.0f, 6.0f, 7.0f);
    const std::unique_ptr<GameObject> jump = BuildDialogueObject(data);
    const SpeechBubbleComponent& hint = ComponentOf<SpeechBubbleComponent>(*jump);
    EXPECT_EQ(hint.GetText(), "Up you go");
    EXPECT_EQ(hint.GetBubbleSpriteName(), "Hint.dds");
    // The hint's own layout replaces the scene's offset.
    EXPECT_EQ(hint.GetOffset(), Vector3f(1450.0f, 0.0f, 0.0f));
    EXPECT_EQ(hint.GetScreenOffset(), Qel::Vector2<float>(-500.0f, 110.0f));
    EXPECT_FALSE(hint.IsSizedByText());

    for (const char* key : {"NoSuchLine", "Broken"})
    {
        data.properties["Text"] = std::string(key);
        const std::unique_ptr<GameObject> missing = BuildDialogueObject(data);
        const SpeechBubbleComponent& placeholder = ComponentOf<SpeechBubbleComponent>(*missing);
        EXPECT_EQ(placeholder.GetText(), PLACEHOLDER_DIALOGUE_TEXT) << key;
        EXPECT_TRUE(placeholder.GetBubbleSpriteName().empty()) << key;
        EXPECT_EQ(placeholder.GetOffset(), Vector3f(5.0f, 6.0f, 7.0f)) << key;
    }
}

TEST(CameraTriggerBuilders, WithoutAStackEveryDialogueKeyShowsThePlaceholder)
{
    ASSERT_EQ(StateStack::GetInstance(), nullptr);
    SceneObjectData data = Record("Dialogue");
    data.properties["Text"] = std::string("Jump");
    const std::unique_ptr<GameObject> object = BuildDialogueObject(data);
    EXPECT_EQ(ComponentOf<SpeechBubbleComponent>(*object).GetText(), PLACEHOLDER_DIALOGUE_TEXT);
}

TEST(CameraTriggerBuilders, TheFourTagsAreRegistered)
{
    RegisterGameObjectFactories();
    GameObjectFactory& factory = GameObjectFactory::GetInstance();
    EXPECT_NE(factory.Create(Record("LockCamTrigger"))->GetComponent<LockCameraTriggerComponent>(), nullptr);
    EXPECT_NE(factory.Create(Record("Dialogue"))->GetComponent<SpeechBubbleComponent>(), nullptr);
    EXPECT_NE(factory.Create(Record("AutocamTrigger"))->GetComponent<BoxColliderComponent>(), nullptr);
    EXPECT_NE(factory.Create(Record("Autocam")), nullptr);
}
