#include "World/SceneImportService.h"

#include "Builders/GameObjectFactory.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/MeshComponent.h"
#include "World/CacheWarmUp.h"
#include "vek/Core/CounterSource.h"
#include "vek/Core/Profiler.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/scene/PropertyType.h"
#include "vek/scene/Scene.h"
#include "vek/scene/SceneLoader.h"
#include "vek/scene/SceneObjectDefinitions.h"
#include "vek/settings/AssetPaths.h"
#include "vek/settings/Settings.h"
#include "vek/stringRegistry/StringRegistry.h"

#include <atomic>
#include <cstring>
#include <exception>
#include <system_error>

namespace
{
const char FOG_VERTEX_SHADER[] = "shaders/fog_shader_vs";
const char FOG_ANIMATED_VERTEX_SHADER[] = "shaders/fog_shader_animated_vs";
const char FOG_PIXEL_SHADER[] = "shaders/fog_shader_ps";

template <std::size_t N>
Qel::StringId Literal(const char (&aText)[N])
{
    return Qel::StringRegistry::RegisterOrGetLiteral(aText, N - 1);
}

std::atomic<bool> theDefinitionsAreRead = false;

struct CachedDefinitions
{
    CachedDefinitions() { manager.Init(Qel::GetGameAssetRoot().string()); }
    Qel::SceneObjectDefinitionManager manager;
};

const Qel::SceneObjectDefinitionManager& GetCachedDefinitions()
{
    const Qel::ProfilerScope scope("SceneObjectDefinitionManager::GetCached");
    // A throwing Init leaves the static unmade, so the next load reads the definitions again.
    static const CachedDefinitions definitions;
    theDefinitionsAreRead = true;
    return definitions.manager;
}

bool IsExistingAsset(Qel::StringId aPath, SceneImportService::ModelPathCache* aCache)
{
    if (aCache == nullptr)
    {
        return !Qel::ResolveAssetPath(aPath.GetView()).empty();
    }
    const auto [entry, isNew] = aCache->try_emplace(aPath.GetPointer(), false);
    if (isNew)
    {
        entry->second = !Qel::ResolveAssetPath(aPath.GetView()).empty();
    }
    return entry->second;
}

// The property's value in the form builders read, or an empty any for the types they do not.
std::any ConvertValue(const Qel::PropertyValue& aValue)
{
    if (const float* value = aValue.As<float>())
    {
        return *value;
    }
    if (const std::int32_t* value = aValue.As<std::int32_t>())
    {
        return static_cast<int>(*value);
    }
    if (const bool* value = aValue.As<bool>())
    {
        return *value;
    }
    if (const Qel::StringId* value = aValue.As<Qel::StringId>())
    {
        return std::string(value->GetView());
    }
    if (const Qel::Vector3<float>* value = aValue.As<Qel::Vector3<float>>())
    {
        return *value;
    }
    if (const Qel::Color* value = aValue.As<Qel::Color>())
    {
        return *value;
    }
    return {};
}

bool IsLeftOutOfProperties(Qel::StringId aName)
{
    const std::string_view name = aName.GetView();
    return name == "tag" || name == "model" || name == "renderMode";
}

struct PhaseClock
{
    std::int64_t total = 0;

    template <typename Action>
    void Time(Action&& aAction)
    {
        const Qel::CounterSource& clock = Qel::GetSteadyClockCounter();
        const std::int64_t start = clock.GetCount();
        aAction();
        total += clock.GetCount() - start;
    }
};

void ReportPhase(const char* aName, std::int64_t aNanoseconds)
{
    Qel::Profiler::GetInstance().RecordTiming(
        aName, "", 0, static_cast<std::uint64_t>(std::max<std::int64_t>(aNanoseconds, 0)));
}
} // namespace

SceneObjectData
SceneImportService::ExtractObjectData(const Qel::SceneObject& aObject,
                                      const std::vector<Qel::PropertyDefinition>& aMergedProperties,
                                      ModelPathCache* aModelPathCache)
{
    static const Qel::StringId tagName = Literal("Tag");
    static const Qel::StringId renderModeName = Literal("renderMode");

    SceneObjectData data;
    data.name = aObject.myName;
    bool hasTag = false;
    bool hasRenderMode = false;
    for (const Qel::PropertyDefinition& property : aMergedProperties)
    {
        const Qel::PropertyValue& value = property.myDefaultValue;
        if (const Qel::StringId* text = value.As<Qel::StringId>())
        {
            if (!hasTag && property.myName == tagName)
            {
                data.tag = text->GetText();
                hasTag = true;
            }
            else if (!hasRenderMode && property.myName == renderModeName)
            {
                data.renderMode = text->GetText();
                hasRenderMode = true;
            }
        }
        if (const Qel::SceneModelHandle* model = value.As<Qel::SceneModelHandle>())
        {
            const Qel::StringId path = model->Get().myPath;
            if (!path.IsNull() && IsExistingAsset(path, aModelPathCache))
            {
                data.model = path.GetText();
            }
        }
        if (!IsLeftOutOfProperties(property.myName))
        {
            std::any converted = ConvertValue(value);
            if (converted.has_value())
            {
                data.properties[std::string(property.myName.GetView())] = std::move(converted);
            }
        }
    }

    const Qel::Matrix4x4 matrix =
        Qel::ComposeTransformMatrix(aObject.myTranslation, aObject.myRotation, aObject.myScale);
    Qel::Matrix4x4::Decompose(matrix, data.position, data.rotation, data.scale);
    return data;
}

