// The world's sprite-sheet effects: the definitions loaded from the "Vfx" folder and a fixed pool of
// 512 live instances that spawn by id, drift, animate and expire. Gameplay code spawns through the two
// static functions, which reach the one active system. Main thread only.
#pragma once

#include "Effects/VfxDefinition.h"
#include "vek/drawers/SpriteDrawer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace Qel
{
class Texture;
}

struct VfxSpawnParams
{
    Qel::Vector3<float> worldPosition;
    Qel::Vector2<float> screenPosition;
    float sizeMultiplier = 1.0f;
    // +1 right, -1 left.
    float facing = 1.0f;
};

struct VfxInstance
{
    bool active = false;
    const VfxDefinition* definition = nullptr;
    const Qel::Texture* texture = nullptr;
    VfxSpawnParams params;
    Qel::Color color{1.0f, 1.0f, 1.0f, 1.0f};
    float age = 0.0f;
    int lastLoggedFrame = -1;
    Qel::Vector3<float> position;
    Qel::Vector3<float> velocity;
    float phase = 0.0f;
};

// A frame of a sheet and its cell's UV rectangle, v = 0 at the top of the texture.
struct VfxFrame
{
    int frame = 0;
    float uMin = 0.0f;
    float vMin = 0.0f;
    float uMax = 1.0f;
    float vMax = 1.0f;
};

// A world-space effect as it will be drawn; z is the sort key.
struct VfxWorldSprite
{
    const Qel::Texture* texture = nullptr;
    Qel::Sprite3DInstanceData instance;
    float z = 0.0f;
};

class VfxSystem
{
public:
    static constexpr std::size_t POOL_SIZE = 512;

    VfxSystem();
    VfxSystem(const VfxSystem&) = delete;
    VfxSystem& operator=(const VfxSystem&) = delete;

    // The system that spawns reach; null for none.
    static void SetActive(VfxSystem* aSystem);
    static VfxSystem* GetActive();

    // LoadDefinitions; true also when the folder is missing or no file was valid.
    bool Load();
    void LoadDefinitions();
    bool ParseDefinition(const std::filesystem::path& aPath);

    // False when no system is active, the id is unknown, no engine runs or every slot is in use.
    static bool SpawnAt(const std::string& anId, const Qel::Vector3<float>& aWorldPosition,
                        float aSizeMultiplier, float aFacing);
    static bool SpawnOnScreen(const std::string& anId, const Qel::Vector2<float>& aScreenPosition,
                              float aSizeMultiplier);
    bool Spawn(const std::string& anId, const VfxSpawnParams& someParams);

    void Update(float aDeltaTime);
    // World-space effects far to near in the current camera, then screen-space ones in pixels.
    void Render();
    void ClearAll();

    // Whole frames shown by an age at a rate (1 per second when the rate is not above 0).
    static std::int64_t CountFrames(float aFps, float anAge);
    static VfxFrame GetFrameIndex(int aFrameCount, float aFps, bool aLoop, int aColumns, int aRows,
                                  float anAge);
    // A bare file name is taken from "Animations/VFX/"; a path with a folder is kept.
    static std::string GetDefinitionFolder(const std::string& aTexture);
    static VfxMotion ParseMotion(const std::string& aName);

    // The world-space sprites of the live effects, sorted far to near (stable); what Render draws.
    const std::vector<VfxWorldSprite>& CollectWorldSprites();

    const VfxDefinition* FindDefinition(const std::string& anId) const;
    std::size_t GetDefinitionCount() const { return myDefinitions.size(); }
    const std::vector<VfxInstance>& GetInstances() const { return myInstances; }
    std::size_t GetActiveCount() const;

private:
    void UpdateInstance(VfxInstance& anInstance, float aDeltaTime);
    void RenderScreenSprites();

    std::unordered_map<std::string, VfxDefinition> myDefinitions;
    std::vector<VfxInstance> myInstances;
    // Kept between frames so that drawing allocates nothing once warm.
    std::vector<VfxWorldSprite> myWorldSprites;
    std::unordered_map<const Qel::Texture*, std::vector<Qel::Sprite2DInstanceData>> myScreenGroups;
};
