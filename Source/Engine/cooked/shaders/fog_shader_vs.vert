#version 450
#extension GL_GOOGLE_include_directive : require
// The static model vertex stage of fogged scenes.
#define SKINNED 0
#include "include/ModelVertex.glsl"
