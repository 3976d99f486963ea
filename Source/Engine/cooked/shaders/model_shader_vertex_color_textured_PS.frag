#version 450
#extension GL_GOOGLE_include_directive : require
// The colour texture tinted by the vertex colour; pixels whose alpha falls below the alpha-test
// threshold are dropped (a threshold of 0 keeps every pixel).
#include "include/ConstantBuffers.glsl"

layout(binding = 1) uniform sampler2D colorTexture;

layout(location = 0) in vec4 inColor;
layout(location = 1) in vec2 inUv;

layout(location = 0) out vec4 outColor;

void main()
{
    const vec4 color = texture(colorTexture, inUv) * inColor;
    if (color.a < alphaTest.threshold)
    {
        discard;
    }
    outColor = color;
}
