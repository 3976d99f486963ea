#include "Platform/Gfx/States.h"

#include <epoxy/gl.h>

namespace Platform::Gfx
{
namespace
{
GLenum ToGl(BlendFactor aFactor)
{
    switch (aFactor)
    {
    case BlendFactor::Zero:
        return GL_ZERO;
    case BlendFactor::One:
        return GL_ONE;
    case BlendFactor::SrcColor:
        return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha:
        return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestAlpha:
        return GL_DST_ALPHA;
    case BlendFactor::InvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::DestColor:
        return GL_DST_COLOR;
    case BlendFactor::InvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum ToGl(BlendOp anOp)
{
    switch (anOp)
    {
    case BlendOp::Add:
        return GL_FUNC_ADD;
    case BlendOp::Subtract:
        return GL_FUNC_SUBTRACT;
    case BlendOp::RevSubtract:
        return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOp::Min:
        return GL_MIN;
    case BlendOp::Max:
        return GL_MAX;
    }
    return GL_FUNC_ADD;
}

GLenum ToGl(Comparison aComparison)
{
    switch (aComparison)
    {
    case Comparison::Never:
        return GL_NEVER;
    case Comparison::Less:
        return GL_LESS;
    case Comparison::Equal:
        return GL_EQUAL;
    case Comparison::LessEqual:
        return GL_LEQUAL;
    case Comparison::Greater:
        return GL_GREATER;
    case Comparison::NotEqual:
        return GL_NOTEQUAL;
    case Comparison::GreaterEqual:
        return GL_GEQUAL;
    case Comparison::Always:
        return GL_ALWAYS;
    }
    return GL_LESS;
}

GLint ToGl(AddressMode aMode)
{
    switch (aMode)
    {
    case AddressMode::Clamp:
        return GL_CLAMP_TO_EDGE;
    case AddressMode::Wrap:
        return GL_REPEAT;
    case AddressMode::Mirror:
        return GL_MIRRORED_REPEAT;
    }
    return GL_REPEAT;
}
} // namespace

SamplerState::~SamplerState()
{
    myCore->ReleaseGlObject(GlObjectKind::Sampler, myName);
}

unsigned int SamplerState::Realise()
{
    if (myName != 0 || !myCore->IsMainThread())
    {
        return myName;
    }
    GLuint name = 0;
    glCreateSamplers(1, &name);
    GLint minFilter = GL_LINEAR_MIPMAP_LINEAR;
    GLint magFilter = GL_LINEAR;
    if (myDesc.filter == Filter::MinMagMipPoint)
    {
        minFilter = GL_NEAREST_MIPMAP_NEAREST;
        magFilter = GL_NEAREST;
    }
    else if (myDesc.filter == Filter::MinMagLinearMipPoint)
    {
        minFilter = GL_LINEAR_MIPMAP_NEAREST;
    }
    glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER, minFilter);
    glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, magFilter);
    glSamplerParameteri(name, GL_TEXTURE_WRAP_S, ToGl(myDesc.addressU));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_T, ToGl(myDesc.addressV));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_R, ToGl(myDesc.addressW));
    glSamplerParameterf(name, GL_TEXTURE_LOD_BIAS, myDesc.mipLodBias);
    glSamplerParameterf(name, GL_TEXTURE_MIN_LOD, myDesc.minLod);
    glSamplerParameterf(name, GL_TEXTURE_MAX_LOD, myDesc.maxLod);
    myName = name;
    return myName;
}

namespace impl
{
void ApplyBlend(const BlendDesc& aDesc)
{
    if (aDesc.blendEnable)
    {
        glEnablei(GL_BLEND, 0);
    }
    else
    {
        glDisablei(GL_BLEND, 0);
    }
    glBlendFuncSeparatei(0, ToGl(aDesc.srcBlend), ToGl(aDesc.destBlend), ToGl(aDesc.srcBlendAlpha),
                         ToGl(aDesc.destBlendAlpha));
    glBlendEquationSeparatei(0, ToGl(aDesc.blendOp), ToGl(aDesc.blendOpAlpha));
    glColorMaski(0, (aDesc.writeMask & 1) != 0, (aDesc.writeMask & 2) != 0, (aDesc.writeMask & 4) != 0,
                 (aDesc.writeMask & 8) != 0);
}

void ApplyDepthStencil(const DepthStencilDesc& aDesc)
{
    if (aDesc.depthEnable)
    {
        glEnable(GL_DEPTH_TEST);
    }
    else
    {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthFunc(ToGl(aDesc.depthFunc));
    glDepthMask(aDesc.depthWrite ? GL_TRUE : GL_FALSE);
}

void ApplyRasterizer(const RasterizerDesc& aDesc)
{
    glPolygonMode(GL_FRONT_AND_BACK, aDesc.fillMode == FillMode::Wireframe ? GL_LINE : GL_FILL);
    if (aDesc.cullMode == CullMode::None)
    {
        glDisable(GL_CULL_FACE);
    }
    else
    {
        glEnable(GL_CULL_FACE);
        glCullFace(aDesc.cullMode == CullMode::Front ? GL_FRONT : GL_BACK);
    }
    // Clip space has y up and the window origin at the bottom left, so a triangle seen clockwise on
    // screen is clockwise in GL's window coordinates too.
    glFrontFace(aDesc.frontCounterClockwise ? GL_CCW : GL_CW);
    if (aDesc.depthClipEnable)
    {
        glDisable(GL_DEPTH_CLAMP);
    }
    else
    {
        glEnable(GL_DEPTH_CLAMP);
    }
    if (aDesc.scissorEnable)
    {
        glEnable(GL_SCISSOR_TEST);
    }
    else
    {
        glDisable(GL_SCISSOR_TEST);
    }
}
} // namespace impl
} // namespace Platform::Gfx
