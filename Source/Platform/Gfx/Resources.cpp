#include "Platform/Gfx/Resources.h"

#include "Platform/Gfx/GlFormats.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Platform::Gfx
{
Texture2D::Texture2D(DeviceCorePtr aCore, const Texture2DDesc& aDesc,
                     std::vector<std::vector<std::uint8_t>> someLevels)
    : myCore(std::move(aCore)), myDesc(aDesc), myLevels(std::move(someLevels))
{
}

Texture2D::~Texture2D()
{
    myCore->ReleaseGlObject(GlObjectKind::Texture, myName);
}

bool Texture2D::IsDepth() const
{
    return (myDesc.bindFlags & BIND_DEPTH_STENCIL) != 0 || myDesc.format == Format::D32_FLOAT;
}

bool Texture2D::IsCube() const
{
    return (myDesc.miscFlags & RESOURCE_MISC_TEXTURECUBE) != 0 && myDesc.arraySize == 6;
}

unsigned int Texture2D::Realise()
{
    if (myName != 0 || !myCore->IsMainThread())
    {
        return myName;
    }
    const impl::GlFormat format = impl::GetGlFormat(myDesc.format, IsDepth());
    if (format.internalFormat == 0)
    {
        return 0;
    }
    GLuint name = 0;
    glCreateTextures(IsCube() ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, 1, &name);
    const auto levels = static_cast<GLsizei>(myDesc.mipLevels);
    glTextureStorage2D(name, levels, format.internalFormat, static_cast<GLsizei>(myDesc.width),
                       static_cast<GLsizei>(myDesc.height));
    glTextureParameteri(name, GL_TEXTURE_MAX_LEVEL, levels - 1);
    glTextureParameteriv(name, GL_TEXTURE_SWIZZLE_RGBA, format.swizzle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (std::size_t index = 0; index < myLevels.size(); ++index)
    {
        const std::vector<std::uint8_t>& pixels = myLevels[index];
        if (pixels.empty())
        {
            continue;
        }
        const auto level = static_cast<GLint>(index % myDesc.mipLevels);
        const auto slice = static_cast<GLint>(index / myDesc.mipLevels);
        const auto width = static_cast<GLsizei>(std::max(1u, myDesc.width >> level));
        const auto height = static_cast<GLsizei>(std::max(1u, myDesc.height >> level));
        const auto bytes = static_cast<GLsizei>(pixels.size());
        if (format.pixelFormat == 0 && IsCube())
        {
            glCompressedTextureSubImage3D(name, level, 0, 0, slice, width, height, 1, format.internalFormat,
                                          bytes, pixels.data());
        }
        else if (format.pixelFormat == 0)
        {
            glCompressedTextureSubImage2D(name, level, 0, 0, width, height, format.internalFormat, bytes,
                                          pixels.data());
        }
        else if (IsCube())
        {
            glTextureSubImage3D(name, level, 0, 0, slice, width, height, 1, format.pixelFormat,
                                format.pixelType, pixels.data());
        }
        else
        {
            glTextureSubImage2D(name, level, 0, 0, width, height, format.pixelFormat, format.pixelType,
                                pixels.data());
        }
    }
    myLevels.clear();
    myLevels.shrink_to_fit();
    myName = name;
    return myName;
}

TextureView::TextureView(DeviceCorePtr aCore, Texture2DPtr aTexture, Format aFormat)
    : myCore(std::move(aCore)), myTexture(std::move(aTexture)), myFormat(aFormat)
{
}

TextureView::~TextureView()
{
    myCore->ReleaseGlObject(GlObjectKind::Texture, myViewName);
}

unsigned int TextureView::Realise()
{
    if (myViewName != 0 || !myCore->IsMainThread())
    {
        return myViewName;
    }
    const GLuint texture = myTexture->Realise();
    if (texture == 0)
    {
        return 0;
    }
    const Texture2DDesc& desc = myTexture->GetDesc();
    const impl::GlFormat own = impl::GetGlFormat(desc.format, myTexture->IsDepth());
    const impl::GlFormat viewed = impl::GetGlFormat(myFormat, myTexture->IsDepth());
    if (myFormat == Format::Unknown || viewed.internalFormat == own.internalFormat)
    {
        // The texture itself serves; the name is the texture's, so this view must not delete it.
        return texture;
    }
    GLuint view = 0;
    glGenTextures(1, &view);
    const bool isCube = myTexture->IsCube();
    glTextureView(view, isCube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, texture, viewed.internalFormat, 0,
                  desc.mipLevels, 0, isCube ? 6 : 1);
    glTextureParameteriv(view, GL_TEXTURE_SWIZZLE_RGBA, viewed.swizzle);
    myViewName = view;
    return myViewName;
}

bool IsSpirv(const std::vector<std::uint8_t>& someCode)
{
    constexpr std::uint32_t SPIRV_MAGIC = 0x07230203;
    if (someCode.size() < 20 || someCode.size() % 4 != 0)
    {
        return false;
    }
    std::uint32_t magic = 0;
    std::memcpy(&magic, someCode.data(), sizeof(magic));
    return magic == SPIRV_MAGIC;
}

Shader::Shader(DeviceCorePtr aCore, ShaderStage aStage, std::vector<std::uint8_t> someCode)
    : myCore(std::move(aCore)), myStage(aStage), myCode(std::move(someCode))
{
}

Shader::~Shader()
{
    myCore->ReleaseGlObject(GlObjectKind::Program, myProgram);
    myCore->ReleaseGlObject(GlObjectKind::Shader, myName);
}

unsigned int Shader::RealiseProgram()
{
    if (myProgram != 0 || Realise() == 0)
    {
        return myProgram;
    }
    const GLuint program = glCreateProgram();
    glProgramParameteri(program, GL_PROGRAM_SEPARABLE, GL_TRUE);
    glAttachShader(program, myName);
    glLinkProgram(program);
    glDetachShader(program, myName);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
    {
        char log[512] = {};
        glGetProgramInfoLog(program, sizeof(log), nullptr, log);
        std::printf("[Gfx] shader stage failed to link: %s\n", log);
        glDeleteProgram(program);
        myHasFailed = true;
        return 0;
    }
    myProgram = program;
    return myProgram;
}

unsigned int Shader::Realise()
{
    if (myName != 0 || myHasFailed || !myCore->IsMainThread())
    {
        return myName;
    }
    const GLuint shader =
        glCreateShader(myStage == ShaderStage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    glShaderBinary(1, &shader, GL_SHADER_BINARY_FORMAT_SPIR_V, myCode.data(),
                   static_cast<GLsizei>(myCode.size()));
    glSpecializeShader(shader, "main", 0, nullptr, nullptr);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE)
    {
        char log[512] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        std::printf("[Gfx] shader rejected by the driver: %s\n", log);
        glDeleteShader(shader);
        myHasFailed = true;
        return 0;
    }
    myName = shader;
    return myName;
}
} // namespace Platform::Gfx
