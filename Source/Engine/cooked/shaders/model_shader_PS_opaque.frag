#version 450
#extension GL_GOOGLE_include_directive : require
// Chosen by the model shader for draws without alpha test under the white ambient cube map.
#define OPAQUE_WHITE_AMBIENT 1
#include "include/ModelLook.glsl"
