#version 450
#extension GL_GOOGLE_include_directive : require
#include "include/FogLook.glsl"
