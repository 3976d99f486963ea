#include "Builders/CameraTriggerBuilders.h"

#include "Builders/BasicBuilders.h"
#include "Collision/BoxColliderComponent.h"
#include "Dialogue/DialogueTable.h"
#include "Dialogue/SpeechBubbleComponent.h"
#include "Scripted/CutsceneComponent.h"
#include "Scripted/LockCameraTriggerComponent.h"

#include <iostream>

namespace
{
using Vector3f = Qel::Vector3<float>;

float Float(const SceneObjectData& aData, const char* aKey, float aDefault)
{
    float value = aDefault;
    aData.TryGetFloat(aKey, value);
    return value;
}

bool Bool(const SceneObjectData& aData, const char* aKey, bool aDefault)
{
    bool value = aDefault;
    aData.TryGetBool(aKey, value);
    return value;
}

Vector3f Vector(const SceneObjectData& aData, const char* aKey, const Vector3f& aDefault)
{
    Vector3f value = aDefault;
    aData.TryGetVector3(aKey, value);
    return value;
}

void AddFixedTriggerBox(GameObject& anObject, const Vector3f& aSize, const Vector3f& anOffset)
{
    anObject.AddComponent<BoxColliderComponent>(aSize, anOffset, true, false);
}

void ApplyCutsceneProperties(const SceneObjectData& aData, CutsceneComponent& aCutscene)
{
    const Vector3f zero{0.0f, 0.0f, 0.0f};
    aCutscene.SetCutsceneDuration(Float(aData, "CutsceneDuration", 0.0f));
    aCutscene.SetPlayerWalkSpeed(Float(aData, "PlayerWalkSpeed", 0.0f));
    aCutscene.SetUnlockOnEnd(Bool(aData, "UnlockOnEnd", true));
    aCutscene.SetFirstSegmentDuration(Float(aData, "FirstSegmentDuration", 0.0f));
    aCutscene.SetFirstSegmentStartDelay(Float(aData, "FirstSegmentStartDelay", 0.0f));
    aCutscene.SetFirstSegmentShouldWalk(Bool(aData, "FirstSegmentShouldWalk", false));
    aCutscene.SetFirstSegmentLocalCoords(Bool(aData, "FirstSegmentLocalCoords", false));
    aCutscene.SetFirstSegmentEndPosition(Vector(aData, "FirstSegmentEndPosition", zero));
    aCutscene.SetSecondSegmentDuration(Float(aData, "SecondSegmentDuration", 0.0f));
    aCutscene.SetSecondSegmentStartDelay(Float(aData, "SecondSegmentStartDelay", 0.0f));
    aCutscene.SetSecondSegmentShouldWalk(Bool(aData, "SecondSegmentShouldWalk", false));
    aCutscene.SetSecondSegmentLocalCoords(Bool(aData, "SecondSegmentLocalCoords", false));
    aCutscene.SetSecondSegmentEndPosition(Vector(aData, "SecondSegmentEndPosition", zero));
    aCutscene.SetCutsceneName(aData.GetStringOrDefault("CutsceneName", "Intro"));
}

void ApplyDialogueLine(const SceneObjectData& aData, const std::string& aKey, SpeechBubbleComponent& aBubble)
{
    if (aKey == PLACEHOLDER_DIALOGUE_KEY)
    {
        aBubble.SetText(PLACEHOLDER_DIALOGUE_TEXT);
        return;
    }
    const std::optional<DialogueLine> line = FindDialogueLine(GetDialogueDocument(), aKey);
    if (!line)
    {
        std::cout << "[Dialogue] \"" << aData.name << "\" names the line \"" << aKey
                  << "\", which the dialogue settings lack; it shows the placeholder\n";
        aBubble.SetText(PLACEHOLDER_DIALOGUE_TEXT);
        return;
    }
    aBubble.SetBubbleSprite(line->bubbleSprite);
    aBubble.SetText(line->text);
    if (aKey == "Jump")
    {
        aBubble.SetSizeFromScreen(1.0f, 0.5f);
        aBubble.SetScreenOffset({-500.0f, 110.0f});
        aBubble.SetOffset({1450.0f, 0.0f, 0.0f});
    }
}
} // namespace

std::unique_ptr<GameObject> BuildAutocamObject(const SceneObjectData& aData)
{
    return BuildMeshOnlyObject(aData);
}

std::unique_ptr<GameObject> BuildAutocamTriggerObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    const Vector3f zero{0.0f, 0.0f, 0.0f};
    AddFixedTriggerBox(*object, Vector(aData, "TriggerBoxSize", zero),
                       Vector(aData, "BoxTriggerOffset", zero));
    return object;
}

std::unique_ptr<GameObject> BuildLockCamTriggerObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    AddFixedTriggerBox(*object, Vector(aData, "TriggerSize", {5000.0f, 500.0f, 200.0f}), {0.0f, 0.0f, 0.0f});
    auto* lock = object->AddComponent<LockCameraTriggerComponent>();
    lock->SetTriggerBox(object->GetComponent<BoxColliderComponent>());
    lock->SetTargetPosition(Vector(aData, "TargetPosition", {0.0f, 0.0f, 0.0f}));
    lock->SetUseOwnerRelativePosition(Bool(aData, "UseOwnerRelativePosition", false));
    lock->SetTargetFovDegrees(Float(aData, "TargetFovDegrees", 30.0f));
    lock->SetFovLerpSpeed(Float(aData, "FovLerpSpeed", 8.0f));
    lock->SetPositionLerpSpeed(Float(aData, "PositionLerpSpeed", 8.0f));
    lock->SetUnlockOnExit(Bool(aData, "UnlockOnExit", true));
    if (Bool(aData, "IsCutscene", false))
    {
        auto* cutscene = object->AddComponent<CutsceneComponent>();
        cutscene->SetLockCameraTrigger(lock);
        ApplyCutsceneProperties(aData, *cutscene);
        lock->SetCutscene(cutscene);
    }
    return object;
}

std::unique_ptr<GameObject> BuildDialogueObject(const SceneObjectData& aData)
{
    std::unique_ptr<GameObject> object = BuildMeshOnlyObject(aData);
    const float time = Float(aData, "Time", 3.0f);
    const float radius = Float(aData, "Radius", 250.0f);
    const bool isTriggerOn = Bool(aData, "TriggerOn", false);
    const Vector3f offset = Vector(aData, "Offset", {0.0f, 0.0f, 0.0f});
    const std::string key = aData.GetStringOrDefault("Text", PLACEHOLDER_DIALOGUE_KEY);
    const bool shouldDisappear = Bool(aData, "ShouldDisappear", true);

    auto* bubble = object->AddComponent<SpeechBubbleComponent>(shouldDisappear, std::uint8_t{0});
    bubble->SetTarget(object.get());
    bubble->SetOffset(offset);
    bubble->SetDisplayTime(time);
    bubble->SetTriggerOn(isTriggerOn);
    if (isTriggerOn)
    {
        AddFixedTriggerBox(*object, {radius, radius, radius}, {0.0f, 0.0f, 0.0f});
    }
    ApplyDialogueLine(aData, key, *bubble);
    bubble->SetVisible(true);
    return object;
}
