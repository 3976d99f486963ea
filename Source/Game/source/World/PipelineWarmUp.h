// Draws every mesh of a loaded level once, with the blend and depth states the world's pass gives it,
// on the back buffer and depth buffer through an empty viewport. A software driver that builds its
// shader variants for a pipeline and its targets' formats at their first draw then builds the level's
// while the level loads, not in its first drawn frame. Main thread.
#pragma once

#include "Objects/GameObject.h"

#include <memory>
#include <vector>

// The bound targets, the viewport and the render states are as they were afterwards.
void WarmUpMeshPipelines(const std::vector<std::unique_ptr<GameObject>>& someObjects);
