// How each layer format is stored and uploaded in OpenGL. Internal to the graphics layer.
#pragma once

#include "Platform/Gfx/Types.h"

#include <epoxy/gl.h>

namespace Platform::Gfx::impl
{
struct GlFormat
{
    GLenum internalFormat = 0;
    GLenum pixelFormat = 0;
    GLenum pixelType = 0;
};

// The storage a texture of this format gets; a depth-bound R32 texture becomes a depth texture.
GlFormat GetGlFormat(Format aFormat, bool aIsDepth);
} // namespace Platform::Gfx::impl
