// Where the contact rules show an effect: a sprite-sheet effect at a world position, size 1, facing the
// player's way (+1 right, -1 left).
#pragma once

#include "vek/Math/Vector3.h"

#include <string>

void SpawnContactEffect(const std::string& anId, const Qel::Vector3<float>& aPosition, float aFacing);
