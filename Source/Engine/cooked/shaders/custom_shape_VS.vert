#version 450
#extension GL_GOOGLE_include_directive : require
// Coloured, textured vertices placed by the shape's own transform (the 64-byte block at b4) and the
// camera.
#include "include/ConstantBuffers.glsl"

layout(std140, row_major, binding = 4) uniform ShapeBuffer
{
    mat4 objectToWorld;
} shape;

layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inUv;

layout(location = 0) out vec4 outColor;
layout(location = 1) out vec2 outUv;

void main()
{
    gl_Position = vec4(inPosition, 1.0) * shape.objectToWorld * camera.worldToView * camera.projection;
    outColor = inColor;
    outUv = inUv;
}
