#version 450
#extension GL_GOOGLE_include_directive : require
// The input as it is.
#include "include/Postprocess.glsl"

layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
    outColor = ReadInput(inUv, ivec2(0));
}
