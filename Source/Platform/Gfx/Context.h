// The immediate context: binds the output targets and the viewport, clears, binds the pipeline (shaders,
// input layout, vertex and index buffers, constant buffers, shader resources, samplers, blend, depth and
// rasterizer states), maps dynamic buffers, draws, and reads rendered pixels back. Main thread only;
// calls from another thread do nothing. Bound objects are held by reference, as the bound state of the
// device it stands in for held them. Constant-buffer register bN is uniform binding N, texture register
// tN and sampler register sN are texture unit N; the vertex and pixel stages share those bindings.
//
// Rendered targets are stored as GL draws them, bottom row first; the read-back and the present turn
// them upright, so callers think of row 0 as the top of the screen throughout.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/InputLayout.h"
#include "Platform/Gfx/PendingClears.h"
#include "Platform/Gfx/Resources.h"
#include "Platform/Gfx/States.h"
#include "Platform/Gfx/Types.h"
#include "Platform/Gfx/WindowBacking.h"

#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

namespace Platform::Gfx
{
enum class PrimitiveTopology
{
    TriangleList,
    LineList,
};

constexpr std::uint32_t RESOURCE_SLOTS = 16;

class Context
{
public:
    Context(DeviceCorePtr aCore, PendingClearsPtr aClears, WindowBackingPtr aBacking);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // One colour target (or none) and a depth target (or none).
    void SetRenderTargets(const RenderTargetViewPtr& aTarget, const DepthStencilViewPtr& aDepth);
    void SetViewport(const Viewport& aViewport);
    // Clears ignore the colour and depth write masks and the scissor, as the engine expects. A clear is
    // done when its target is next drawn to or read, whichever comes first.
    void ClearRenderTargetView(const RenderTargetViewPtr& aTarget, const float someColor[4]);
    void ClearDepthStencilView(const DepthStencilViewPtr& aDepth, std::uint32_t someFlags, float aDepthValue,
                               std::uint8_t aStencil);
    // Unbinds every target and every pipeline object and forgets the viewport.
    void ClearState();

    void VSSetShader(const ShaderPtr& aShader);
    void PSSetShader(const ShaderPtr& aShader);
    void IASetInputLayout(const InputLayoutPtr& aLayout);
    void IASetPrimitiveTopology(PrimitiveTopology aTopology);
    // Slots from aStartSlot on; a null buffer unbinds its slot.
    void IASetVertexBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers,
                            std::span<const std::uint32_t> someStrides,
                            std::span<const std::uint32_t> someOffsets);
    // Indices are 32-bit (R32_UINT); a null buffer unbinds.
    void IASetIndexBuffer(const BufferPtr& aBuffer, Format aFormat, std::uint32_t anOffset);
    void VSSetConstantBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers);
    void PSSetConstantBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers);
    void PSSetShaderResources(std::uint32_t aStartSlot, std::span<const ShaderResourceViewPtr> someViews);
    void PSSetSamplers(std::uint32_t aStartSlot, std::span<const SamplerStatePtr> someSamplers);
    // Null restores the default state of each kind. The blend factor is not offered (no blend mode
    // uses it); the sample mask is moot with one sample.
    void OMSetBlendState(const BlendStatePtr& aState, std::uint32_t aSampleMask = 0xFFFFFFFF);
    void OMSetDepthStencilState(const DepthStencilStatePtr& aState, std::uint32_t aStencilRef = 0);
    void RSSetState(const RasterizerStatePtr& aState);

    // Main thread, dynamic buffers: the buffer's bytes to write whole, or null. Unmap sends the first
    // aWrittenBytes of them, all by default; the rest of the buffer is undefined after it.
    void* Map(const BufferPtr& aBuffer);
    void Unmap(const BufferPtr& aBuffer, std::uint32_t aWrittenBytes = UINT32_MAX);
    // Fills every lower mip level of the view's texture from its top level.
    void GenerateMips(const ShaderResourceViewPtr& aView);

    // Draws with the bound pipeline; nothing is drawn while no vertex or pixel shader is bound or a
    // bound shader failed.
    void Draw(std::uint32_t aVertexCount, std::uint32_t aStartVertex);
    void DrawInstanced(std::uint32_t aVertexCount, std::uint32_t anInstanceCount, std::uint32_t aStartVertex,
                       std::uint32_t aStartInstance);
    void DrawIndexed(std::uint32_t anIndexCount, std::uint32_t aStartIndex, std::int32_t aBaseVertex);
    void DrawIndexedInstanced(std::uint32_t anIndexCount, std::uint32_t anInstanceCount,
                              std::uint32_t aStartIndex, std::int32_t aBaseVertex,
                              std::uint32_t aStartInstance);

    // Between these, a draw whose pipeline (shader stages, input layout, topology, fixed-function states,
    // samplers, shader resources and targets) was drawn before in the same warm-up is dropped, and any
    // other draws one primitive of one instance: a driver that builds its shader variants at the first
    // draw with a new state builds them here, for a fraction of the draw's cost.
    void BeginPipelineWarmUp();
    void EndPipelineWarmUp();

    const ShaderPtr& GetVertexShader() const { return myVertexShader; }
    const ShaderPtr& GetPixelShader() const { return myPixelShader; }
    const InputLayoutPtr& GetInputLayout() const { return myInputLayout; }
    const ShaderResourceViewPtr& GetShaderResource(std::uint32_t aSlot) const
    {
        return myResources.at(aSlot);
    }
    const SamplerStatePtr& GetSampler(std::uint32_t aSlot) const { return mySamplers.at(aSlot); }
    const BufferPtr& GetConstantBuffer(std::uint32_t aSlot) const { return myConstantBuffers.at(aSlot); }
    void Flush();

    const RenderTargetViewPtr& GetBoundTarget() const { return myTarget; }
    const DepthStencilViewPtr& GetBoundDepth() const { return myDepth; }
    const Viewport& GetViewport() const { return myViewport; }

    // Replaces the first level of a colour texture with pixels in its format, the top row first and rows
    // aRowPitch bytes apart (how a picture that changes every frame reaches its texture). False when the
    // texture cannot be written or the pitch is shorter than a row.
    bool UpdateSubresource(const Texture2DPtr& aTexture, const void* somePixels, std::uint32_t aRowPitch);

    // The pixels of a colour texture that was rendered to, as 8-bit RGBA with the top row first (the
    // stored, encoded bytes of an sRGB target), or of a depth texture as floats, top row first.
    std::vector<std::uint8_t> ReadColorPixels(const Texture2DPtr& aTexture);
    std::vector<float> ReadDepthPixels(const Texture2DPtr& aTexture);

    const DeviceCorePtr& GetCore() const { return myCore; }

    // What each pixel shader's draws cost, for finding where a frame's pixels go: the fragments that
    // passed the depth test and the wall time of the draws, each finished alone. Profiling serialises
    // the device, so it is off unless a benchmark turns it on.
    struct DrawCost
    {
        std::uint64_t draws = 0;
        std::uint64_t fragments = 0;
        double milliseconds = 0.0;
    };
    void SetDrawProfiling(bool anIsOn);
    const std::unordered_map<const Shader*, DrawCost>& GetDrawCosts() const { return myDrawCosts; }
    void ClearDrawCosts() { myDrawCosts.clear(); }

