// What every menu shares to lay itself out and draw: the screen size the layouts scale (the render
// size, which the 2D camera spans), reads of the layout document that report a missing key once and go
// on with zero or an empty name, textures fetched in sRGB mode, and the set-up of a screen-space pass.
// Main thread only.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/drawers/SpriteDrawer.h"

#include <nlohmann/json.hpp>
#include <string>

namespace MenuLayout
{
inline constexpr const char* SPRITE_PREFIX = "sprites/";
inline constexpr const char* FONT = "Text/Evil Bible.ttf";

// The engine's render size in pixels; the configured one when no engine runs.
Qel::Vector2<float> GetScreenSize();

// aDocument[aKey] when it is an object; else an empty object, with one log line.
const nlohmann::json& Section(const nlohmann::json& aDocument, const char* aKey);
// {"x", "y"} of aSection[aKey]; (0, 0) with one log line when it is missing or not two numbers.
Qel::Vector2<float> Vector(const nlohmann::json& aSection, const char* aKey);
// A number of aSection[aKey]; aDefault, with one log line, when it is missing or not a number.
float Number(const nlohmann::json& aSection, const char* aKey, float aDefault);
// A string of aSection[aKey]; "" with one log line when it is missing or not a string.
std::string String(const nlohmann::json& aSection, const char* aKey);

// The texture at aPath in sRGB mode (a missing file gives the placeholder); null with no engine.
const Qel::Texture* LoadTexture(const std::string& aPath);
// Starts reading and decoding the texture LoadTexture(aPath) will fetch, so that fetch finds it ready.
void PrefetchTexture(const std::string& aPath);
// Starts rendering the menus' font at aSize (no outline) on a task, for the next text made in it.
void PrefetchFont(int aSize);
// PrefetchTexture of SPRITE_PREFIX + every name under a key ending in "Sprite" in aDocument[aKey], nested
// sections included: the pictures a menu laid out from that section fetches. Silent; the menu reports
// what its layout lacks.
void PrefetchSprites(const nlohmann::json& aDocument, const char* aKey);

// The back buffer as target without depth, and the pixel-space 2D camera. False with no engine.
bool BeginScreenPass();
// One sprite in a batch of its own.
void DrawSingleSprite(Qel::SpriteDrawer& aDrawer, const Qel::SpriteSharedData& aData,
                      const Qel::Sprite2DInstanceData& aSprite);
// A sprite centred on aPosition (pivot 0.5, 0.5), of aSize, scale 1 and white.
void PlaceSprite(Qel::Sprite2DInstanceData& aSprite, const Qel::Vector2<float>& aPosition,
                 const Qel::Vector2<float>& aSize);
} // namespace MenuLayout
