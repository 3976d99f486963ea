// The asset-reference records of scene properties: models, sprites, scenes and animation clips, named by
// interned paths exactly as the data writes them (nothing here resolves or opens a file).
//
// The records hold only ids and numbers, live in the static pools and are handled through
// CopyOnWriteWrapper; the handle aliases below are the property value types.
#pragma once

#include "vek/Math/Vector2.h"
#include "vek/scene/CopyOnWriteWrapper.h"
#include "vek/stringRegistry/StringId.h"

#include <array>
#include <cstddef>

namespace Qel
{
inline constexpr std::size_t MAX_MESHES_PER_MODEL = 4;
// Texture slots of models and sprites: 0 colour, 1 normal, 2 material, 3 effects.
inline constexpr std::size_t TEXTURE_SLOT_COUNT = 4;

struct SceneModel
{
    StringId myPath;
    // Mesh-major: myTextures[mesh][slot].
    std::array<std::array<StringId, TEXTURE_SLOT_COUNT>, MAX_MESHES_PER_MODEL> myTextures{};

    friend bool operator==(const SceneModel&, const SceneModel&) = default;
};

struct SceneSprite
{
    std::array<StringId, TEXTURE_SLOT_COUNT> myTextures{};
    Vector2<float> mySize{100.0f, 100.0f};
    Vector2<float> myPivot{0.5f, 0.5f};

    friend bool operator==(const SceneSprite&, const SceneSprite&) = default;
};

struct SceneReference
{
    StringId myScenePath;

    friend bool operator==(const SceneReference&, const SceneReference&) = default;
};

struct AnimationClipReference
{
    StringId myClipPath;

    friend bool operator==(const AnimationClipReference&, const AnimationClipReference&) = default;
};

using SceneModelHandle = CopyOnWriteWrapper<SceneModel>;
using SceneSpriteHandle = CopyOnWriteWrapper<SceneSprite>;
using SceneReferenceHandle = CopyOnWriteWrapper<SceneReference>;
using AnimationClipReferenceHandle = CopyOnWriteWrapper<AnimationClipReference>;
} // namespace Qel
