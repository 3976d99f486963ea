// Json forms of the asset-reference values.
//
// Every reader starts from a fresh private object, so keys missing from the json give the defaults and
// a handle that shared its object with others never changes theirs. Malformed forms raise the json
// library's own exceptions (302 wrong kind, 306 value() on a non-object); a "Sprite" that is not an
// object reads as the default sprite.
#pragma once

#include "vek/scene/SceneAssets.h"

#include <nlohmann/json_fwd.hpp>

namespace Qel
{
void SceneModelFromJson(SceneModelHandle& aHandle, const nlohmann::json& aJson);
void SceneModelToJson(const SceneModelHandle& aHandle, nlohmann::json& aOut);

void SceneSpriteFromJson(SceneSpriteHandle& aHandle, const nlohmann::json& aJson);
void SceneSpriteToJson(const SceneSpriteHandle& aHandle, nlohmann::json& aOut);

void SceneReferenceFromJson(SceneReferenceHandle& aHandle, const nlohmann::json& aJson);
void SceneReferenceToJson(const SceneReferenceHandle& aHandle, nlohmann::json& aOut);

void AnimationClipReferenceFromJson(AnimationClipReferenceHandle& aHandle, const nlohmann::json& aJson);
void AnimationClipReferenceToJson(const AnimationClipReferenceHandle& aHandle, nlohmann::json& aOut);
} // namespace Qel