std::future<void> SceneImportService::StartDefinitionsWarmUp()
{
    const auto warm = []
    {
        try
        {
            static_cast<void>(GetCachedDefinitions());
        }
        catch (const std::exception&)
        {
            // The load reads them again and reports what is wrong with them.
        }
    };
    if (!theDefinitionsAreRead)
    {
        try
        {
            return std::async(std::launch::async, warm);
        }
        catch (const std::system_error&)
        {
            // No thread to be had: the first load reads them as before.
        }
    }
    std::promise<void> done;
    done.set_value();
    return done.get_future();
}

std::vector<std::unique_ptr<GameObject>> SceneImportService::LoadSceneObjects(const std::string& aScenePath)
{
    return LoadSceneObjects(aScenePath, GetCachedDefinitions());
}

std::vector<std::unique_ptr<GameObject>>
SceneImportService::LoadSceneObjects(const std::string& aScenePath,
                                     const Qel::SceneObjectDefinitionManager& aDefinitions)
{
    const Qel::ProfilerScope scope("SceneImportService::LoadSceneObjects");
    auto scene = std::make_unique<Qel::Scene>();
    Qel::LoadScene(aScenePath.c_str(), *scene);

    std::vector<std::unique_ptr<GameObject>> objects;
    objects.reserve(scene->GetObjects().size());
    std::vector<MeshComponent*> meshes;
    std::vector<AnimatedMeshComponent*> animatedMeshes;
    bool hasFog = false;

    ModelPathCache modelPaths;
    std::vector<Qel::PropertyDefinition> merged;
    PhaseClock merge;
    PhaseClock extract;
    PhaseClock create;
    PhaseClock loop;
    loop.Time(
        [&]
        {
            for (const Qel::SceneObjectMap::Entry& entry : scene->GetObjects())
            {
                SceneObjectData data;
                merge.Time(
                    [&]
                    {
                        merged.clear();
                        entry.second->CollectProperties(aDefinitions, merged);
                    });
                extract.Time([&] { data = ExtractObjectData(*entry.second, merged, &modelPaths); });
                std::unique_ptr<GameObject> object;
                create.Time([&] { object = GameObjectFactory::GetInstance().Create(data); });
                if (object == nullptr)
                {
                    continue;
                }
                hasFog = hasFog || object->GetTag() == "Fog";
                if (MeshComponent* mesh = object->GetComponent<MeshComponent>())
                {
                    meshes.push_back(mesh);
                }
                else if (AnimatedMeshComponent* animated = object->GetComponent<AnimatedMeshComponent>())
                {
                    animatedMeshes.push_back(animated);
                }
                objects.push_back(std::move(object));
            }
        });
    ReportPhase("SceneImportService::PropertyMerge", merge.total);
    ReportPhase("SceneImportService::DataExtraction", extract.total);
    ReportPhase("SceneImportService::FactoryCreate", create.total);
    ReportPhase("SceneImportService::ObjectLoopTotal", loop.total);
    ReportPhase("SceneImportService::ObjectLoopUntracked",
                loop.total - merge.total - extract.total - create.total);

    {
        const Qel::ProfilerScope fogScope("SceneImportService::FogRenderModePass");
        // Shader names only: the shaders themselves are made on the main thread when first drawn.
        for (MeshComponent* mesh : meshes)
        {
            if (hasFog)
            {
                mesh->SetCustomShader(FOG_VERTEX_SHADER, FOG_PIXEL_SHADER);
            }
            mesh->SetRenderMode(hasFog ? 3 : 0);
        }
        for (AnimatedMeshComponent* animated : animatedMeshes)
        {
            if (hasFog)
            {
                animated->SetCustomShader(FOG_ANIMATED_VERTEX_SHADER, FOG_PIXEL_SHADER);
            }
            animated->SetRenderMode(hasFog ? 3 : 0);
        }
    }
    {
        const Qel::ProfilerScope warmScope("SceneImportService::WarmCaches");
        // Files are read and decoded here, so the objects' Init on the main thread finds them loaded.
        std::vector<Component*> components;
        for (const std::unique_ptr<GameObject>& object : objects)
        {
            for (const std::unique_ptr<Component>& component : object->GetComponents())
            {
                components.push_back(component.get());
            }
        }
        WarmComponentCaches(components);
    }
    {
        const Qel::ProfilerScope cleanupScope("SceneImportService::TemporarySceneCleanup");
        scene.reset();
    }
    return objects;
}
