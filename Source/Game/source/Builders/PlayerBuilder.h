// The builder of the "Player" scene object: the playable character with its animated mesh, animator
// and clips, movement controller with the tuning read from the scene, hit points and collision box.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <memory>

// The invulnerability after a hit, the same on every level.
inline constexpr float PLAYER_INVULNERABILITY_TIME = 2.5f;

std::unique_ptr<GameObject> BuildPlayerObject(const SceneObjectData& aData);
