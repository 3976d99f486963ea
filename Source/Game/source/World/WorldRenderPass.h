// Draws one frame of the level: camera, lights and fog, the ordinary objects nearest first (static meshes
// outside the view left out), then the parallax background layers far to near with blending, the queued
// sprites and the effects. Main thread.
#pragma once

#include "Objects/GameObject.h"

#include <memory>
#include <vector>

namespace Qel
{
class Frustum;
class Matrix4x4;
} // namespace Qel

class CameraController;
class MeshComponent;
class VfxSystem;

// What one frame draws, in draw order.
struct WorldDrawLists
{
    // Every active object that is not a layer and not culled, in list order (the pass draws them
    // front to back).
    std::vector<GameObject*> ordinary;
    // The parallax layers, farthest (largest z) first; equal z keep list order.
    std::vector<GameObject*> layers;
    // How many active "Fog" objects set the fog; the last one's record stands.
    int fogObjectCount = 0;
};

void RenderSceneObjects(const std::vector<std::unique_ptr<GameObject>>& aObjects, CameraController& aCamera,
                        VfxSystem& aVfx, bool aDirectionalLightOn, bool aAmbientLightOn, bool aCullingOn);

// aFrustum null: nothing is culled.
WorldDrawLists CollectWorldDrawLists(const std::vector<std::unique_ptr<GameObject>>& aObjects,
                                     const Qel::Frustum* aFrustum);
bool IsParallaxLayer(const GameObject& aObject);
// A sphere test per sub-mesh; an object without a model or with no scale is always visible.
bool IsInViewFrustum(GameObject& aObject, const MeshComponent& aMesh, const Qel::Frustum& aFrustum);
void SortParallaxLayers(std::vector<GameObject*>& someLayers);
// The opaque objects nearest the camera first, so the depth test rejects hidden pixels before they
// are shaded; objects that queue sprites keep their list order, after the rest, since the sprites'
// order follows it. Equal depths keep list order.
void SortOpaqueFrontToBack(std::vector<GameObject*>& someObjects, const Qel::Matrix4x4& aWorldToView);
