// The input of a full-screen effect at t0, read texel by texel so that no sampler state is needed.
layout(binding = 0) uniform sampler2D inputTexture;

ivec2 InputSize()
{
    return textureSize(inputTexture, 0);
}

// The input texel under a viewport coordinate, offset by whole texels and clamped to the edges.
vec4 ReadInput(vec2 aUv, ivec2 anOffset)
{
    const ivec2 size = InputSize();
    const ivec2 texel = clamp(ivec2(aUv * vec2(size)) + anOffset, ivec2(0), size - 1);
    return texelFetch(inputTexture, texel, 0);
}
