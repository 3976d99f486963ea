#include "Platform/Gfx/GlFormats.h"

namespace Platform::Gfx::impl
{
namespace
{
GlFormat Swizzled(GlFormat aFormat, GLint aRed, GLint aGreen, GLint aBlue, GLint anAlpha)
{
    aFormat.swizzle[0] = aRed;
    aFormat.swizzle[1] = aGreen;
    aFormat.swizzle[2] = aBlue;
    aFormat.swizzle[3] = anAlpha;
    return aFormat;
}
} // namespace

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
    case Format::B8G8R8X8_UNORM:
        return Swizzled({GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE}, GL_RED, GL_GREEN, GL_BLUE, GL_ONE);
    case Format::B8G8R8X8_UNORM_SRGB:
        return Swizzled({GL_SRGB8_ALPHA8, GL_BGRA, GL_UNSIGNED_BYTE}, GL_RED, GL_GREEN, GL_BLUE, GL_ONE);
    case Format::R8_UNORM:
        return {GL_R8, GL_RED, GL_UNSIGNED_BYTE};
    case Format::A8_UNORM:
        return Swizzled({GL_R8, GL_RED, GL_UNSIGNED_BYTE}, GL_ZERO, GL_ZERO, GL_ZERO, GL_RED);
    case Format::R8G8_UNORM:
        return {GL_RG8, GL_RG, GL_UNSIGNED_BYTE};
    case Format::R16_UNORM:
        return {GL_R16, GL_RED, GL_UNSIGNED_SHORT};
    case Format::R16G16_UNORM:
        return {GL_RG16, GL_RG, GL_UNSIGNED_SHORT};
    case Format::R16G16B16A16_UNORM:
        return {GL_RGBA16, GL_RGBA, GL_UNSIGNED_SHORT};
    case Format::R10G10B10A2_UNORM:
        return {GL_RGB10_A2, GL_RGBA, GL_UNSIGNED_INT_2_10_10_10_REV};
    case Format::B5G6R5_UNORM:
        return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    case Format::B5G5R5A1_UNORM:
        return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case Format::B4G4R4A4_UNORM:
        return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    case Format::R16_FLOAT:
        return {GL_R16F, GL_RED, GL_HALF_FLOAT};
    case Format::R16G16_FLOAT:
        return {GL_RG16F, GL_RG, GL_HALF_FLOAT};
    case Format::R16G16B16A16_FLOAT:
        return {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT};
    case Format::R32G32_FLOAT:
        return {GL_RG32F, GL_RG, GL_FLOAT};
    case Format::R32G32B32_FLOAT:
        return {GL_RGB32F, GL_RGB, GL_FLOAT};
    case Format::R32G32B32A32_FLOAT:
        return {GL_RGBA32F, GL_RGBA, GL_FLOAT};
    case Format::BC1_UNORM:
        return {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0};
    case Format::BC1_UNORM_SRGB:
        return {GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT1_EXT, 0, 0};
    case Format::BC2_UNORM:
        return {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0};
    case Format::BC2_UNORM_SRGB:
        return {GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT3_EXT, 0, 0};
    case Format::BC3_UNORM:
        return {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0};
    case Format::BC3_UNORM_SRGB:
        return {GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT5_EXT, 0, 0};
    case Format::BC4_UNORM:
        return {GL_COMPRESSED_RED_RGTC1, 0, 0};
    case Format::BC5_UNORM:
        return {GL_COMPRESSED_RG_RGTC2, 0, 0};
    case Format::BC6H_UF16:
        return {GL_COMPRESSED_RGB_BPTC_UNSIGNED_FLOAT, 0, 0};
    case Format::BC6H_SF16:
        return {GL_COMPRESSED_RGB_BPTC_SIGNED_FLOAT, 0, 0};
    case Format::BC7_UNORM:
        return {GL_COMPRESSED_RGBA_BPTC_UNORM, 0, 0};
    case Format::BC7_UNORM_SRGB:
        return {GL_COMPRESSED_SRGB_ALPHA_BPTC_UNORM, 0, 0};
    case Format::R32_TYPELESS:
    case Format::R32_FLOAT:
        return aIsDepth ? GlFormat{GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT}
                        : GlFormat{GL_R32F, GL_RED, GL_FLOAT};
    case Format::D32_FLOAT:
        return {GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT};
    case Format::R32_UINT:
    case Format::R32G32B32A32_UINT:
    case Format::Unknown:
        break;
    }
    return {};
}

GlAttribute GetGlAttribute(Format aFormat)
{
    switch (aFormat)
    {
    case Format::R32_FLOAT:
        return {1, GL_FLOAT, false};
    case Format::R32G32_FLOAT:
        return {2, GL_FLOAT, false};
    case Format::R32G32B32_FLOAT:
        return {3, GL_FLOAT, false};
    case Format::R32G32B32A32_FLOAT:
        return {4, GL_FLOAT, false};
    case Format::R32_UINT:
        return {1, GL_UNSIGNED_INT, true};
    case Format::R32G32B32A32_UINT:
        return {4, GL_UNSIGNED_INT, true};
    default:
        return {};
    }
}
} // namespace Platform::Gfx::impl
