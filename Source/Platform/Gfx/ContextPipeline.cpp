// The pipeline half of the immediate context: shader stages, vertex input, resources, fixed-function
// states, buffer maps and draws.
#include "Platform/Gfx/Context.h"

#include <algorithm>
#include <chrono>
#include <epoxy/gl.h>

namespace Platform::Gfx
{
namespace
{
template <typename T, std::size_t N>
void StoreSlots(std::array<T, N>& someSlots, std::uint32_t aStartSlot, std::span<const T> someValues)
{
    for (std::size_t index = 0; index < someValues.size() && aStartSlot + index < N; ++index)
    {
        someSlots[aStartSlot + index] = someValues[index];
    }
}
} // namespace

void Context::ResetPipeline()
{
    myVertexShader.reset();
    myPixelShader.reset();
    myInputLayout.reset();
    myTopology = PrimitiveTopology::TriangleList;
    myVertexBuffers = {};
    myIndexBuffer.reset();
    myIndexOffset = 0;
    for (std::uint32_t slot = 0; slot < RESOURCE_SLOTS; ++slot)
    {
        glBindBufferBase(GL_UNIFORM_BUFFER, slot, 0);
        glBindTextureUnit(slot, 0);
        glBindSampler(slot, 0);
    }
    myConstantBuffers = {};
    myResources = {};
    mySamplers = {};
    OMSetBlendState(nullptr);
    OMSetDepthStencilState(nullptr);
    RSSetState(nullptr);
}

void Context::VSSetShader(const ShaderPtr& aShader)
{
    if (myCore->IsMainThread())
    {
        myVertexShader = aShader;
    }
}

void Context::PSSetShader(const ShaderPtr& aShader)
{
    if (myCore->IsMainThread())
    {
        myPixelShader = aShader;
    }
}

void Context::IASetInputLayout(const InputLayoutPtr& aLayout)
{
    if (myCore->IsMainThread())
    {
        myInputLayout = aLayout;
    }
}

void Context::IASetPrimitiveTopology(PrimitiveTopology aTopology)
{
    if (myCore->IsMainThread())
    {
        myTopology = aTopology;
    }
}

void Context::IASetVertexBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers,
                                 std::span<const std::uint32_t> someStrides,
                                 std::span<const std::uint32_t> someOffsets)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    for (std::size_t index = 0; index < someBuffers.size() && aStartSlot + index < VERTEX_INPUT_SLOTS;
         ++index)
    {
        VertexBinding& binding = myVertexBuffers[aStartSlot + index];
        binding.buffer = someBuffers[index];
        binding.stride = index < someStrides.size() ? someStrides[index] : 0;
        binding.offset = index < someOffsets.size() ? someOffsets[index] : 0;
    }
}

void Context::IASetIndexBuffer(const BufferPtr& aBuffer, Format aFormat, std::uint32_t anOffset)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    // Only 32-bit indices are offered; any other format unbinds rather than misreading the buffer.
    myIndexBuffer = aFormat == Format::R32_UINT ? aBuffer : nullptr;
    myIndexOffset = anOffset;
}

void Context::SetConstantBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    StoreSlots(myConstantBuffers, aStartSlot, someBuffers);
    for (std::size_t index = 0; index < someBuffers.size() && aStartSlot + index < RESOURCE_SLOTS; ++index)
    {
        const BufferPtr& buffer = someBuffers[index];
        glBindBufferBase(GL_UNIFORM_BUFFER, static_cast<GLuint>(aStartSlot + index),
                         buffer != nullptr ? buffer->Realise() : 0);
    }
}

void Context::VSSetConstantBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers)
{
    SetConstantBuffers(aStartSlot, someBuffers);
}

void Context::PSSetConstantBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers)
{
    SetConstantBuffers(aStartSlot, someBuffers);
}

void Context::PSSetShaderResources(std::uint32_t aStartSlot, std::span<const ShaderResourceViewPtr> someViews)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    StoreSlots(myResources, aStartSlot, someViews);
    for (std::size_t index = 0; index < someViews.size() && aStartSlot + index < RESOURCE_SLOTS; ++index)
    {
        const ShaderResourceViewPtr& view = someViews[index];
        glBindTextureUnit(static_cast<GLuint>(aStartSlot + index), view != nullptr ? view->Realise() : 0);
    }
}

void Context::PSSetSamplers(std::uint32_t aStartSlot, std::span<const SamplerStatePtr> someSamplers)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    StoreSlots(mySamplers, aStartSlot, someSamplers);
    for (std::size_t index = 0; index < someSamplers.size() && aStartSlot + index < RESOURCE_SLOTS; ++index)
    {
        const SamplerStatePtr& sampler = someSamplers[index];
        glBindSampler(static_cast<GLuint>(aStartSlot + index), sampler != nullptr ? sampler->Realise() : 0);
    }
}

void Context::OMSetBlendState(const BlendStatePtr& aState, std::uint32_t aSampleMask)
{
    static_cast<void>(aSampleMask);
    if (!myCore->IsMainThread())
    {
        return;
    }
    myBlendState = aState;
    impl::ApplyBlend(aState != nullptr ? aState->GetDesc() : BlendDesc{});
}

void Context::OMSetDepthStencilState(const DepthStencilStatePtr& aState, std::uint32_t aStencilRef)
{
    static_cast<void>(aStencilRef);
    if (!myCore->IsMainThread())
    {
        return;
    }
    myDepthStencilState = aState;
    impl::ApplyDepthStencil(aState != nullptr ? aState->GetDesc() : DepthStencilDesc{});
}

