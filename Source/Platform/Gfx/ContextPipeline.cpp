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
// Stores each value in its slot and binds the ones whose object or GL name changed; aBind(slot, name).
template <typename T, std::size_t N, typename Bind>
void StoreAndBindSlots(std::array<T, N>& someSlots, std::array<unsigned int, N>& someAppliedNames,
                       std::uint32_t aStartSlot, std::span<const T> someValues, Bind aBind)
{
    for (std::size_t index = 0; index < someValues.size() && aStartSlot + index < N; ++index)
    {
        const std::size_t slot = aStartSlot + index;
        const T& value = someValues[index];
        const unsigned int name = value != nullptr ? value->Realise() : 0;
        if (someSlots[slot] == value && someAppliedNames[slot] == name)
        {
            continue;
        }
        someSlots[slot] = value;
        someAppliedNames[slot] = name;
        aBind(static_cast<GLuint>(slot), name);
    }
}

// One primitive of the topology.
std::uint32_t GetWarmUpVertexCount(PrimitiveTopology aTopology)
{
    return aTopology == PrimitiveTopology::LineList ? 2u : 3u;
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
    myApplied = AppliedPipeline{};
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
    StoreAndBindSlots(myConstantBuffers, myApplied.constantBufferNames, aStartSlot, someBuffers,
                      [](GLuint aSlot, GLuint aName) { glBindBufferBase(GL_UNIFORM_BUFFER, aSlot, aName); });
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
    StoreAndBindSlots(myResources, myApplied.resourceNames, aStartSlot, someViews,
                      [](GLuint aSlot, GLuint aName) { glBindTextureUnit(aSlot, aName); });
}

void Context::PSSetSamplers(std::uint32_t aStartSlot, std::span<const SamplerStatePtr> someSamplers)
{
    if (!myCore->IsMainThread())
    {
        return;
    }
    StoreAndBindSlots(mySamplers, myApplied.samplerNames, aStartSlot, someSamplers,
                      [](GLuint aSlot, GLuint aName) { glBindSampler(aSlot, aName); });
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
    ApplyDepthStencil();
}

