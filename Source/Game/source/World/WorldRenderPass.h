// Draws the level: every object, then the effects. Lights, fog, culling and the parallax layers arrive
// with the meshes that use them. Main thread.
#pragma once

#include "Objects/GameObject.h"

#include <memory>
#include <vector>

class CameraController;
class VfxSystem;

void RenderSceneObjects(const std::vector<std::unique_ptr<GameObject>>& aObjects, CameraController& aCamera,
                        VfxSystem& aVfx, bool aDirectionalLightOn, bool aAmbientLightOn, bool aCullingOn);
