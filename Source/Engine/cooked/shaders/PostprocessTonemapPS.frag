#version 450
#extension GL_GOOGLE_include_directive : require
// Brings high-range colour into 0..1 with the Reinhard curve c / (1 + c); alpha is kept.
#include "include/Postprocess.glsl"

layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
    const vec4 color = ReadInput(inUv, ivec2(0));
    outColor = vec4(color.rgb / (vec3(1.0) + max(color.rgb, vec3(0.0))), color.a);
}
