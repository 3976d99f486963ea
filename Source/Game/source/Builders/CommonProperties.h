// The properties every built object shares, whatever its tag: render mode, texture atlas, persistence
// and hover sway. Run on the scene-load task.
#pragma once

#include "Builders/SceneObjectData.h"

#include <string>

class GameObject;

// "lambert" 1, "pbr" 2 (any case), anything else 0.
int ParseRenderMode(const std::string& aText);

// With "UseAtlas" true and a MeshComponent on the object: its atlas flag and the four atlas textures
// ("" for a missing key).
void ApplyAtlasProperties(GameObject* aObject, const SceneObjectData& aData);
// "Persistent" true makes the object persistent; anything else changes nothing.
void ApplyPersistentProperty(GameObject* aObject, const SceneObjectData& aData);
// With "HoverEnabled" true: the object's first HoverComponent (one is added when it has none) gets the
// hover keys, or their defaults, and is hover-enabled.
void ApplyHoverProperties(GameObject* aObject, const SceneObjectData& aData);
