// Turning parsed object records into scene objects: interning names and paths, finding property types
// and building their values, splitting transform matrices. Runs on the loading thread only, after the
// parse tasks are joined, since it uses the string registry, the property types and the value pools.
#pragma once

#include "vek/Math/Matrix4x4.h"
#include "vek/scene/ParsedSceneObject.h"
#include "vek/scene/Scene.h"

#include <array>
#include <filesystem>
#include <string_view>
#include <vector>

namespace Qel
{
// Writes translation, rotation (Euler degrees: roll, pitch, yaw as x, y, z) and scale from aMatrix.
void DecomposeTransformMatrix(SceneObject& aObject, const Matrix4x4& aMatrix);

// Adds one object per record to aScene, in record order; a later record whose uuid gives the same id
// replaces the earlier object. A property value its type cannot read leaves as a SceneDataError naming
// the object's file (aLevelDataPath / uuid) and the property, with the json error nested; the scene is
// then left without objects rather than with some of them.
void CreateSceneObjectsFromParsedObjects(const std::vector<ParsedSceneObject>& aRecords, Scene& aScene,
                                         const std::filesystem::path& aLevelDataPath = {});

namespace impl
{
// What every source of objects gives besides the properties, texts already interned.
struct SceneObjectFrame
{
    std::string_view myName;
    StringId myPath;
    StringId myObjectDefinition;
    const ParsedTransform* myTransform = nullptr;
};

// Refills aObject (reused between objects, so its property array keeps its room) from aFrame and
// empties its properties: the matrix split, then the separate parts win over it.
void BuildObjectFrame(const SceneObjectFrame& aFrame, SceneObject& aObject);
} // namespace impl
} // namespace Qel
