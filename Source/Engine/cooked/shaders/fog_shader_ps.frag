#version 450
#extension GL_GOOGLE_include_directive : require
// The default model look, faded into the scene fog with distance from the camera.
#include "include/ModelSurface.glsl"
#include "include/Fog.glsl"

void main()
{
    const vec4 albedo = AlbedoOrDiscard();
    const vec3 lit = Lambert(albedo.rgb, normalize(inNormal), 1.0);
    outColor = vec4(ApplyFog(lit, inWorldPosition), albedo.a);
}
