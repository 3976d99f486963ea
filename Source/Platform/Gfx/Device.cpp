#include "Platform/Gfx/Device.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace Platform::Gfx
{
namespace
{
bool IsViewable(const Texture2DPtr& aTexture, std::uint32_t aBind)
{
    return aTexture != nullptr && (aTexture->GetDesc().bindFlags & aBind) != 0;
}

template <typename Resource>
unsigned int Make(Resource& aResource)
{
    return aResource.Realise();
}

// A stage is linked with its making, so its first draw in play does not pay for the link.
unsigned int Make(Shader& aShader)
{
    return aShader.RealiseProgram();
}

// On the main thread the driver's refusal shows at once; elsewhere the GL object waits for the main thread.
template <typename Resource>
std::shared_ptr<Resource> Realised(DeviceCore& aCore, std::shared_ptr<Resource> aResource)
{
    if (aCore.MakesAtOnce())
    {
        return Make(*aResource) == 0 ? nullptr : aResource;
    }
    aCore.DeferRealise(
        [weak = std::weak_ptr<Resource>(aResource)]
        {
            if (const std::shared_ptr<Resource> alive = weak.lock())
            {
                Make(*alive);
            }
        });
    return aResource;
}
} // namespace

Device::Device(DeviceCorePtr aCore, void* aGlContext) : myCore(std::move(aCore)), myGlContext(aGlContext)
{
}

Device::~Device()
{
    myCore->DeleteQueuedObjects();
    myCore->MarkDead();
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(myGlContext));
}

Texture2DPtr Device::CreateTexture2D(const Texture2DDesc& aDesc,
                                     std::span<const SubresourceData> someInitialData)
{
    constexpr std::uint32_t MAX_SIDE = 16384;
    const bool isCube = (aDesc.miscFlags & RESOURCE_MISC_TEXTURECUBE) != 0;
    const std::uint32_t slices = isCube ? 6u : 1u;
    if (aDesc.width == 0 || aDesc.height == 0 || aDesc.width > MAX_SIDE || aDesc.height > MAX_SIDE ||
        GetFormatLayout(aDesc.format).blockBytes == 0 || aDesc.arraySize != slices ||
        (isCube && aDesc.width != aDesc.height))
    {
        return nullptr;
    }
    Texture2DDesc desc = aDesc;
    const std::uint32_t fullChain = GetFullMipCount(desc.width, desc.height);
    desc.mipLevels = desc.mipLevels == 0 ? fullChain : std::min(desc.mipLevels, fullChain);
    if (someInitialData.size() > static_cast<std::size_t>(desc.mipLevels) * slices)
    {
        return nullptr;
    }
    // The pixels are copied tightly packed, so the caller's memory may go as soon as this returns.
    std::vector<std::vector<std::uint8_t>> levels(someInitialData.size());
    for (std::size_t index = 0; index < someInitialData.size(); ++index)
    {
        const SubresourceData& source = someInitialData[index];
        if (source.data == nullptr)
        {
            continue;
        }
        const std::size_t level = index % desc.mipLevels;
        const std::size_t rowBytes = GetRowBytes(desc.format, std::max(1u, desc.width >> level));
        const std::size_t rows = GetRowCount(desc.format, std::max(1u, desc.height >> level));
        const std::size_t pitch = source.rowPitch == 0 ? rowBytes : source.rowPitch;
        if (pitch < rowBytes)
        {
            return nullptr;
        }
        const auto* bytes = static_cast<const std::uint8_t*>(source.data);
        if (pitch == rowBytes)
        {
            // Already packed: one copy, without first clearing what it overwrites.
            levels[index].assign(bytes, bytes + rowBytes * rows);
            continue;
        }
        levels[index].resize(rowBytes * rows);
        for (std::size_t row = 0; row < rows; ++row)
        {
            std::memcpy(levels[index].data() + row * rowBytes, bytes + row * pitch, rowBytes);
        }
    }
    auto texture = std::make_shared<Texture2D>(myCore, desc, std::move(levels));
    return Realised(*myCore, std::move(texture));
}

