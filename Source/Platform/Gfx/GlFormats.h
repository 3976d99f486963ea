// How each layer format is stored, uploaded and read as a vertex attribute in OpenGL. Internal to the
// graphics layer.
#pragma once

#include "Platform/Gfx/Types.h"

#include <epoxy/gl.h>

namespace Platform::Gfx::impl
{
struct GlFormat
{
    GLenum internalFormat = 0;
    // Zero for block-compressed formats, which upload their blocks as they are.
    GLenum pixelFormat = 0;
    GLenum pixelType = 0;
    // Sampling swizzle where the stored channels differ from what shaders read (alpha-only, no alpha).
    GLint swizzle[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
};

// The storage a texture of this format gets; a depth-bound R32 texture becomes a depth texture.
GlFormat GetGlFormat(Format aFormat, bool aIsDepth);

struct GlAttribute
{
    GLint components = 0;
    GLenum type = 0;
    bool isInteger = false;
};

// How a vertex-input format is read; zero components for formats that are no vertex input.
GlAttribute GetGlAttribute(Format aFormat);
} // namespace Platform::Gfx::impl
