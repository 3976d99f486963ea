#include "Platform/Gfx/Context.h"

#include "Platform/Gfx/GlFormats.h"

#include <algorithm>
#include <epoxy/gl.h>

namespace Platform::Gfx
{
namespace
{
template <typename T>
std::vector<T> FlipRows(std::vector<T> someValues, std::size_t aRowLength, std::size_t aRows)
{
    for (std::size_t row = 0; row < aRows / 2; ++row)
    {
        std::swap_ranges(someValues.begin() + static_cast<std::ptrdiff_t>(row * aRowLength),
                         someValues.begin() + static_cast<std::ptrdiff_t>((row + 1) * aRowLength),
                         someValues.begin() + static_cast<std::ptrdiff_t>((aRows - 1 - row) * aRowLength));
    }
    return someValues;
}
} // namespace

Context::Context(DeviceCorePtr aCore, PendingClearsPtr aClears, WindowBackingPtr aBacking)
    : myCore(std::move(aCore)), myClears(std::move(aClears)), myBacking(std::move(aBacking))
{
    glCreateFramebuffers(1, &myDrawFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, myDrawFramebuffer);
    glCreateProgramPipelines(1, &myPipeline);
    glCreateVertexArrays(1, &myEmptyVertexArray);
    ResetPipeline();
}

Context::~Context()
{
    myTarget.reset();
    myDepth.reset();
    myVertexShader.reset();
    myPixelShader.reset();
    myInputLayout.reset();
    myCore->ReleaseGlObject(GlObjectKind::ProgramPipeline, myPipeline);
    SetDrawProfiling(false);
    myCore->ReleaseGlObject(GlObjectKind::VertexArray, myEmptyVertexArray);
    myCore->ReleaseGlObject(GlObjectKind::Framebuffer, myDrawFramebuffer);
}

void Context::SetRenderTargets(const RenderTargetViewPtr& aTarget, const DepthStencilViewPtr& aDepth)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    myTarget = aTarget;
    myDepth = aDepth;
    const bool wasOnWindow = myIsOnWindow;
    myIsOnWindow = myBacking->BindForDrawing(aTarget, aDepth);
    myBoundGeneration = myBacking->GetGeneration();
    if (myIsOnWindow || wasOnWindow)
    {
        ApplyDepthStencil();
    }
    if (myIsOnWindow)
    {
        ApplyViewport();
        return;
    }
    myBacking->MakeTextureCurrent(aTarget != nullptr ? aTarget->GetTexture().get() : nullptr);
    myBacking->MakeTextureCurrent(aDepth != nullptr ? aDepth->GetTexture().get() : nullptr);
    const GLuint colour = aTarget != nullptr ? aTarget->Realise() : 0;
    const GLuint depth = aDepth != nullptr ? aDepth->Realise() : 0;
    glNamedFramebufferTexture(myDrawFramebuffer, GL_COLOR_ATTACHMENT0, colour, 0);
    glNamedFramebufferTexture(myDrawFramebuffer, GL_DEPTH_ATTACHMENT, depth, 0);
    glNamedFramebufferDrawBuffer(myDrawFramebuffer, colour != 0 ? GL_COLOR_ATTACHMENT0 : GL_NONE);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, myDrawFramebuffer);
    ApplyViewport();
}

void Context::SetViewport(const Viewport& aViewport)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    myViewport = aViewport;
    ApplyViewport();
}

void Context::ApplyViewport()
{
    // GL places viewports from the bottom-left corner of the bound target.
    const Texture2DPtr* texture = myTarget != nullptr  ? &myTarget->GetTexture()
                                  : myDepth != nullptr ? &myDepth->GetTexture()
                                                       : nullptr;
    const float targetHeight = texture != nullptr ? static_cast<float>((*texture)->GetDesc().height) : 0.0f;
    const float bottom = targetHeight - (myViewport.topLeftY + myViewport.height);
    glViewportIndexedf(0, myViewport.topLeftX, bottom, myViewport.width, myViewport.height);
    glDepthRangeIndexed(0, myViewport.minDepth, myViewport.maxDepth);
}