RenderTargetViewPtr Device::CreateRenderTargetView(const Texture2DPtr& aTexture, Format aFormat)
{
    if (!IsViewable(aTexture, BIND_RENDER_TARGET))
    {
        return nullptr;
    }
    auto view = std::make_shared<RenderTargetView>(myCore, aTexture, aFormat);
    return Realised(*myCore, std::move(view));
}

DepthStencilViewPtr Device::CreateDepthStencilView(const Texture2DPtr& aTexture, Format aFormat)
{
    if (!IsViewable(aTexture, BIND_DEPTH_STENCIL))
    {
        return nullptr;
    }
    auto view = std::make_shared<DepthStencilView>(myCore, aTexture, aFormat);
    return Realised(*myCore, std::move(view));
}

ShaderResourceViewPtr Device::CreateShaderResourceView(const Texture2DPtr& aTexture, Format aFormat)
{
    if (!IsViewable(aTexture, BIND_SHADER_RESOURCE))
    {
        return nullptr;
    }
    auto view = std::make_shared<ShaderResourceView>(myCore, aTexture, aFormat);
    return Realised(*myCore, std::move(view));
}

ShaderPtr Device::CreateVertexShader(std::span<const std::uint8_t> someCode)
{
    return CreateShader(ShaderStage::Vertex, someCode);
}

ShaderPtr Device::CreatePixelShader(std::span<const std::uint8_t> someCode)
{
    return CreateShader(ShaderStage::Pixel, someCode);
}

ShaderPtr Device::CreateShader(ShaderStage aStage, std::span<const std::uint8_t> someCode)
{
    std::vector<std::uint8_t> code(someCode.begin(), someCode.end());
    if (!IsSpirv(code))
    {
        return nullptr;
    }
    auto shader = std::make_shared<Shader>(myCore, aStage, std::move(code));
    return Realised(*myCore, std::move(shader));
}

BufferPtr Device::CreateBuffer(const BufferDesc& aDesc, const void* aData)
{
    const bool isDynamic = aDesc.usage == Usage::Dynamic;
    if (aDesc.byteWidth == 0 || (aDesc.usage == Usage::Immutable && aData == nullptr) ||
        (isDynamic && (aDesc.cpuAccessFlags & CPU_ACCESS_WRITE) == 0))
    {
        return nullptr;
    }
    std::vector<std::uint8_t> data;
    if (aData != nullptr)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(aData);
        data.assign(bytes, bytes + aDesc.byteWidth);
    }
    auto buffer = std::make_shared<Buffer>(myCore, aDesc, std::move(data));
    return Realised(*myCore, std::move(buffer));
}

InputLayoutPtr Device::CreateInputLayout(const InputElementDesc* someElements, std::uint32_t aCount,
                                         std::span<const std::uint8_t> someShaderCode)
{
    if (!IsSpirv(std::vector<std::uint8_t>(someShaderCode.begin(), someShaderCode.end())))
    {
        return nullptr;
    }
    std::vector<ResolvedElement> elements = InputLayout::Resolve(someElements, aCount);
    if (elements.empty())
    {
        return nullptr;
    }
    auto layout = std::make_shared<InputLayout>(myCore, std::move(elements));
    return Realised(*myCore, std::move(layout));
}

BlendStatePtr Device::CreateBlendState(const BlendDesc& aDesc)
{
    return std::make_shared<const BlendState>(aDesc);
}

DepthStencilStatePtr Device::CreateDepthStencilState(const DepthStencilDesc& aDesc)
{
    return std::make_shared<const DepthStencilState>(aDesc);
}

RasterizerStatePtr Device::CreateRasterizerState(const RasterizerDesc& aDesc)
{
    return std::make_shared<const RasterizerState>(aDesc);
}

SamplerStatePtr Device::CreateSamplerState(const SamplerDesc& aDesc)
{
    auto sampler = std::make_shared<SamplerState>(myCore, aDesc);
    return Realised(*myCore, std::move(sampler));
}
} // namespace Platform::Gfx
