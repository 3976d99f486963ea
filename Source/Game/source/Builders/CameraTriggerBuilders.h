// Builders of the objects that steer the camera and show speech bubbles: "Autocam", "AutocamTrigger",
// "LockCamTrigger" (with its optional cut-scene) and "Dialogue".
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <memory>

// What a "Dialogue" without a line, or with a line the dialogue file lacks, says.
inline constexpr const char* PLACEHOLDER_DIALOGUE_KEY = "Null";
inline constexpr const char* PLACEHOLDER_DIALOGUE_TEXT = "Draskel: Programmer Debug Edition\n";

std::unique_ptr<GameObject> BuildAutocamObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildAutocamTriggerObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildLockCamTriggerObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildDialogueObject(const SceneObjectData& aData);
