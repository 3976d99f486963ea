// The constant buffers every engine shader may read, at the registers the render-state stack binds.
// Matrices are stored row by row with row vectors, so positions multiply as `v * M`.

layout(std140, binding = 0) uniform FrameBuffer
{
    float renderWidth;
    float renderHeight;
    float totalTime;
    float deltaTime;
} frame;

layout(std140, row_major, binding = 1) uniform CameraBuffer
{
    mat4 worldToView;
    mat4 viewToWorld;
    mat4 projection;
    mat4 inverseProjection;
    float nearPlane;
    float farPlane;
} camera;

layout(std140, binding = 3) uniform AlphaTestBuffer
{
    vec4 extra;
    float threshold;
} alphaTest;

struct PointLightData
{
    vec3 position;
    vec4 color;
    float range;
    float extra;
};

// Colours are linear. The directional light travels along its transform's third row.
layout(std140, row_major, binding = 2) uniform LightBuffer
{
    PointLightData pointLights[8];
    uint pointLightCount;
    float directionalIntensity;
    vec4 ambientColor;
    vec4 directionalColor;
    mat4 directionalTransform;
} lights;
