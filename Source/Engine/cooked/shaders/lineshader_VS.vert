#version 450
#extension GL_GOOGLE_include_directive : require
// Line ends arrive already moved by the render-state transform; only the camera remains. The colour
// passes through as authored, without linearising.
#include "include/ConstantBuffers.glsl"

layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec4 inColor;

layout(location = 0) out vec4 outColor;

void main()
{
    gl_Position = vec4(inPosition, 1.0) * camera.worldToView * camera.projection;
    outColor = inColor;
}
