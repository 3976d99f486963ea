#version 450
#extension GL_GOOGLE_include_directive : require
// Instanced quads: the unit quad (x 0..1, y -1..0) is moved by the instance's pivot and size, placed by
// its world rows and projected by the camera. The top edge (y 0) samples the texture's start row.
#include "include/ConstantBuffers.glsl"

layout(location = 0) in vec4 inPosition;
layout(location = 1) in uvec4 inCorner;
layout(location = 2) in vec4 inWorld0;
layout(location = 3) in vec4 inWorld1;
layout(location = 4) in vec4 inWorld2;
layout(location = 5) in vec4 inWorld3;
layout(location = 6) in vec4 inColor;
layout(location = 7) in vec4 inPivotAndSize;
layout(location = 8) in vec4 inUvRect;

layout(location = 0) out vec4 outColor;
layout(location = 1) out vec2 outUv;

void main()
{
    const vec2 corner = inPosition.xy;
    const vec4 local = vec4((corner.x - inPivotAndSize.x) * inPivotAndSize.z,
                            (corner.y + inPivotAndSize.y) * inPivotAndSize.w, 0.0, 1.0);
    const vec4 world = local.x * inWorld0 + local.y * inWorld1 + local.z * inWorld2 + local.w * inWorld3;
    gl_Position = world * camera.worldToView * camera.projection;
    // The rectangle arrives as (start u, end v, end u, start v).
    outUv = vec2(mix(inUvRect.x, inUvRect.z, corner.x), mix(inUvRect.w, inUvRect.y, -corner.y));
    outColor = inColor;
}
