// Turns one scene file into the game's objects: the engine loads the scene, each scene object's
// properties (its definition's, with its own values over them) become a SceneObjectData record, the
// factory builds an object from it by tag, and every first mesh gets the render mode the scene's fog
// asks for. Runs on the scene-load task; the objects come back unstarted, in the scene's own order,
// and nothing here touches GL or the world. Bad level data leaves as an exception.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <future>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Qel
{
class SceneObject;
class SceneObjectDefinitionManager;
struct PropertyDefinition;
} // namespace Qel

class SceneImportService
{
public:
    // Over the definitions of the game asset root, read once per process.
    static std::vector<std::unique_ptr<GameObject>> LoadSceneObjects(const std::string& aScenePath);
    // Reads the game asset root's definitions on a task, so the first load finds them read; a ready
    // future once they are read. A failure is left for the load to meet and report.
    static std::future<void> StartDefinitionsWarmUp();
    // Over definitions of the caller's.
    static std::vector<std::unique_ptr<GameObject>>
    LoadSceneObjects(const std::string& aScenePath, const Qel::SceneObjectDefinitionManager& aDefinitions);

    // Whether a model path names an existing asset, by interned path text, so one load asks the file
    // system once per model.
    using ModelPathCache = std::unordered_map<const char*, bool>;

    // The record the factory receives for one scene object, from its merged properties.
    static SceneObjectData ExtractObjectData(const Qel::SceneObject& aObject,
                                             const std::vector<Qel::PropertyDefinition>& aMergedProperties,
                                             ModelPathCache* aModelPathCache = nullptr);
};
