#version 450
#extension GL_GOOGLE_include_directive : require
// Blocks of pixelSize x pixelSize render pixels, counted from the top-left corner, each taking the
// input texel at its centre. The block grid is laid over the render size; the input may differ in size.
#include "include/Postprocess.glsl"

layout(std140, binding = 13) uniform PixelateBuffer
{
    float pixelSize;
    uint renderWidth;
    uint renderHeight;
} pixelate;

layout(location = 0) in vec2 inUv;
layout(location = 0) out vec4 outColor;

void main()
{
    const vec2 renderSize = vec2(max(pixelate.renderWidth, 1u), max(pixelate.renderHeight, 1u));
    const float blockSize = max(pixelate.pixelSize, 1.0);
    // Screen pixels from the top-left; the viewport coordinate runs upwards as the targets are stored.
    const vec2 fromTopLeft = vec2(inUv.x, 1.0 - inUv.y) * renderSize;
    const vec2 blockCentre = (floor(fromTopLeft / blockSize) + 0.5) * blockSize;
    const vec2 uv = vec2(blockCentre.x, renderSize.y - blockCentre.y) / renderSize;
    outColor = ReadInput(clamp(uv, vec2(0.0), vec2(1.0)), ivec2(0));
}
