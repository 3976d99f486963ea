// The pixel stage's side of every model shader: the interpolated vertex, the ambient cube map (t0) and
// the mesh's textures (t1 albedo, sRGB; t2 tangent-space normal; t3 material: occlusion, roughness,
// metalness in red, green, blue; t4 fx: emitted colour), and the light terms the shaders share.
// Lighting is linear; the sRGB back buffer encodes the result. OPAQUE_WHITE_AMBIENT 1 builds the
// variant drawn when no alpha test applies and the ambient cube map is the white one: without a discard
// the depth test can run before shading, and the cube fetch, costly on a software rasteriser, goes.
#ifndef OPAQUE_WHITE_AMBIENT
#define OPAQUE_WHITE_AMBIENT 0
#endif
#include "ConstantBuffers.glsl"

layout(binding = 0) uniform samplerCube ambientCubeMap;
layout(binding = 1) uniform sampler2D albedoTexture;
layout(binding = 2) uniform sampler2D normalTexture;
layout(binding = 3) uniform sampler2D materialTexture;
layout(binding = 4) uniform sampler2D fxTexture;

layout(location = 0) in vec3 inWorldPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inUv;
layout(location = 3) in vec3 inNormal;
layout(location = 4) in vec3 inTangent;
layout(location = 5) in vec3 inBinormal;

layout(location = 0) out vec4 outColor;

// The albedo tinted by the vertex colour; pixels below the alpha-test threshold are dropped.
vec4 AlbedoOrDiscard()
{
    const vec4 albedo = texture(albedoTexture, inUv) * inColor;
#if !OPAQUE_WHITE_AMBIENT
    if (albedo.a < alphaTest.threshold)
    {
        discard;
    }
#endif
    return albedo;
}

vec3 MappedNormal()
{
    const vec3 local = texture(normalTexture, inUv).xyz * 2.0 - 1.0;
    return normalize(local.x * inTangent + local.y * inBinormal + local.z * inNormal);
}

vec3 DirectionToLight()
{
    return -normalize((vec4(0.0, 0.0, 1.0, 0.0) * lights.directionalTransform).xyz);
}

vec3 DirectionalRadiance()
{
    return lights.directionalColor.rgb * lights.directionalIntensity;
}

vec3 Ambient(vec3 aDirection)
{
#if OPAQUE_WHITE_AMBIENT
    return lights.ambientColor.rgb;
#else
    return lights.ambientColor.rgb * texture(ambientCubeMap, aDirection).rgb;
#endif
}

// Lambert diffuse under the ambient and the directional light, scaled so that a white surface facing
// a light of intensity 1 shows the light's colour.
vec3 Lambert(vec3 anAlbedo, vec3 aNormal, float anOcclusion)
{
    const float facing = max(dot(aNormal, DirectionToLight()), 0.0);
    return anAlbedo * (Ambient(aNormal) * anOcclusion + DirectionalRadiance() * facing);
}
