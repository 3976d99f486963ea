#version 450
#extension GL_GOOGLE_include_directive : require
// The textured sprite pixel shader for the white square, which samples as exactly 1 everywhere: the
// tint alone is the pixel, and no texture is read. The same alpha test applies.
#include "include/ConstantBuffers.glsl"

layout(location = 0) in vec4 inColor;

layout(location = 0) out vec4 outColor;

void main()
{
    if (inColor.a < alphaTest.threshold)
    {
        discard;
    }
    outColor = inColor;
}
