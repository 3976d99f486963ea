// The builders of the animated opponents: the small and the armoured walking enemy, the boss and the
// eye that wakes the blood sea. Each gets its animated mesh, its animator with the clip list its states
// index, and its behaviour and collision components. Run on the scene-load task; nothing is started.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <memory>

std::unique_ptr<GameObject> BuildSchnozIIObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildSchnozIIIObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildBossObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildEyeInTheSkyObject(const SceneObjectData& aData);
