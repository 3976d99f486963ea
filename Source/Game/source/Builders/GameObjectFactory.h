// The process-wide registry that turns a scene object into a game object by its tag: one builder per
// tag and a default for the rest. Create then applies what every object shares: transform, tag, render
// mode, atlas, persistence and hover. Builders are registered once on the main thread before any load;
// Create runs on the scene-load task and only reads the registry.
#pragma once

#include "Builders/SceneObjectData.h"
#include "Objects/GameObject.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

class GameObjectFactory
{
public:
    using Builder = std::function<std::unique_ptr<GameObject>(const SceneObjectData&)>;

    static GameObjectFactory& GetInstance();

    // A later builder for the same tag replaces the earlier one.
    void Register(const std::string& aTag, Builder aBuilder);
    void SetDefault(Builder aBuilder);

    // The tag is trimmed and looked up exactly, then without regard to case (the object then takes the
    // registered spelling); unmatched tags go to the default builder, or without one become a plain
    // object with a mesh for the model. Null when the builder returns null.
    std::unique_ptr<GameObject> Create(const SceneObjectData& aData) const;

    // Forgets every builder, for tests that fill the registry their own way.
    void Clear();

private:
    GameObjectFactory() = default;

    std::unordered_map<std::string, Builder> myFactories;
    Builder myDefaultFactory;
};
