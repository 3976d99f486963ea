// The default model look: albedo and vertex colour under ambient and directional light on the
// interpolated vertex normal.
#include "ModelSurface.glsl"

void main()
{
    const vec4 albedo = AlbedoOrDiscard();
    outColor = vec4(Lambert(albedo.rgb, normalize(inNormal), 1.0), albedo.a);
}
