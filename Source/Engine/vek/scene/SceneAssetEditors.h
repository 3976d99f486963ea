// Inspector editors of the asset-reference values, in the two-column property table.
//
// A path is set by dropping an asset whose drag-and-drop payload type is its file extension (".vks",
// ".vkac", ".fbx", ".dds") and whose payload is the path text, by the optional asset-browser callback,
// or cleared. Each editor writes through GetMutable at most once per call, so shared values are cloned
// first. Without a label an editor only shows its main path (or "None") and returns false.
//
// The model editor lists the model's meshes for per-mesh textures through a query that the model
// side installs; without one (or when the model cannot be loaded) it shows no "Textures" section.
// Both hooks are process-wide and meant to be set once, before editors are drawn.
#pragma once

#include "vek/scene/SceneAssets.h"

#include <string>
#include <vector>

namespace Qel
{
// Fills aPath with the asset chosen in the host's asset browser (the null id when none).
using AssetBrowserCallback = void (*)(StringId& aPath);
void SetAssetBrowserCallback(AssetBrowserCallback aCallback);
AssetBrowserCallback GetAssetBrowserCallback();

// Fills aMeshNames with the meshes of the model at aPath, in mesh order; false when it cannot be loaded.
using SceneModelMeshQuery = bool (*)(StringId aPath, std::vector<std::string>& aMeshNames);
void SetSceneModelMeshQuery(SceneModelMeshQuery aQuery);

bool DrawSceneModelEditor(SceneModelHandle& aHandle, const char* aLabel, const char* aTooltip);
bool DrawSceneSpriteEditor(SceneSpriteHandle& aHandle, const char* aLabel, const char* aTooltip);
bool DrawSceneReferenceEditor(SceneReferenceHandle& aHandle, const char* aLabel, const char* aTooltip);
bool DrawAnimationClipReferenceEditor(AnimationClipReferenceHandle& aHandle, const char* aLabel,
                                      const char* aTooltip);
} // namespace Qel
