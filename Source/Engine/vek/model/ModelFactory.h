// The one door to models and skeletal clips: loads FBX files through the importer, converts its records
// into engine models and clips, caches both, hands out instances and players, owns the "Cube" and
// "Plane" primitives and drops a model from its cache when its file changes.
//
// Threads: the main thread, the loading tasks and the file-change callback all come here. The mutex
// guards the caches only; imports run without it, so several files import at once, while two requests
// for one key share one import (an in-flight entry per key). GetInstance may be called from any
// thread: exactly one instance is made.
#pragma once

#include "vek/model/Animation.h"
#include "vek/model/AnimationPlayer.h"
#include "vek/model/Model.h"
#include "vek/model/ModelInstance.h"

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Qel
{
class FileWatcher;
class Texture;

// 64-bit FNV-1a over the bytes of a text.
struct ModelPathHash
{
    std::size_t operator()(std::string_view aText) const;
};

// A clip is cached per (file, model): the key holds the model, so every cached clip keeps it alive.
struct AnimationKey
{
    std::string myPath;
    std::shared_ptr<Model> myModel;

    friend bool operator==(const AnimationKey& aLeft, const AnimationKey& aRight)
    {
        return aLeft.myPath == aRight.myPath && aLeft.myModel == aRight.myModel;
    }
};

// FNV-1a of the model pointer's eight bytes (least significant first) plus 31 x FNV-1a of the path.
struct AnimationKeyHash
{
    std::size_t operator()(const AnimationKey& aKey) const;
};

class ModelFactory
{
public:
    // Creates the factory on first use; safe from several threads at once.
    static ModelFactory* GetInstance();
    // Deletes the factory (engine shutdown); the next GetInstance makes a new one.
    static void DestroyInstance();

    // Watches go to aFileWatcher, or to the engine's file watcher when it is null.
    explicit ModelFactory(FileWatcher* aFileWatcher = nullptr);
    ~ModelFactory();
    ModelFactory(const ModelFactory&) = delete;
    ModelFactory& operator=(const ModelFactory&) = delete;

    // The cached model of the path (the key is the text exactly as given), else a fresh load; empty
    // when loading fails, and failures are not cached.
    std::shared_ptr<Model> GetModel(const std::string& aPath);
    ModelInstance GetModelInstance(const std::string& aPath);
    // Initialised only with a model that has joints.
    AnimatedModelInstance GetAnimatedModelInstance(const std::string& aPath);
    // The clip of the file (path used as given) bound to the model's joints; empty when the import
    // fails (a file the importer throws on included, with one line) or there is no model.
    std::shared_ptr<Animation> GetAnimation(const std::string& aPath, const std::shared_ptr<Model>& aModel);
    // A fresh player; the path is resolved first and the clip set when it could be had.
    AnimationPlayer GetAnimationPlayer(const std::string& aPath, const std::shared_ptr<Model>& aModel);
    // How many clips are cached; each cached clip was imported once.
    std::size_t GetAnimationCount();
    // How many models are cached, the primitives included.
    std::size_t GetModelCount();

    static MeshBounds CalculateBounds(const std::vector<ModelVertex>& someVertices);

private:
    // Shared so the importer can tell its own entry from one a file change put in its place.
    using ModelLoad = std::shared_ptr<const std::shared_future<std::shared_ptr<Model>>>;
    using AnimationLoad = std::shared_ptr<const std::shared_future<std::shared_ptr<Animation>>>;

    std::shared_ptr<Model> LoadModel(const std::string& aPath);
    static std::shared_ptr<Animation> LoadAnimation(const std::string& aPath, const Model& aModel);
    void OnModelFileChanged(const std::string& aPath);
    FileWatcher* GetFileWatcher() const;

    void LoadMeshTextures(const std::string& aPath, Model& aModel);
    Texture* LoadAlbedoTexture(const std::string& aModelBase, const std::string& aMeshBase);
    Texture* LoadNormalTexture(const std::string& aModelBase, const std::string& aMeshBase);
    Texture* LoadMaterialTexture(const std::string& aModelBase, const std::string& aMeshBase);
    Texture* LoadFxTexture(const std::string& aModelBase, const std::string& aMeshBase);

    bool CreateCubePrimitive();
    bool CreatePlanePrimitive();
    bool RegisterPrimitive(MeshData aMesh, const char* aKey, bool aTexturesFirst);

    std::unordered_set<std::string, ModelPathHash> myWatchedPaths;
    std::unordered_map<std::string, std::shared_ptr<Model>, ModelPathHash> myModels;
    std::unordered_map<AnimationKey, std::shared_ptr<Animation>, AnimationKeyHash> myAnimations;
    // Imports under way; a file change drops its key's entry, so that import's result is not cached.
    std::unordered_map<std::string, ModelLoad, ModelPathHash> myModelLoads;
    std::unordered_map<AnimationKey, AnimationLoad, AnimationKeyHash> myAnimationLoads;
    std::mutex myMutex;
    FileWatcher* myFileWatcher;
    // File-change callbacks hold a weak reference, so a callback that outlives the factory does nothing.
    std::shared_ptr<ModelFactory*> myLifeToken;
};
} // namespace Qel
