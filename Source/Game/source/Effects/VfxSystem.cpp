#include "Effects/VfxSystem.h"

#include "Effects/DefinitionJson.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"
#include "vek/settings/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <mutex>
#include <numbers>
#include <random>

namespace
{
VfxSystem* theActiveSystem = nullptr;

float NextPhase()
{
    static std::once_flag seeded;
    static std::mt19937 generator;
    std::call_once(seeded, [] { generator.seed(std::random_device{}()); });
    const std::uint32_t bits = generator() >> 8;
    return static_cast<float>(bits) * (1.0f / 16777216.0f) * 2.0f * std::numbers::pi_v<float>;
}

float FramesPerSecondOrOne(float aFps)
{
    return aFps > 0.0f ? aFps : 1.0f;
}

bool HasExpired(const VfxInstance& anInstance)
{
    const VfxDefinition& definition = *anInstance.definition;
    if (definition.loop)
    {
        return definition.lifetime > 0.0f && anInstance.age >= definition.lifetime;
    }
    const float duration =
        definition.lifetime > 0.0f
            ? definition.lifetime
            : static_cast<float>(std::max(definition.frameCount, 1)) / FramesPerSecondOrOne(definition.fps);
    return anInstance.age >= duration;
}

VfxDefinition ReadDefinition(const DefinitionJson::Json& aRoot, const std::filesystem::path& aPath)
{
    using namespace DefinitionJson;
    VfxDefinition definition;
    definition.id = ReadString(aRoot, "id", aPath.stem().string());
    definition.texture = VfxSystem::GetDefinitionFolder(ReadString(aRoot, "texture", ""));
    definition.space =
        ToLower(ReadString(aRoot, "space", "world")) == "screen" ? VfxSpace::Screen : VfxSpace::World;
    definition.columns = std::max(ReadInt(aRoot, "columns", 1), 1);
    definition.rows = std::max(ReadInt(aRoot, "rows", 1), 1);
    const int frameCount = ReadInt(aRoot, "frameCount", 0);
    definition.frameCount = frameCount > 0 ? frameCount : CellCount(definition.columns, definition.rows);
    const float fps = ReadFloat(aRoot, "fps", 24.0f);
    definition.fps = fps > 0.0f ? fps : 24.0f;
    definition.loop = ReadBool(aRoot, "loop", false);
    definition.debugLogFrames = ReadBool(aRoot, "debugLogFrames", false);
    definition.lifetime = std::max(ReadFloat(aRoot, "lifetime", 0.0f), 0.0f);
    definition.size = ReadFloat2(aRoot, "size", definition.size);
    definition.pivot = ReadFloat2(aRoot, "pivot", definition.pivot);
    definition.spawnOffsetWorld = ReadFloat3(aRoot, "spawnOffsetWorld", definition.spawnOffsetWorld);
    definition.spawnOffsetScreen = ReadFloat2(aRoot, "spawnOffsetScreen", definition.spawnOffsetScreen);
    definition.useOwnerForward = ReadBool(aRoot, "useOwnerForward", false);
    definition.motion = VfxSystem::ParseMotion(ReadString(aRoot, "motion", "static"));
    definition.initialVelocity = ReadFloat3(aRoot, "initialVelocity", definition.initialVelocity);
    definition.acceleration = ReadFloat3(aRoot, "acceleration", definition.acceleration);
    definition.driftStrength = ReadFloat(aRoot, "driftStrength", 0.0f);
    definition.driftFrequency = ReadFloat(aRoot, "driftFrequency", 0.0f);
    definition.color = ReadFloat4(aRoot, "color", definition.color);
    return definition;
}
} // namespace

VfxSystem::VfxSystem() : myInstances(POOL_SIZE)
{
}

void VfxSystem::SetActive(VfxSystem* aSystem)
{
    theActiveSystem = aSystem;
}

VfxSystem* VfxSystem::GetActive()
{
    return theActiveSystem;
}

bool VfxSystem::Load()
{
    LoadDefinitions();
    return true;
}

