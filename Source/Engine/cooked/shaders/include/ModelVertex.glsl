// The vertex stage of every model shader: the 180-byte model vertex (inputs in the layout's order),
// skinned by up to four palette entries when SKINNED is 1, moved by the object transform and projected
// by the camera. Static shaders never read the bone buffer: a static draw leaves it undefined. The
// tangent and binormal go out only when TANGENT_FRAME is 1, for the looks that map normals: the
// software rasteriser transforms and sets up every output, used or not.
#ifndef TANGENT_FRAME
#define TANGENT_FRAME 0
#endif
#include "ConstantBuffers.glsl"

layout(location = 0) in vec4 inPosition;
layout(location = 1) in vec4 inColor0;
layout(location = 2) in vec4 inColor1;
layout(location = 3) in vec4 inColor2;
layout(location = 4) in vec4 inColor3;
layout(location = 5) in vec2 inUv0;
layout(location = 6) in vec2 inUv1;
layout(location = 7) in vec2 inUv2;
layout(location = 8) in vec2 inUv3;
layout(location = 9) in vec3 inNormal;
layout(location = 10) in vec3 inTangent;
layout(location = 11) in vec3 inBinormal;
layout(location = 12) in vec4 inBones;
layout(location = 13) in vec4 inWeights;

layout(std140, row_major, binding = 4) uniform ObjectBuffer
{
    mat4 transform;
} object;

#if SKINNED
layout(std140, row_major, binding = 5) uniform BoneBuffer
{
    mat4 palette[128];
} bones;

mat4 Bone(float anIndex)
{
    // Indices arrive as floats; a bad one must not read past the palette.
    return bones.palette[clamp(int(anIndex + 0.5), 0, 127)];
}

mat4 SkinMatrix()
{
    // A vertex bound to no joint (weights all 0) keeps its place instead of collapsing to the origin.
    if (dot(inWeights, vec4(1.0)) <= 0.0)
    {
        return mat4(1.0);
    }
    return inWeights.x * Bone(inBones.x) + inWeights.y * Bone(inBones.y) + inWeights.z * Bone(inBones.z) +
           inWeights.w * Bone(inBones.w);
}
#else
mat4 SkinMatrix()
{
    return mat4(1.0);
}
#endif

layout(location = 0) out vec3 outWorldPosition;
layout(location = 1) out vec4 outColor;
layout(location = 2) out vec2 outUv;
layout(location = 3) out vec3 outNormal;
#if TANGENT_FRAME
layout(location = 4) out vec3 outTangent;
layout(location = 5) out vec3 outBinormal;
#endif

void main()
{
    const mat4 toWorld = SkinMatrix() * object.transform;
    const vec4 world = vec4(inPosition.xyz, 1.0) * toWorld;
    gl_Position = world * camera.worldToView * camera.projection;
    outWorldPosition = world.xyz;
    outColor = inColor0;
    outUv = inUv0;
    outNormal = (vec4(inNormal, 0.0) * toWorld).xyz;
#if TANGENT_FRAME
    outTangent = (vec4(inTangent, 0.0) * toWorld).xyz;
    outBinormal = (vec4(inBinormal, 0.0) * toWorld).xyz;
#endif
}