void Context::ClearRenderTargetView(const RenderTargetViewPtr& aTarget, const float someColor[4])
{
    if (!myCore->IsMainThread() || aTarget == nullptr)
    {
        return;
    }
    const GLuint colour = aTarget->Realise();
    if (colour == 0)
    {
        return;
    }
    myClears->AddColor(aTarget, someColor);
}

void Context::ClearDepthStencilView(const DepthStencilViewPtr& aDepth, std::uint32_t someFlags,
                                    float aDepthValue, std::uint8_t aStencil)
{
    // There is no stencil plane in the formats the layer offers, so the stencil value has nothing to clear.
    static_cast<void>(aStencil);
    if (!myCore->IsMainThread() || aDepth == nullptr || (someFlags & CLEAR_DEPTH) == 0)
    {
        return;
    }
    const GLuint depth = aDepth->Realise();
    if (depth == 0)
    {
        return;
    }
    myClears->AddDepth(aDepth, aDepthValue);
}

void Context::ClearState()
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    myViewport = Viewport{};
    SetRenderTargets(nullptr, nullptr);
    ResetPipeline();
    // Done now, so no view outlives the state it was bound in.
    myClears->SettleAll();
}

void Context::Flush()
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    myClears->DropUnreachable();
    myCore->DeleteQueuedObjects();
    glFlush();
}

bool Context::UpdateSubresource(const Texture2DPtr& aTexture, const void* somePixels, std::uint32_t aRowPitch)
{
    if (!myCore->IsMainThread() || aTexture == nullptr || somePixels == nullptr || aTexture->IsDepth())
    {
        return false;
    }
    const Texture2DDesc& desc = aTexture->GetDesc();
    const std::uint32_t bytesPerPixel = GetBytesPerPixel(desc.format);
    if (bytesPerPixel == 0 || aRowPitch % bytesPerPixel != 0 || aRowPitch / bytesPerPixel < desc.width)
    {
        return false;
    }
    const GLuint name = aTexture->Realise();
    if (name == 0)
    {
        return false;
    }
    myClears->Settle(aTexture.get());
    myBacking->OnTextureWritten(aTexture.get());
    const impl::GlFormat format = impl::GetGlFormat(desc.format, false);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(aRowPitch / bytesPerPixel));
    glTextureSubImage2D(name, 0, 0, 0, static_cast<GLsizei>(desc.width), static_cast<GLsizei>(desc.height),
                        format.pixelFormat, format.pixelType, somePixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    return true;
}

std::vector<std::uint8_t> Context::ReadColorPixels(const Texture2DPtr& aTexture)
{
    if (!myCore->IsMainThread() || aTexture == nullptr || aTexture->IsDepth() || aTexture->Realise() == 0)
    {
        return {};
    }
    const Texture2DDesc& desc = aTexture->GetDesc();
    const std::size_t rowLength = static_cast<std::size_t>(desc.width) * 4;
    myBacking->MakeTextureCurrent(aTexture.get());
    myClears->Settle(aTexture.get());
    std::vector<std::uint8_t> pixels(rowLength * desc.height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTextureImage(aTexture->Realise(), 0, GL_RGBA, GL_UNSIGNED_BYTE, static_cast<GLsizei>(pixels.size()),
                      pixels.data());
    return FlipRows(std::move(pixels), rowLength, desc.height);
}

std::vector<float> Context::ReadDepthPixels(const Texture2DPtr& aTexture)
{
    if (!myCore->IsMainThread() || aTexture == nullptr || !aTexture->IsDepth() || aTexture->Realise() == 0)
    {
        return {};
    }
    const Texture2DDesc& desc = aTexture->GetDesc();
    myBacking->MakeTextureCurrent(aTexture.get());
    myClears->Settle(aTexture.get());
    std::vector<float> depth(static_cast<std::size_t>(desc.width) * desc.height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTextureImage(aTexture->Realise(), 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                      static_cast<GLsizei>(depth.size() * sizeof(float)), depth.data());
    return FlipRows(std::move(depth), desc.width, desc.height);
}
} // namespace Platform::Gfx