void VfxSystem::LoadDefinitions()
{
    // Live effects point into the map.
    ClearAll();
    myDefinitions.clear();
    const std::filesystem::path folder = Qel::GetGameAssetRoot() / "Vfx";
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
    {
        std::cout << "[VFX] No Vfx folder found at: " << folder.string() << "\n";
        return;
    }
    const int count = DefinitionJson::ForEachDefinitionFile(folder, [this](const std::filesystem::path& aPath)
                                                            { return ParseDefinition(aPath); });
    std::cout << "[VFX] Loaded " << count << " effect definitions\n";
}

bool VfxSystem::ParseDefinition(const std::filesystem::path& aPath)
{
    return DefinitionJson::StoreDefinitionFile(aPath, "[VFX]", ReadDefinition, myDefinitions);
}

std::string VfxSystem::GetDefinitionFolder(const std::string& aTexture)
{
    if (aTexture.find('/') == std::string::npos && aTexture.find('\\') == std::string::npos)
    {
        return aTexture.empty() ? aTexture : "Animations/VFX/" + aTexture;
    }
    return aTexture;
}

VfxMotion VfxSystem::ParseMotion(const std::string& aName)
{
    const std::string name = DefinitionJson::ToLower(aName);
    if (name == "falling")
    {
        return VfxMotion::Falling;
    }
    return name == "floating" ? VfxMotion::Floating : VfxMotion::Static;
}

bool VfxSystem::SpawnAt(const std::string& anId, const Qel::Vector3<float>& aWorldPosition,
                        float aSizeMultiplier, float aFacing)
{
    if (theActiveSystem == nullptr)
    {
        return false;
    }
    VfxSpawnParams params;
    params.worldPosition = aWorldPosition;
    params.sizeMultiplier = aSizeMultiplier;
    params.facing = aFacing;
    return theActiveSystem->Spawn(anId, params);
}

bool VfxSystem::SpawnOnScreen(const std::string& anId, const Qel::Vector2<float>& aScreenPosition,
                              float aSizeMultiplier)
{
    if (theActiveSystem == nullptr)
    {
        return false;
    }
    VfxSpawnParams params;
    params.screenPosition = aScreenPosition;
    params.sizeMultiplier = aSizeMultiplier;
    return theActiveSystem->Spawn(anId, params);
}

bool VfxSystem::Spawn(const std::string& anId, const VfxSpawnParams& someParams)
{
    const auto found = myDefinitions.find(anId);
    if (found == myDefinitions.end())
    {
        return false;
    }
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetTextureManager() == nullptr)
    {
        return false;
    }
    const VfxDefinition& definition = found->second;
    // The manager stands a placeholder in for a missing file, so this only guards a manager without one.
    const Qel::Texture* texture =
        engine->GetTextureManager()->GetTexture(definition.texture.c_str(), 1, false);
    if (texture == nullptr)
    {
        std::cout << "[VFX] Missing texture for effect '" << anId << "': " << definition.texture << "\n";
        return false;
    }
    const auto slot = std::find_if(myInstances.begin(), myInstances.end(),
                                   [](const VfxInstance& anInstance) { return !anInstance.active; });
    if (slot == myInstances.end())
    {
        return false;
    }
    slot->active = true;
    slot->definition = &definition;
    slot->texture = texture;
    slot->params = someParams;
    slot->color = definition.color;
    slot->age = 0.0f;
    slot->lastLoggedFrame = -1;
    slot->position = someParams.worldPosition;
    slot->velocity = definition.initialVelocity;
    slot->phase = NextPhase();
    if (definition.debugLogFrames)
    {
        std::cout << "[VFX] Spawned debug-tracked effect '" << anId << "'\n";
    }
    return true;
}

std::int64_t VfxSystem::CountFrames(float aFps, float anAge)
{
    // In double and clamped: a long-lived looping effect must not overflow the frame number.
    const double frames = std::floor(static_cast<double>(std::max(anAge, 0.0f)) *
                                     static_cast<double>(FramesPerSecondOrOne(aFps)));
    return static_cast<std::int64_t>(std::min(frames, 9.0e18));
}