void Context::RSSetState(const RasterizerStatePtr& aState)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    myRasterizerState = aState;
    impl::ApplyRasterizer(aState != nullptr ? aState->GetDesc() : RasterizerDesc{});
}

void* Context::Map(const BufferPtr& aBuffer)
{
    if (!myCore->IsMainThread() || aBuffer == nullptr)
    {
        return nullptr;
    }
    return aBuffer->MapDiscard();
}

void Context::Unmap(const BufferPtr& aBuffer)
{
    if (myCore->IsMainThread() && aBuffer != nullptr)
    {
        aBuffer->Unmap();
    }
}

void Context::GenerateMips(const ShaderResourceViewPtr& aView)
{
    if (myCore->IsMainThread() && aView != nullptr && aView->GetTexture()->Realise() != 0)
    {
        glGenerateTextureMipmap(aView->GetTexture()->Realise());
    }
}

unsigned int Context::GetGlTopology() const
{
    return myTopology == PrimitiveTopology::LineList ? GL_LINES : GL_TRIANGLES;
}

bool Context::PrepareDraw()
{
    if (!myCore->IsMainThread() || myVertexShader == nullptr || myPixelShader == nullptr)
    {
        return false;
    }
    const GLuint vertexProgram = myVertexShader->RealiseProgram();
    const GLuint pixelProgram = myPixelShader->RealiseProgram();
    if (vertexProgram == 0 || pixelProgram == 0)
    {
        return false;
    }
    glUseProgram(0);
    glUseProgramStages(myPipeline, GL_VERTEX_SHADER_BIT, vertexProgram);
    glUseProgramStages(myPipeline, GL_FRAGMENT_SHADER_BIT, pixelProgram);
    glBindProgramPipeline(myPipeline);

    const GLuint vertexArray = myInputLayout != nullptr ? myInputLayout->Realise() : myEmptyVertexArray;
    if (vertexArray == 0)
    {
        return false;
    }
    if (myInputLayout != nullptr)
    {
        for (GLuint slot = 0; slot < VERTEX_INPUT_SLOTS; ++slot)
        {
            const VertexBinding& binding = myVertexBuffers[slot];
            const GLuint name = binding.buffer != nullptr ? binding.buffer->Realise() : 0;
            glVertexArrayVertexBuffer(vertexArray, slot, name, binding.offset,
                                      static_cast<GLsizei>(binding.stride));
        }
        glVertexArrayElementBuffer(vertexArray, myIndexBuffer != nullptr ? myIndexBuffer->Realise() : 0);
    }
    glBindVertexArray(vertexArray);
    return true;
}

void Context::SetDrawProfiling(bool anIsOn)
{
    if (!myCore->IsMainThread() || anIsOn == (myFragmentQuery != 0))
    {
        return;
    }
    if (anIsOn)
    {
        glCreateQueries(GL_SAMPLES_PASSED, 1, &myFragmentQuery);
        return;
    }
    myCore->ReleaseGlObject(GlObjectKind::Query, myFragmentQuery);
    myFragmentQuery = 0;
}

template <typename DrawCall>
void Context::IssueDraw(const DrawCall& aDraw)
{
    if (myFragmentQuery == 0)
    {
        aDraw();
        return;
    }
    // The device's earlier work is finished first, so the time is this draw's alone.
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    glBeginQuery(GL_SAMPLES_PASSED, myFragmentQuery);
    aDraw();
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint64 count = 0;
    // The result is there only once the draw is done.
    glGetQueryObjectui64v(myFragmentQuery, GL_QUERY_RESULT, &count);
    DrawCost& cost = myDrawCosts[myPixelShader.get()];
    cost.milliseconds +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cost.fragments += count;
    ++cost.draws;
}

void Context::Draw(std::uint32_t aVertexCount, std::uint32_t aStartVertex)
{
    DrawInstanced(aVertexCount, 1, aStartVertex, 0);
}

void Context::DrawInstanced(std::uint32_t aVertexCount, std::uint32_t anInstanceCount,
                            std::uint32_t aStartVertex, std::uint32_t aStartInstance)
{
    if (aVertexCount == 0 || anInstanceCount == 0 || !PrepareDraw())
    {
        return;
    }
    IssueDraw(
        [&]
        {
            glDrawArraysInstancedBaseInstance(GetGlTopology(), static_cast<GLint>(aStartVertex),
                                              static_cast<GLsizei>(aVertexCount),
                                              static_cast<GLsizei>(anInstanceCount), aStartInstance);
        });
}

void Context::DrawIndexed(std::uint32_t anIndexCount, std::uint32_t aStartIndex, std::int32_t aBaseVertex)
{
    DrawIndexedInstanced(anIndexCount, 1, aStartIndex, aBaseVertex, 0);
}

void Context::DrawIndexedInstanced(std::uint32_t anIndexCount, std::uint32_t anInstanceCount,
                                   std::uint32_t aStartIndex, std::int32_t aBaseVertex,
                                   std::uint32_t aStartInstance)
{
    if (anIndexCount == 0 || anInstanceCount == 0 || myIndexBuffer == nullptr || !PrepareDraw())
    {
        return;
    }
    const std::uintptr_t byteOffset = myIndexOffset + static_cast<std::uintptr_t>(aStartIndex) * 4u;
    IssueDraw(
        [&]
        {
            glDrawElementsInstancedBaseVertexBaseInstance(
                GetGlTopology(), static_cast<GLsizei>(anIndexCount), GL_UNSIGNED_INT,
                reinterpret_cast<const void*>(byteOffset), // NOLINT: GL takes buffer offsets as pointers
                static_cast<GLsizei>(anInstanceCount), aBaseVertex, aStartInstance);
        });
}
} // namespace Platform::Gfx
