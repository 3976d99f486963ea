#version 450
// One triangle that covers the viewport, made from the vertex index alone: (-1, -1), (3, -1), (-1, 3).
// The coordinate runs 0..1 over the viewport in the same orientation the targets are stored in.
layout(location = 0) out vec2 outUv;

void main()
{
    const vec2 corner = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
    outUv = corner;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