VfxFrame VfxSystem::GetFrameIndex(int aFrameCount, float aFps, bool aLoop, int aColumns, int aRows,
                                  float anAge)
{
    const int columns = std::max(aColumns, 1);
    const int rows = std::max(aRows, 1);
    const int cells = std::max(DefinitionJson::CellCount(columns, rows), 1);
    const int used = std::min(cells, std::max(aFrameCount, 1));
    const std::int64_t rawFrame = CountFrames(aFps, anAge);

    VfxFrame result;
    result.frame = aLoop ? static_cast<int>(rawFrame % used)
                         : static_cast<int>(std::min<std::int64_t>(rawFrame, used - 1));
    const int cell = std::clamp(result.frame, 0, cells - 1);
    const int column = cell % columns;
    const int row = std::min(cell / columns, rows - 1);
    result.uMin = static_cast<float>(column) / static_cast<float>(columns);
    result.vMin = static_cast<float>(row) / static_cast<float>(rows);
    result.uMax = static_cast<float>(column + 1) / static_cast<float>(columns);
    result.vMax = static_cast<float>(row + 1) / static_cast<float>(rows);
    return result;
}

void VfxSystem::Update(float aDeltaTime)
{
    const float deltaTime = std::max(aDeltaTime, 0.0f);
    for (VfxInstance& instance : myInstances)
    {
        if (instance.active && instance.definition != nullptr)
        {
            UpdateInstance(instance, deltaTime);
        }
    }
}

void VfxSystem::UpdateInstance(VfxInstance& anInstance, float aDeltaTime)
{
    const VfxDefinition& definition = *anInstance.definition;
    anInstance.age += aDeltaTime;
    if (definition.space == VfxSpace::World && aDeltaTime > 0.0f)
    {
        anInstance.velocity += definition.acceleration * aDeltaTime;
        anInstance.position += anInstance.velocity * aDeltaTime;
        if (definition.motion != VfxMotion::Static)
        {
            const float frequency = definition.driftFrequency > 0.0f ? definition.driftFrequency : 1.0f;
            anInstance.position.x += std::sin(anInstance.age * frequency + anInstance.phase) *
                                     definition.driftStrength * aDeltaTime;
            if (definition.motion == VfxMotion::Floating)
            {
                anInstance.position.y +=
                    std::cos(anInstance.age * frequency * 0.75f + anInstance.phase * 0.8f) *
                    definition.driftStrength * aDeltaTime * 0.65f;
            }
        }
    }
    if (definition.debugLogFrames && anInstance.texture != nullptr)
    {
        const int frame = GetFrameIndex(definition.frameCount, definition.fps, definition.loop,
                                        definition.columns, definition.rows, anInstance.age)
                              .frame;
        if (frame != anInstance.lastLoggedFrame)
        {
            anInstance.lastLoggedFrame = frame;
            std::cout << "[VFX] '" << definition.id << "' frame=" << frame << " age=" << anInstance.age
                      << "s\n";
        }
    }
    if (HasExpired(anInstance))
    {
        anInstance = VfxInstance();
    }
}

const std::vector<VfxWorldSprite>& VfxSystem::CollectWorldSprites()
{
    myWorldSprites.clear();
    for (const VfxInstance& slot : myInstances)
    {
        if (!slot.active || slot.definition == nullptr || slot.texture == nullptr ||
            slot.definition->space != VfxSpace::World)
        {
            continue;
        }
        const VfxDefinition& definition = *slot.definition;
        VfxFrame frame = GetFrameIndex(definition.frameCount, definition.fps, definition.loop,
                                       definition.columns, definition.rows, slot.age);
        const float multiplier = std::max(slot.params.sizeMultiplier, 0.01f);
        const float width = std::max(definition.size.x, 0.01f) * multiplier;
        const float height = std::max(definition.size.y, 0.01f) * multiplier;
        const bool mirrored = definition.useOwnerForward && slot.params.facing < 0.0f;
        const float offsetX = definition.useOwnerForward ? definition.spawnOffsetWorld.x * slot.params.facing
                                                         : definition.spawnOffsetWorld.x;
        const float left = slot.position.x + offsetX - width * definition.pivot.x;
        const float y = slot.position.y + definition.spawnOffsetWorld.y;
        const float z = slot.position.z + definition.spawnOffsetWorld.z;
        if (mirrored)
        {
            std::swap(frame.uMin, frame.uMax);
        }

        VfxWorldSprite& sprite = myWorldSprites.emplace_back();
        sprite.texture = slot.texture;
        sprite.z = z;
        sprite.instance.transform.SetRow(1, {width, 0.0f, 0.0f, 0.0f});
        sprite.instance.transform.SetRow(2, {0.0f, height, 0.0f, 0.0f});
        sprite.instance.transform.SetRow(4, {left, y, z, 1.0f});
        sprite.instance.pivot = {0.0f, 0.0f};
        sprite.instance.size = {1.0f, 1.0f};
        sprite.instance.color = slot.color;
        sprite.instance.uvStart = {frame.uMin, frame.vMin};
        sprite.instance.uvEnd = {frame.uMax, frame.vMax};
    }
    std::stable_sort(myWorldSprites.begin(), myWorldSprites.end(),
                     [](const VfxWorldSprite& aLeft, const VfxWorldSprite& aRight)
                     { return aLeft.z > aRight.z; });
    return myWorldSprites;
}

