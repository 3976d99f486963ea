// The named sprite-sheet animations of level objects (pickups and the like), one json file each below
// "Animations/Sprites" in the game asset root, read once per process into a process-wide map. Also the
// per-frame view-frustum test the animated sprites share. Main thread only.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"

#include <string>
#include <unordered_map>

namespace Qel
{
class Engine;
}

struct AnimatedSpriteDefinition
{
    std::string id;
    std::string texture;
    int columns = 1;
    int rows = 1;
    int frameCount = 1;
    float fps = 24.0f;
    bool loop = true;
    // World units.
    Qel::Vector2<float> size{120.0f, 120.0f};
    Qel::Vector3<float> worldOffset;
    Qel::Color color{1.0f, 1.0f, 1.0f, 1.0f};
};

// Empties the map and reads every ".vkvfx" and ".json" file below the folder; true also when the folder
// is missing, so callers try once per process.
bool LoadAnimatedSpriteDefinitions();
// Reads one file into the map, replacing a definition with the same id; false (with a line) for a file
// that is invalid or malformed, false with no line for one that cannot be opened.
bool ParseAnimatedSpriteDefinition(const std::string& aPath);
// A bare file name is taken from "Animations/"; a name with '/' or only backslashes is kept.
std::string ResolveSpriteTexturePath(const std::string& aName);

// The process-wide map and its loaded flag (the components set the flag from the load's result).
const std::unordered_map<std::string, AnimatedSpriteDefinition>& GetAnimatedSpriteDefinitions();
const AnimatedSpriteDefinition* FindAnimatedSpriteDefinition(const std::string& anId);
bool AreAnimatedSpriteDefinitionsLoaded();
void SetAnimatedSpriteDefinitionsLoaded(bool aIsLoaded);

// False when the sphere lies wholly outside a plane of the current camera's frustum; the frustum is
// built at most once per engine frame. True without an engine or for a radius of 0 or less.
bool IsSphereInViewFrustum(Qel::Engine* aEngine, const Qel::Vector3<float>& aCentre, float aRadius);
// Forgets the cached frustum, for a camera changed within one engine frame.
void ResetViewFrustumCache();
