#include "vek/model/ModelFactory.h"

#include "Importer/Importer.h"
#include "vek/Core/Engine.h"
#include "vek/Core/Profiler.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/model/MaterialTextures.h"
#include "vek/model/MeshBuffers.h"
#include "vek/model/ModelConversion.h"
#include "vek/model/Primitives.h"
#include "vek/scene/SceneAssetEditors.h"
#include "vek/settings/AssetPaths.h"
#include "vek/stringRegistry/StringId.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <iostream>
#include <limits>

namespace Qel
{
namespace
{
constexpr std::uint64_t FNV_OFFSET_BASIS = 0xcbf29ce484222325ULL;
constexpr std::uint64_t FNV_PRIME = 0x100000001b3ULL;

std::uint64_t Fnv1a(const unsigned char* someBytes, std::size_t aCount)
{
    std::uint64_t hash = FNV_OFFSET_BASIS;
    for (std::size_t i = 0; i < aCount; ++i)
    {
        hash = (hash ^ someBytes[i]) * FNV_PRIME;
    }
    return hash;
}

// The instance is made on first use from whichever thread comes first: the main thread or the
// preload task. Creation and deletion hold the mutex; a made instance is read without it.
std::atomic<ModelFactory*> theInstance = nullptr;
std::mutex theInstanceMutex;

// Drops the caller's in-flight entry and caches its result, unless a file change dropped the entry.
template <typename Key, typename Cache, typename Loads, typename Entry, typename Result>
void FinishLoad(std::mutex& aMutex, Cache& aCache, Loads& someLoads, const Key& aKey, const Entry& anEntry,
                const Result& aResult)
{
    const std::lock_guard lock(aMutex);
    const auto loading = someLoads.find(aKey);
    if (loading == someLoads.end() || loading->second != anEntry)
    {
        return;
    }
    someLoads.erase(loading);
    if (aResult != nullptr)
    {
        aCache.insert_or_assign(aKey, aResult);
    }
}

// The cached value of the key, else one load per key: the first caller runs aLoad without the lock and
// later callers wait for its result. A failure (empty) is not cached.
template <typename Value, typename Key, typename Cache, typename Loads, typename Load>
std::shared_ptr<Value> LoadOnce(std::mutex& aMutex, Cache& aCache, Loads& someLoads, const Key& aKey,
                                const Load& aLoad)
{
    using Result = std::shared_ptr<Value>;
    std::promise<Result> promise;
    std::shared_ptr<const std::shared_future<Result>> entry;
    bool isOwner = false;
    {
        const std::lock_guard lock(aMutex);
        if (const auto found = aCache.find(aKey); found != aCache.end())
        {
            return found->second;
        }
        if (const auto loading = someLoads.find(aKey); loading != someLoads.end())
        {
            entry = loading->second;
        }
        else
        {
            entry = std::make_shared<const std::shared_future<Result>>(promise.get_future().share());
            someLoads.emplace(aKey, entry);
            isOwner = true;
        }
    }
    if (!isOwner)
    {
        return entry->get();
    }
    Result result;
    try
    {
        result = aLoad();
    }
    catch (...)
    {
        // Waiters get the same failure rather than waiting for ever.
        FinishLoad(aMutex, aCache, someLoads, aKey, entry, Result());
        promise.set_exception(std::current_exception());
        throw;
    }
    FinishLoad(aMutex, aCache, someLoads, aKey, entry, result);
    promise.set_value(result);
    return result;
}

// Lets the scene editor's model field list a model's meshes.
bool ListModelMeshes(StringId aPath, std::vector<std::string>& aMeshNames)
{
    const std::shared_ptr<Model> model = ModelFactory::GetInstance()->GetModel(aPath.GetText());
    if (!model)
    {
        return false;
    }
    aMeshNames.clear();
    for (const MeshData& mesh : model->myMeshes)
    {
        aMeshNames.push_back(mesh.myName);
    }
    return true;
}
} // namespace

std::size_t ModelPathHash::operator()(std::string_view aText) const
{
    return static_cast<std::size_t>(
        Fnv1a(reinterpret_cast<const unsigned char*>(aText.data()), aText.size()));
}

std::size_t AnimationKeyHash::operator()(const AnimationKey& aKey) const
{
    const std::uint64_t pointer = reinterpret_cast<std::uintptr_t>(aKey.myModel.get());
    unsigned char bytes[8];
    for (std::size_t i = 0; i < 8; ++i)
    {
        bytes[i] = static_cast<unsigned char>(pointer >> (8 * i));
    }
    const std::uint64_t hm = Fnv1a(bytes, 8);
    const std::uint64_t hp = ModelPathHash()(aKey.myPath);
    return static_cast<std::size_t>(hm + 31 * hp);
}

ModelFactory* ModelFactory::GetInstance()
{
    if (ModelFactory* made = theInstance.load(std::memory_order_acquire))
    {
        return made;
    }
    const std::lock_guard lock(theInstanceMutex);
    if (theInstance.load(std::memory_order_relaxed) == nullptr)
    {
        // The constructor publishes itself.
        new ModelFactory();
    }
    return theInstance.load(std::memory_order_relaxed);
}

void ModelFactory::DestroyInstance()
{
    const std::lock_guard lock(theInstanceMutex);
    delete theInstance.load(std::memory_order_relaxed);
}

ModelFactory::ModelFactory(FileWatcher* aFileWatcher)
    : myFileWatcher(aFileWatcher), myLifeToken(std::make_shared<ModelFactory*>(this))
{
    QELFBXImporter::InitImporter();
    if (CreateCubePrimitive())
    {
        CreatePlanePrimitive();
    }
    SetSceneModelMeshQuery(&ListModelMeshes);
    ModelFactory* none = nullptr;
    theInstance.compare_exchange_strong(none, this, std::memory_order_release);
}

ModelFactory::~ModelFactory()
{
    ModelFactory* self = this;
    theInstance.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
    myLifeToken.reset();
    QELFBXImporter::UninitImporter();
    myAnimations.clear();
    myModels.clear();
    myWatchedPaths.clear();
}

std::shared_ptr<Model> ModelFactory::GetModel(const std::string& aPath)
{
    return LoadOnce<Model>(myMutex, myModels, myModelLoads, aPath,
                           [this, &aPath] { return LoadModel(aPath); });
}

ModelInstance ModelFactory::GetModelInstance(const std::string& aPath)
{
    ModelInstance instance;
    if (std::shared_ptr<Model> model = GetModel(aPath))
    {
        instance.Init(std::move(model));
    }
    return instance;
}

AnimatedModelInstance ModelFactory::GetAnimatedModelInstance(const std::string& aPath)
{
    AnimatedModelInstance instance;
    std::shared_ptr<Model> model = GetModel(aPath);
    if (model && !model->mySkeleton.myJoints.empty())
    {
        instance.Init(std::move(model));
    }
    return instance;
}

std::shared_ptr<Animation> ModelFactory::GetAnimation(const std::string& aPath,
                                                      const std::shared_ptr<Model>& aModel)
{
    if (!aModel)
    {
        return {};
    }
    const AnimationKey key{aPath, aModel};
    return LoadOnce<Animation>(myMutex, myAnimations, myAnimationLoads, key,
                               [&aPath, &aModel] { return LoadAnimation(aPath, *aModel); });
}

std::shared_ptr<Animation> ModelFactory::LoadAnimation(const std::string& aPath, const Model& aModel)
{
    QELFBXImporter::Animation record;
    try
    {
        if (!QELFBXImporter::LoadAnimation(aPath, record))
        {
            return {};
        }
    }
    catch (const std::exception& error)
    {
        // One bad clip file must not end the game; like a failed import, it is not cached.
        std::cout << "[ModelFactory] The clip " << aPath << " could not be imported: " << error.what()
                  << "\n";
        return {};
    }
    auto animation = std::make_shared<Animation>();
    impl::BuildAnimation(record, aModel, *animation);
    return animation;
}

AnimationPlayer ModelFactory::GetAnimationPlayer(const std::string& aPath,
                                                 const std::shared_ptr<Model>& aModel)
{
    ProfilerScope scope("ModelFactory::GetAnimationPlayer");
    AnimationPlayer player;
    const std::string resolved = ResolveAssetPath(aPath);
    if (std::shared_ptr<Animation> clip = GetAnimation(resolved, aModel))
    {
        player.SetAnimation(std::move(clip));
    }
    return player;
}

std::size_t ModelFactory::GetAnimationCount()
{
    std::lock_guard lock(myMutex);
    return myAnimations.size();
}

std::size_t ModelFactory::GetModelCount()
{
    std::lock_guard lock(myMutex);
    return myModels.size();
}

MeshBounds ModelFactory::CalculateBounds(const std::vector<ModelVertex>& someVertices)
{
    constexpr float largest = std::numeric_limits<float>::max();
    float low[3] = {largest, largest, largest};
    float high[3] = {-largest, -largest, -largest};
    for (const ModelVertex& vertex : someVertices)
    {
        for (std::size_t k = 0; k < 3; ++k)
        {
            low[k] = std::min(low[k], vertex.myPosition[k]);
            high[k] = std::max(high[k], vertex.myPosition[k]);
        }
    }
    MeshBounds bounds;
    for (std::size_t k = 0; k < 3; ++k)
    {
        bounds.myHalfExtents[k] = (high[k] - low[k]) * 0.5f;
        bounds.myCentre[k] = (high[k] + low[k]) * 0.5f;
    }
    const float* e = bounds.myHalfExtents;
    bounds.myRadius = std::fabs(std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]));
    for (const ModelVertex& vertex : someVertices)
    {
        const float* w = vertex.myWeights;
        const float sum = w[0] + w[1] + w[2] + w[3];
        if (!(sum > 0.0f))
        {
            continue;
        }
        bounds.mySkinWeightMagnitude =
            std::max(bounds.mySkinWeightMagnitude,
                     std::fabs(w[0]) + std::fabs(w[1]) + std::fabs(w[2]) + std::fabs(w[3]));
        bounds.mySkinWeightSumError = std::max(bounds.mySkinWeightSumError, std::fabs(sum - 1.0f));
        for (const float bone : vertex.myBones)
        {
            // The palette index the vertex stage reads for this bone number; one it cannot read is the last.
            const float index = bone + 0.5f;
            const std::uint32_t slot = !(index < static_cast<float>(MAX_ANIMATION_BONES))
                                           ? static_cast<std::uint32_t>(MAX_ANIMATION_BONES - 1)
                                       : index < 1.0f ? 0u
                                                      : static_cast<std::uint32_t>(index);
            bounds.mySkinJointCount = std::max(bounds.mySkinJointCount, slot + 1);
        }
    }
    return bounds;
}

