#version 450
#extension GL_GOOGLE_include_directive : require
// Sprite corners arrive already placed in world space; only the camera is left to apply.
#include "include/ConstantBuffers.glsl"

layout(location = 0) in vec4 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inUv;

layout(location = 0) out vec4 outColor;
layout(location = 1) out vec2 outUv;

void main()
{
    gl_Position = inPosition * camera.worldToView * camera.projection;
    outUv = inUv;
    outColor = inColor;
}
