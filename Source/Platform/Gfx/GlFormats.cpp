#include "Platform/Gfx/GlFormats.h"

namespace Platform::Gfx::impl
{
GlFormat GetGlFormat(Format aFormat, bool aIsDepth)
{
    switch (aFormat)
    {
    case Format::R8G8B8A8_UNORM:
        return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};
    case Format::R8G8B8A8_UNORM_SRGB:
        return {GL_SRGB8_ALPHA8, GL_RGBA, GL_UNSIGNED_BYTE};
    case Format::B8G8R8A8_UNORM:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
    case Format::B8G8R8A8_UNORM_SRGB:
        return {GL_SRGB8_ALPHA8, GL_BGRA, GL_UNSIGNED_BYTE};
    case Format::R32_TYPELESS:
    case Format::R32_FLOAT:
        return aIsDepth ? GlFormat{GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT}
                        : GlFormat{GL_R32F, GL_RED, GL_FLOAT};
    case Format::D32_FLOAT:
        return {GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT};
    case Format::Unknown:
        break;
    }
    return {};
}
} // namespace Platform::Gfx::impl
