#version 450
#extension GL_GOOGLE_include_directive : require
// One horizontal pass of a 9-tap Gaussian blur (sigma 2), edges clamped.
#include "include/Postprocess.glsl"
#include "include/Gaussian.glsl"

layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
    vec4 sum = vec4(0.0);
    for (int i = -GAUSSIAN_RADIUS; i <= GAUSSIAN_RADIUS; ++i)
    {
        sum += GAUSSIAN_WEIGHTS[abs(i)] * ReadInput(inUv, ivec2(i, 0));
    }
    outColor = sum;
}
