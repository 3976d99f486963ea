// Builds the node, material, skin and animation parts of a Scene from a parsed record tree (the
// geometry comes from FbxGeometry). Pure function of its input; use from any thread.
#pragma once

#include "Platform/Fbx/FbxRecords.h"
#include "Platform/Fbx/FbxScene.h"

#include <string>

namespace Qel::Fbx
{
// Fills aScene from the records; false with aError when the records are not a usable FBX scene.
bool ReadSceneRecords(const Record& aRoot, Scene& aScene, std::string& aError);
} // namespace Qel::Fbx
