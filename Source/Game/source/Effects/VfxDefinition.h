// One sprite-sheet effect as its definition file describes it: the sheet, its frames and timing, where
// the sprite sits relative to its spawn point and how it drifts.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"
#include "vek/Math/Vector3.h"

#include <string>

enum class VfxSpace
{
    World,
    Screen
};

enum class VfxMotion
{
    Static = 0,
    Falling = 1,
    Floating = 2
};

struct VfxDefinition
{
    std::string id;
    std::string texture;
    VfxSpace space = VfxSpace::World;
    int columns = 1;
    int rows = 1;
    int frameCount = 1;
    float fps = 24.0f;
    bool loop = false;
    bool debugLogFrames = false;
    // Seconds; 0 for none.
    float lifetime = 0.0f;
    // World units or pixels, by space.
    Qel::Vector2<float> size{100.0f, 100.0f};
    Qel::Vector2<float> pivot{0.5f, 0.5f};
    Qel::Vector3<float> spawnOffsetWorld;
    Qel::Vector2<float> spawnOffsetScreen;
    bool useOwnerForward = false;
    VfxMotion motion = VfxMotion::Static;
    Qel::Vector3<float> initialVelocity;
    Qel::Vector3<float> acceleration;
    float driftStrength = 0.0f;
    // Radians per second of age; 0 means 1.
    float driftFrequency = 0.0f;
    Qel::Color color{1.0f, 1.0f, 1.0f, 1.0f};
};
