#version 450
#extension GL_GOOGLE_include_directive : require
// Lambert diffuse on the normal-mapped surface, with the material texture's occlusion on the ambient
// light and the fx texture's emission added.
#include "include/ModelSurface.glsl"

void main()
{
    const vec4 albedo = AlbedoOrDiscard();
    const float occlusion = texture(materialTexture, inUv).r;
    const vec3 emission = texture(fxTexture, inUv).rgb;
    outColor = vec4(Lambert(albedo.rgb, MappedNormal(), occlusion) + emission, albedo.a);
}
