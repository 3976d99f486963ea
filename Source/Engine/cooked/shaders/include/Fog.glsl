// The scene fog (b6): its colour, and the view distances where it starts and where it covers all.
// Applied to lit colour by the pixel stage of the fog shaders.

layout(std140, binding = 6) uniform FogBuffer
{
    vec4 color;
    float nearDistance;
    float farDistance;
} fog;

// Linear fog by distance from the camera; a far distance at or before the near one means a sharp edge.
vec3 ApplyFog(vec3 aLitColor, vec3 aWorldPosition)
{
    const vec3 cameraPosition = (vec4(0.0, 0.0, 0.0, 1.0) * camera.viewToWorld).xyz;
    const float distanceToCamera = length(aWorldPosition - cameraPosition);
    const float span = max(fog.farDistance - fog.nearDistance, 0.0001);
    const float amount = clamp((distanceToCamera - fog.nearDistance) / span, 0.0, 1.0);
    return mix(aLitColor, fog.color.rgb, amount);
}