void VfxSystem::Render()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetGraphicsEngine() == nullptr)
    {
        return;
    }
    Qel::SpriteDrawer& drawer = engine->GetGraphicsEngine()->GetSpriteDrawer();
    // One batch each, so that depth order between effects holds.
    for (const VfxWorldSprite& sprite : CollectWorldSprites())
    {
        Qel::SpriteSharedData shared;
        shared.texture = sprite.texture;
        Qel::SpriteBatchScope batch = drawer.BeginBatch(shared);
        batch.Draw3D(sprite.instance);
    }
    RenderScreenSprites();
}

void VfxSystem::RenderScreenSprites()
{
    for (auto& [texture, group] : myScreenGroups)
    {
        group.clear();
    }
    bool anyScreenSprite = false;
    for (const VfxInstance& slot : myInstances)
    {
        if (!slot.active || slot.definition == nullptr || slot.texture == nullptr ||
            slot.definition->space != VfxSpace::Screen)
        {
            continue;
        }
        const VfxDefinition& definition = *slot.definition;
        const VfxFrame frame = GetFrameIndex(definition.frameCount, definition.fps, definition.loop,
                                             definition.columns, definition.rows, slot.age);
        Qel::Sprite2DInstanceData sprite;
        sprite.position = slot.params.screenPosition;
        sprite.position += definition.spawnOffsetScreen;
        sprite.pivot = definition.pivot;
        sprite.size = definition.size;
        sprite.scale = {slot.params.sizeMultiplier, slot.params.sizeMultiplier};
        sprite.rotation = 0.0f;
        sprite.color = slot.color;
        sprite.uvStart = {frame.uMin, frame.vMin};
        sprite.uvEnd = {frame.uMax, frame.vMax};
        myScreenGroups[slot.texture].push_back(sprite);
        anyScreenSprite = true;
    }
    if (!anyScreenSprite)
    {
        return;
    }
    Qel::GraphicsEngine& graphics = *Qel::Engine::GetInstance()->GetGraphicsEngine();
    for (const auto& [texture, group] : myScreenGroups)
    {
        if (group.empty())
        {
            continue;
        }
        graphics.GetGraphicsStateStack().Push();
        graphics.GetGraphicsStateStack().SetDefault2DCamera();
        {
            Qel::SpriteSharedData shared;
            shared.texture = texture;
            Qel::SpriteBatchScope batch = graphics.GetSpriteDrawer().BeginBatch(shared);
            batch.Draw2DArray(group.data(), group.size());
        }
        graphics.GetGraphicsStateStack().Pop();
    }
}

void VfxSystem::ClearAll()
{
    std::fill(myInstances.begin(), myInstances.end(), VfxInstance());
}

const VfxDefinition* VfxSystem::FindDefinition(const std::string& anId) const
{
    const auto found = myDefinitions.find(anId);
    return found != myDefinitions.end() ? &found->second : nullptr;
}

std::size_t VfxSystem::GetActiveCount() const
{
    return static_cast<std::size_t>(std::count_if(myInstances.begin(), myInstances.end(),
                                                  [](const VfxInstance& anInstance)
                                                  { return anInstance.active; }));
}