std::shared_ptr<Model> ModelFactory::LoadModel(const std::string& aPath)
{
    const std::string resolved = ResolveAssetPath(aPath);
    if (resolved.empty())
    {
        return {};
    }
    bool isNewWatch = false;
    {
        const std::lock_guard lock(myMutex);
        isNewWatch = myWatchedPaths.insert(aPath).second;
    }
    if (isNewWatch)
    {
        if (FileWatcher* watcher = GetFileWatcher())
        {
            std::weak_ptr<ModelFactory*> token = myLifeToken;
            watcher->WatchFileChange(resolved,
                                     [token, aPath]
                                     {
                                         if (const std::shared_ptr<ModelFactory*> alive = token.lock())
                                         {
                                             (*alive)->OnModelFileChanged(aPath);
                                         }
                                     });
        }
    }

    QELFBXImporter::Model record;
    if (!QELFBXImporter::LoadModel(resolved, record, false, true))
    {
        return {};
    }

    Skeleton skeleton;
    if (!record.skeleton.bones.empty() && !impl::ConvertSkeleton(record.skeleton, skeleton, resolved))
    {
        return {};
    }
    if (record.meshes.size() > MAX_MESHES_PER_MODEL)
    {
        std::cout << "[ModelFactory] " << resolved << ": " << record.meshes.size()
                  << " meshes, more than the " << MAX_MESHES_PER_MODEL
                  << " a model may have; the model is not loaded\n";
        return {};
    }

    std::vector<MeshData> meshes;
    meshes.reserve(record.meshes.size());
    for (const QELFBXImporter::Mesh& source : record.meshes)
    {
        MeshData mesh;
        mesh.myVertices = impl::ConvertVertices(source.vertices);
        mesh.myIndices = source.indices;
        mesh.myVertexCount = static_cast<std::uint32_t>(mesh.myVertices.size());
        mesh.myIndexCount = static_cast<std::uint32_t>(mesh.myIndices.size());
        if (!impl::CreateMeshBuffers(mesh))
        {
            return {};
        }
        mesh.myName = source.name;
        mesh.myMaterialName =
            source.materialIndex < record.materials.size() ? record.materials[source.materialIndex].name : "";
        mesh.myBounds = CalculateBounds(mesh.myVertices);
        meshes.push_back(std::move(mesh));
    }

    auto model = std::make_shared<Model>();
    model->Init(meshes, resolved);
    if (!skeleton.myJoints.empty())
    {
        model->mySkeleton = std::move(skeleton);
    }
    LoadMeshTextures(resolved, *model);
    return model;
}

