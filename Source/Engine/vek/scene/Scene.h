// A loaded scene: its path, name and objects, each held by a shared pointer under the small id of its
// UUID, plus a count of objects per path.
//
// Objects are kept in the order they were first added, so every pass over a scene sees the same order
// on every run; an object added under an id already present replaces the old one in its place. A scene
// is neither copied nor moved and belongs to one thread at a time.
#pragma once

#include "vek/scene/SceneObject.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Qel
{
class SceneObjectMap
{
public:
    using Entry = std::pair<std::uint32_t, std::shared_ptr<SceneObject>>;

    auto begin() const { return myEntries.cbegin(); }
    auto end() const { return myEntries.cend(); }
    std::size_t size() const { return myEntries.size(); }
    bool empty() const { return myEntries.empty(); }

    // Null when no object is stored under aId.
    std::shared_ptr<SceneObject> Find(std::uint32_t aId) const;
    void InsertOrReplace(std::uint32_t aId, std::shared_ptr<SceneObject> aObject);
    void Clear();

private:
    std::vector<Entry> myEntries;
    std::unordered_map<std::uint32_t, std::size_t> myIndexById;
};

class Scene
{
public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    ~Scene() = default;

    // Adds a copy of aPrototype under the id of aUuid (0 for a missing or malformed UUID). The pointer
    // stays valid while the scene holds the object.
    std::pair<std::uint32_t, SceneObject*> CreateSceneObject(const char* aUuid,
                                                             const SceneObject& aPrototype);
    // As above, taking over aObject instead of copying it.
    std::pair<std::uint32_t, SceneObject*> CreateSceneObject(const char* aUuid, SceneObject&& aObject);

    const SceneObjectMap& GetObjects() const { return myObjects; }
    // Keyed by path text; the null path counts every object ever created in the scene.
    const std::map<StringId, std::uint32_t>& GetObjectCountPerPath() const { return myObjectCountPerPath; }
    std::uint32_t GetObjectCount(StringId aPath) const;
    // Releases every object and forgets every count, so a loader that fails half-way can start over.
    void ClearObjects();

    std::string myPath;
    std::string myName = "untitled";

private:
    friend class SceneObject;
    void AddPathCount(StringId aPath);
    void RemovePathCount(StringId aPath);

    SceneObjectMap myObjects;
    std::map<StringId, std::uint32_t> myObjectCountPerPath;
};
} // namespace Qel
