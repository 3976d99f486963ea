#version 450
#extension GL_GOOGLE_include_directive : require
// The skinned model vertex stage of fogged scenes.
#define SKINNED 1
#include "include/ModelVertex.glsl"
