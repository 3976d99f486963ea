#version 450
#extension GL_GOOGLE_include_directive : require
// Metallic-roughness shading: GGX distribution, Smith-Schlick visibility and Schlick Fresnel for the
// directional light; the ambient cube map lights the diffuse part along the normal and the specular
// part along the reflection. The fx texture's emission is added.
#include "include/ModelSurface.glsl"

const float PI = 3.14159265;

vec3 Fresnel(vec3 aF0, float aCosine, float aRoughness)
{
    return aF0 + (max(vec3(1.0 - aRoughness), aF0) - aF0) * pow(1.0 - aCosine, 5.0);
}

void main()
{
    const vec4 albedo = AlbedoOrDiscard();
    const vec3 material = texture(materialTexture, inUv).rgb;
    const float occlusion = material.r;
    const float roughness = clamp(material.g, 0.04, 1.0);
    const float metalness = material.b;

    const vec3 n = MappedNormal();
    const vec3 cameraPosition = (vec4(0.0, 0.0, 0.0, 1.0) * camera.viewToWorld).xyz;
    const vec3 v = normalize(cameraPosition - inWorldPosition);
    const vec3 l = DirectionToLight();
    const vec3 h = normalize(l + v);
    const float nDotL = max(dot(n, l), 0.0);
    const float nDotV = max(dot(n, v), 1e-4);
    const float nDotH = max(dot(n, h), 0.0);
    const vec3 f0 = mix(vec3(0.04), albedo.rgb, metalness);

    const float alpha = roughness * roughness;
    const float alpha2 = alpha * alpha;
    const float d = alpha2 / (PI * pow(nDotH * nDotH * (alpha2 - 1.0) + 1.0, 2.0));
    const float k = (roughness + 1.0) * (roughness + 1.0) / 8.0;
    const float g = nDotV / (nDotV * (1.0 - k) + k) * nDotL / (nDotL * (1.0 - k) + k);
    const vec3 f = f0 + (1.0 - f0) * pow(1.0 - max(dot(h, v), 0.0), 5.0);
    const vec3 specular = d * g * f / max(4.0 * nDotL * nDotV, 1e-4);
    const vec3 diffuse = (1.0 - f) * (1.0 - metalness) * albedo.rgb;
    // Scaled by pi like the Lambert shaders, so a white surface facing the light shows its colour.
    const vec3 direct = (diffuse + specular * PI) * DirectionalRadiance() * nDotL;

    const vec3 ambientF = Fresnel(f0, nDotV, roughness);
    const vec3 ambientDiffuse = (1.0 - ambientF) * (1.0 - metalness) * albedo.rgb * Ambient(n);
    const vec3 ambientSpecular = ambientF * Ambient(reflect(-v, n));
    const vec3 emission = texture(fxTexture, inUv).rgb;
    outColor = vec4((ambientDiffuse + ambientSpecular) * occlusion + direct + emission, albedo.a);
}