void Context::ApplyDepthStencil()
{
    DepthStencilDesc desc =
        myDepthStencilState != nullptr ? myDepthStencilState->GetDesc() : DepthStencilDesc{};
    if (myIsOnWindow && myDepth == nullptr)
    {
        desc.depthEnable = false;
    }
    impl::ApplyDepthStencil(desc);
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

void Context::Unmap(const BufferPtr& aBuffer, std::uint32_t aWrittenBytes)
{
    if (myCore->IsMainThread() && aBuffer != nullptr)
    {
        aBuffer->Unmap(aWrittenBytes);
    }
}

void Context::GenerateMips(const ShaderResourceViewPtr& aView)
{
    if (myCore->IsMainThread() && aView != nullptr && aView->GetTexture()->Realise() != 0)
    {
        myBacking->MakeTextureCurrent(aView->GetTexture().get());
        myClears->Settle(aView->GetTexture().get());
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
    if (!myApplied.isPipelineBound)
    {
        glUseProgram(0);
        glBindProgramPipeline(myPipeline);
        myApplied.isPipelineBound = true;
    }
    if (myApplied.vertexShader != myVertexShader || myApplied.vertexProgram != vertexProgram)
    {
        glUseProgramStages(myPipeline, GL_VERTEX_SHADER_BIT, vertexProgram);
        myApplied.vertexShader = myVertexShader;
        myApplied.vertexProgram = vertexProgram;
    }
    if (myApplied.pixelShader != myPixelShader || myApplied.pixelProgram != pixelProgram)
    {
        glUseProgramStages(myPipeline, GL_FRAGMENT_SHADER_BIT, pixelProgram);
        myApplied.pixelShader = myPixelShader;
        myApplied.pixelProgram = pixelProgram;
    }

    const GLuint vertexArray = myInputLayout != nullptr ? myInputLayout->Realise() : myEmptyVertexArray;
    if (vertexArray == 0)
    {
        return false;
    }
    if (myApplied.layout != myInputLayout || myApplied.vertexArray != vertexArray)
    {
        // Another vertex array keeps its own buffer bindings, which were not remembered.
        myApplied.layout = myInputLayout;
        myApplied.vertexArray = vertexArray;
        myApplied.areBuffersKnown = false;
        glBindVertexArray(vertexArray);
    }
    if (myInputLayout != nullptr)
    {
        ApplyVertexBuffers(vertexArray);
    }
    if (myBacking->IsWindowUsable())
    {
        for (const ShaderResourceViewPtr& view : myResources)
        {
            if (view != nullptr)
            {
                myBacking->MakeTextureCurrent(view->GetTexture().get());
            }
        }
        // Pixels of the bound targets went back to their textures since they were bound.
        if (myIsOnWindow && myBacking->GetGeneration() != myBoundGeneration)
        {
            SetRenderTargets(RenderTargetViewPtr(myTarget), DepthStencilViewPtr(myDepth));
        }
    }
    if (!myClears->IsEmpty())
    {
        ApplyPendingClears();
    }
    return true;
}

void Context::ApplyPendingClears()
{
    for (const ShaderResourceViewPtr& view : myResources)
    {
        if (view != nullptr)
        {
            myClears->Settle(view->GetTexture().get());
        }
    }
    myClears->ApplyToBound(myIsOnWindow ? 0 : myDrawFramebuffer, myTarget, myDepth);
}

void Context::ApplyVertexBuffers(unsigned int aVertexArray)
{
    for (GLuint slot = 0; slot < VERTEX_INPUT_SLOTS; ++slot)
    {
        const VertexBinding& binding = myVertexBuffers[slot];
        const GLuint name = binding.buffer != nullptr ? binding.buffer->Realise() : 0;
        VertexBinding& applied = myApplied.vertexBuffers[slot];
        if (myApplied.areBuffersKnown && applied.buffer == binding.buffer &&
            applied.offset == binding.offset && applied.stride == binding.stride &&
            myApplied.vertexBufferNames[slot] == name)
        {
            continue;
        }
        glVertexArrayVertexBuffer(aVertexArray, slot, name, binding.offset,
                                  static_cast<GLsizei>(binding.stride));
        applied = binding;
        myApplied.vertexBufferNames[slot] = name;
    }
    const GLuint indexName = myIndexBuffer != nullptr ? myIndexBuffer->Realise() : 0;
    if (!myApplied.areBuffersKnown || myApplied.indexBuffer != myIndexBuffer ||
        myApplied.indexBufferName != indexName)
    {
        glVertexArrayElementBuffer(aVertexArray, indexName);
        myApplied.indexBuffer = myIndexBuffer;
        myApplied.indexBufferName = indexName;
    }
    myApplied.areBuffersKnown = true;
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

void Context::BeginPipelineWarmUp()
{
    myIsWarmingUp = true;
    myWarmedPipelines.clear();
}

void Context::EndPipelineWarmUp()
{
    myIsWarmingUp = false;
    myWarmedPipelines.clear();
}

bool Context::IsNewWarmUpPipeline(bool anIsIndexed)
{
    const auto address = [](const auto& aPointer)
    {
        return reinterpret_cast<std::uintptr_t>(aPointer.get());
    };
    std::vector<std::uintptr_t> key = {address(myVertexShader),
                                       address(myPixelShader),
                                       address(myInputLayout),
                                       static_cast<std::uintptr_t>(myTopology),
                                       anIsIndexed ? 1u : 0u,
                                       address(myBlendState),
                                       address(myDepthStencilState),
                                       address(myRasterizerState),
                                       address(myTarget),
                                       address(myDepth)};
    key.reserve(key.size() + 2 * RESOURCE_SLOTS);
    for (std::uint32_t slot = 0; slot < RESOURCE_SLOTS; ++slot)
    {
        key.push_back(address(myResources[slot]));
        key.push_back(address(mySamplers[slot]));
    }
    return myWarmedPipelines.insert(std::move(key)).second;
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
    if (myIsWarmingUp)
    {
        if (!IsNewWarmUpPipeline(false))
        {
            return;
        }
        aVertexCount = std::min(aVertexCount, GetWarmUpVertexCount(myTopology));
        anInstanceCount = 1;
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
    if (myIsWarmingUp)
    {
        if (!IsNewWarmUpPipeline(true))
        {
            return;
        }
        anIndexCount = std::min(anIndexCount, GetWarmUpVertexCount(myTopology));
        anInstanceCount = 1;
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
