// The default model look, faded into the scene fog with distance from the camera.
#include "ModelSurface.glsl"
#include "Fog.glsl"

void main()
{
    const vec4 albedo = AlbedoOrDiscard();
    const vec3 lit = Lambert(albedo.rgb, normalize(inNormal), 1.0);
    outColor = vec4(ApplyFog(lit, inWorldPosition), albedo.a);
}