void ModelFactory::OnModelFileChanged(const std::string& aPath)
{
    std::lock_guard lock(myMutex);
    myModels.erase(aPath);
    myModelLoads.erase(aPath);
}

FileWatcher* ModelFactory::GetFileWatcher() const
{
    if (myFileWatcher != nullptr)
    {
        return myFileWatcher;
    }
    Engine* engine = Engine::GetInstance();
    return engine != nullptr ? engine->GetFileWatcher() : nullptr;
}

bool ModelFactory::CreateCubePrimitive()
{
    return RegisterPrimitive(impl::BuildCubeMesh(), "Cube", true);
}

bool ModelFactory::CreatePlanePrimitive()
{
    return RegisterPrimitive(impl::BuildPlaneMesh(), "Plane", false);
}

bool ModelFactory::RegisterPrimitive(MeshData aMesh, const char* aKey, bool aTexturesFirst)
{
    if (!impl::CreateMeshBuffers(aMesh))
    {
        return false;
    }
    auto model = std::make_shared<Model>();
    aMesh.myBounds = CalculateBounds(aMesh.myVertices);
    model->AddMesh(aMesh, aKey);
    if (aTexturesFirst)
    {
        LoadMeshTextures("", *model);
        myModels[aKey] = model;
    }
    else
    {
        myModels[aKey] = model;
        LoadMeshTextures("", *model);
    }
    return true;
}
} // namespace Qel
