// The graphics device: creates textures, views, shaders, buffers, state objects and input layouts. Creation
// may be called from any thread and never waits for the main thread: off the main thread a resource keeps its
// data on the CPU and becomes a GL object on the main thread when first used; on the main thread it becomes
// one at once, so the driver's refusal shows in the result, unless the core defers the main thread's makes.
// The device owns the GL context, which lives on the main thread (the thread that created the device) and
// goes when the device goes.
#pragma once

#include "Platform/Gfx/Buffer.h"
#include "Platform/Gfx/DeviceCore.h"
#include "Platform/Gfx/InputLayout.h"
#include "Platform/Gfx/Resources.h"
#include "Platform/Gfx/States.h"
#include "Platform/Gfx/Types.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Platform::Gfx
{
class Device
{
public:
    Device(DeviceCorePtr aCore, void* aGlContext);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Null for a description the layer cannot make (zero size, unknown format, more than one array
    // slice). someInitialData holds one entry per mip level to fill, or is empty.
    Texture2DPtr CreateTexture2D(const Texture2DDesc& aDesc,
                                 std::span<const SubresourceData> someInitialData = {});
    // Format Unknown views the texture in its own format.
    RenderTargetViewPtr CreateRenderTargetView(const Texture2DPtr& aTexture,
                                               Format aFormat = Format::Unknown);
    DepthStencilViewPtr CreateDepthStencilView(const Texture2DPtr& aTexture,
                                               Format aFormat = Format::Unknown);
    ShaderResourceViewPtr CreateShaderResourceView(const Texture2DPtr& aTexture,
                                                   Format aFormat = Format::Unknown);
    // Null when the bytes are no SPIR-V module, or (on the main thread) when the driver refuses them.
    ShaderPtr CreateVertexShader(std::span<const std::uint8_t> someCode);
    ShaderPtr CreatePixelShader(std::span<const std::uint8_t> someCode);

    // Null for a zero size, an immutable buffer without data, data larger than the buffer, or a
    // dynamic buffer without CPU write access. aData may be null.
    BufferPtr CreateBuffer(const BufferDesc& aDesc, const void* aData = nullptr);
    // Null when an element's format is no vertex input or the code is no vertex-shader SPIR-V.
    InputLayoutPtr CreateInputLayout(const InputElementDesc* someElements, std::uint32_t aCount,
                                     std::span<const std::uint8_t> someShaderCode);
    BlendStatePtr CreateBlendState(const BlendDesc& aDesc);
    DepthStencilStatePtr CreateDepthStencilState(const DepthStencilDesc& aDesc);
    RasterizerStatePtr CreateRasterizerState(const RasterizerDesc& aDesc);
    SamplerStatePtr CreateSamplerState(const SamplerDesc& aDesc);

    bool IsMainThread() const { return myCore->IsMainThread(); }
    const DeviceCorePtr& GetCore() const { return myCore; }

private:
    ShaderPtr CreateShader(ShaderStage aStage, std::span<const std::uint8_t> someCode);

    DeviceCorePtr myCore;
    void* myGlContext;
};

using DevicePtr = std::shared_ptr<Device>;
} // namespace Platform::Gfx
