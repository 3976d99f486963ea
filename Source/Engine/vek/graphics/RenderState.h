// The pipeline state every draw runs under, as one value the render-state stack copies whole on a push:
// the indices into the blend, depth, rasterizer and sampler tables, the alpha test, the lights, the
// camera, the fog and the object transform. Each constant-buffer group carries a stamp: two states with
// equal stamps for a group hold equal data for it. Plain value types.
#pragma once

#include "vek/Math/Color.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/Math/Vector3.h"
#include "vek/graphics/Camera.h"

#include <array>
#include <cstdint>

namespace Qel
{
class Texture;

constexpr std::uint32_t MAX_POINT_LIGHTS = 8;

struct PointLight
{
    Vector3<float> position;
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    float range = 1000.0f;
    float extra = 0.0f;
};

struct DirectionalLight
{
    // Its rows give the light's axes.
    Matrix4x4 transform;
    Color color;
    float intensity = 0.0f;
};

enum AmbientCubeMap : std::uint32_t
{
    AMBIENT_CUBE_MAP_WHITE = 0,
    AMBIENT_CUBE_MAP_HORIZON = 1,
    AMBIENT_CUBE_MAP_CUSTOM = 2,
};

struct AmbientLight
{
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    std::uint32_t cubeMapMode = AMBIENT_CUBE_MAP_WHITE;
    float intensity = 1.0f;
    // Owned by the texture manager; may be null.
    const Texture* customCubeMap = nullptr;
};

struct Fog
{
    Color color;
    float nearDistance = 0.0f;
    float farDistance = 0.0f;
};

struct RenderState
{
    int blendMode = 1;
    int depthMode = 0;
    int rasterizerMode = 1;
    int samplerFilter = 2;
    int samplerAddressMode = 1;
    std::uint32_t alphaTestStamp = 0;
    float alphaTestThreshold = 0.0f;
    std::array<float, 4> alphaTestExtra{};
    std::uint32_t lightStamp = 0;
    std::uint32_t pointLightCount = 0;
    std::array<PointLight, MAX_POINT_LIGHTS> pointLights{};
    DirectionalLight directionalLight;
    AmbientLight ambientLight;
    std::uint32_t cameraStamp = 0;
    Camera camera;
    std::uint32_t fogStamp = 0;
    Fog fog;
    Matrix4x4 transform;
};
} // namespace Qel
