#version 450
#extension GL_GOOGLE_include_directive : require
// The static model vertex stage, with the tangent frame for the looks that map normals.
#define SKINNED 0
#define TANGENT_FRAME 1
#include "include/ModelVertex.glsl"
