// The builders of the level's pickups, gates, hazards and effect objects: the exit door, checkpoints,
// keys, coins, hearts, the scoring object, the blood sea, kill volumes, effect emitters and the fog.
// Each reads its scene properties (a missing one, or one of another type, takes the default written
// here), adds its components in update order and starts nothing. Run on the scene-load task.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <memory>

std::unique_ptr<GameObject> BuildLevelEndObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildCheckpointObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildKeyObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildCoinObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildPowerUpObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildRankingSystemObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildBreakableBlockObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildBloodSeaObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildDeathBoxObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildVfxEmitterObject(const SceneObjectData& aData);
std::unique_ptr<GameObject> BuildFogObject(const SceneObjectData& aData);
