// The building blocks every tag builder shares, and the builder of objects that are only a model.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <memory>

// A plain object named after the scene object.
std::unique_ptr<GameObject> MakeGameObject(const SceneObjectData& aData);
// A plain object with a MeshComponent for the model, when there is one.
std::unique_ptr<GameObject> BuildMeshOnlyObject(const SceneObjectData& aData);
// Ground and platform tiles: a mesh-only object whose solid box is the fixed tile (100 x 100 x 200
// from the object's position), whatever the object's scale or properties.
std::unique_ptr<GameObject> BuildGroundBoxObject(const SceneObjectData& aData);
