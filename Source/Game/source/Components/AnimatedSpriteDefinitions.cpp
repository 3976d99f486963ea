#include "Components/AnimatedSpriteDefinitions.h"

#include "Effects/DefinitionJson.h"
#include "vek/Core/Engine.h"
#include "vek/Math/Frustum.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/settings/Settings.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>

namespace
{
std::unordered_map<std::string, AnimatedSpriteDefinition> theDefinitions;
bool theDefinitionsAreLoaded = false;

struct FrustumCache
{
    std::optional<Qel::Frustum> frustum;
    float builtAt = 0.0f;
};
FrustumCache theFrustumCache;

AnimatedSpriteDefinition ReadDefinition(const DefinitionJson::Json& aRoot, const std::filesystem::path& aPath)
{
    using namespace DefinitionJson;
    AnimatedSpriteDefinition definition;
    definition.id = ReadString(aRoot, "id", aPath.stem().string());
    definition.texture = ResolveSpriteTexturePath(ReadString(aRoot, "texture", ""));
    definition.columns = std::max(ReadInt(aRoot, "columns", 1), 1);
    definition.rows = std::max(ReadInt(aRoot, "rows", 1), 1);
    const int frameCount = ReadInt(aRoot, "frameCount", 0);
    definition.frameCount = frameCount > 0 ? frameCount : CellCount(definition.columns, definition.rows);
    const float fps = ReadFloat(aRoot, "fps", 24.0f);
    definition.fps = fps > 0.0f ? fps : 24.0f;
    definition.loop = ReadBool(aRoot, "loop", true);
    definition.size = ReadFloat2(aRoot, "size", definition.size);
    const char* offsetKey = aRoot.contains("worldOffset") ? "worldOffset" : "spawnOffsetWorld";
    definition.worldOffset = ReadFloat3(aRoot, offsetKey, definition.worldOffset);
    definition.color = ReadFloat4(aRoot, "color", definition.color);
    return definition;
}
} // namespace

bool LoadAnimatedSpriteDefinitions()
{
    theDefinitions.clear();
    const std::filesystem::path folder = Qel::GetGameAssetRoot() / "Animations/Sprites";
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
    {
        std::cout << "[AnimatedSprite] Definition folder missing: " << folder.string() << "\n";
        return true;
    }
    const int count =
        DefinitionJson::ForEachDefinitionFile(folder, [](const std::filesystem::path& aPath)
                                              { return ParseAnimatedSpriteDefinition(aPath.string()); });
    std::cout << "[AnimatedSprite] Loaded " << count << " animated sprite definitions\n";
    return true;
}

bool ParseAnimatedSpriteDefinition(const std::string& aPath)
{
    return DefinitionJson::StoreDefinitionFile(aPath, "[AnimatedSprite]", ReadDefinition, theDefinitions);
}

std::string ResolveSpriteTexturePath(const std::string& aName)
{
    if (aName.empty() || aName.find('/') != std::string::npos || aName.find('\\') != std::string::npos)
    {
        return aName;
    }
    return "Animations/" + aName;
}

const std::unordered_map<std::string, AnimatedSpriteDefinition>& GetAnimatedSpriteDefinitions()
{
    return theDefinitions;
}

const AnimatedSpriteDefinition* FindAnimatedSpriteDefinition(const std::string& anId)
{
    const auto found = theDefinitions.find(anId);
    return found != theDefinitions.end() ? &found->second : nullptr;
}

bool AreAnimatedSpriteDefinitionsLoaded()
{
    return theDefinitionsAreLoaded;
}

void SetAnimatedSpriteDefinitionsLoaded(bool aIsLoaded)
{
    theDefinitionsAreLoaded = aIsLoaded;
}

bool IsSphereInViewFrustum(Qel::Engine* aEngine, const Qel::Vector3<float>& aCentre, float aRadius)
{
    if (aEngine == nullptr || aEngine->GetGraphicsEngine() == nullptr)
    {
        return true;
    }
    const float now = aEngine->GetTotalTime();
    if (!theFrustumCache.frustum || theFrustumCache.builtAt != now)
    {
        const Qel::Camera& camera = aEngine->GetGraphicsEngine()->GetGraphicsStateStack().GetCamera();
        theFrustumCache.frustum.emplace(camera.GetTransform(), camera.GetProjection(), camera.GetNearPlane(),
                                        camera.GetFarPlane());
        theFrustumCache.builtAt = now;
    }
    if (aRadius <= 0.0f)
    {
        return true;
    }
    const Qel::Matrix4x4& view = theFrustumCache.frustum->viewMatrix;
    const Qel::Vector3<float> point{
        aCentre.x * view(1, 1) + aCentre.y * view(2, 1) + aCentre.z * view(3, 1) + view(4, 1),
        aCentre.x * view(1, 2) + aCentre.y * view(2, 2) + aCentre.z * view(3, 2) + view(4, 2),
        aCentre.x * view(1, 3) + aCentre.y * view(2, 3) + aCentre.z * view(3, 3) + view(4, 3)};
    for (const Qel::FrustumPlane& plane : theFrustumCache.frustum->planes)
    {
        if (plane.valid && plane.SignedDistance(point) > aRadius)
        {
            return false;
        }
    }
    return true;
}

void ResetViewFrustumCache()
{
    theFrustumCache.frustum.reset();
}