private:
    struct VertexBinding
    {
        BufferPtr buffer;
        std::uint32_t stride = 0;
        std::uint32_t offset = 0;
    };

    void ApplyViewport();
    // The depth-stencil state as the bound targets see it: the window's framebuffer always has a depth
    // plane, which must not test or take writes while no depth buffer is bound.
    void ApplyDepthStencil();
    void ResetPipeline();
    void SetConstantBuffers(std::uint32_t aStartSlot, std::span<const BufferPtr> someBuffers);
    // Binds the program stages, the vertex array and its buffers; false when nothing can be drawn.
    bool PrepareDraw();
    unsigned int GetGlTopology() const;
    template <typename DrawCall>
    void IssueDraw(const DrawCall& aDraw);

    // What the GL context holds now, so a draw sends only what changed. The objects are held as well,
    // so no GL name in here can be freed and reused while it is remembered.
    struct AppliedPipeline
    {
        bool isPipelineBound = false;
        ShaderPtr vertexShader;
        unsigned int vertexProgram = 0;
        ShaderPtr pixelShader;
        unsigned int pixelProgram = 0;
        InputLayoutPtr layout;
        unsigned int vertexArray = 0;
        bool areBuffersKnown = false;
        std::array<VertexBinding, VERTEX_INPUT_SLOTS> vertexBuffers;
        std::array<unsigned int, VERTEX_INPUT_SLOTS> vertexBufferNames{};
        BufferPtr indexBuffer;
        unsigned int indexBufferName = 0;
        std::array<unsigned int, RESOURCE_SLOTS> constantBufferNames{};
        std::array<unsigned int, RESOURCE_SLOTS> resourceNames{};
        std::array<unsigned int, RESOURCE_SLOTS> samplerNames{};
    };

    void ApplyVertexBuffers(unsigned int aVertexArray);
    // Before a draw: the clears of sampled textures are done on their own, those of the bound targets
    // on the draw framebuffer.
    void ApplyPendingClears();
    // While warming up: false for a pipeline drawn before in this warm-up, which it then remembers.
    bool IsNewWarmUpPipeline(bool anIsIndexed);

    DeviceCorePtr myCore;
    AppliedPipeline myApplied;
    unsigned int myDrawFramebuffer = 0;
    PendingClearsPtr myClears;
    WindowBackingPtr myBacking;
    bool myIsOnWindow = false;
    std::uint64_t myBoundGeneration = 0;
    unsigned int myPipeline = 0;
    unsigned int myEmptyVertexArray = 0;
    ShaderPtr myVertexShader;
    ShaderPtr myPixelShader;
    InputLayoutPtr myInputLayout;
    PrimitiveTopology myTopology = PrimitiveTopology::TriangleList;
    std::array<VertexBinding, VERTEX_INPUT_SLOTS> myVertexBuffers;
    BufferPtr myIndexBuffer;
    std::uint32_t myIndexOffset = 0;
    std::array<BufferPtr, RESOURCE_SLOTS> myConstantBuffers;
    std::array<ShaderResourceViewPtr, RESOURCE_SLOTS> myResources;
    std::array<SamplerStatePtr, RESOURCE_SLOTS> mySamplers;
    BlendStatePtr myBlendState;
    DepthStencilStatePtr myDepthStencilState;
    RasterizerStatePtr myRasterizerState;
    RenderTargetViewPtr myTarget;
    DepthStencilViewPtr myDepth;
    Viewport myViewport;
    unsigned int myFragmentQuery = 0;
    bool myIsWarmingUp = false;
    std::set<std::vector<std::uintptr_t>> myWarmedPipelines;
    std::unordered_map<const Shader*, DrawCost> myDrawCosts;
};

using ContextPtr = std::shared_ptr<Context>;
} // namespace Platform::Gfx
