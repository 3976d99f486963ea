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
    const std::uint32_t bytesPerPixel = GetBytesPerPixel(aDesc.format);
    if (aDesc.width == 0 || aDesc.height == 0 || aDesc.width > MAX_SIDE || aDesc.height > MAX_SIDE ||
        bytesPerPixel == 0 || aDesc.arraySize != 1)
    {
        return nullptr;
    }
    Texture2DDesc desc = aDesc;
    const std::uint32_t fullChain = GetFullMipCount(desc.width, desc.height);
    desc.mipLevels = desc.mipLevels == 0 ? fullChain : std::min(desc.mipLevels, fullChain);
    if (someInitialData.size() > desc.mipLevels)
    {
        return nullptr;
    }
    // The pixels are copied tightly packed, so the caller's memory may go as soon as this returns.
    std::vector<std::vector<std::uint8_t>> levels(someInitialData.size());
    for (std::size_t level = 0; level < someInitialData.size(); ++level)
    {
        const SubresourceData& source = someInitialData[level];
        if (source.data == nullptr)
        {
            continue;
        }
        const std::size_t width = std::max(1u, desc.width >> level);
        const std::size_t height = std::max(1u, desc.height >> level);
        const std::size_t rowBytes = width * bytesPerPixel;
        const std::size_t pitch = source.rowPitch == 0 ? rowBytes : source.rowPitch;
        if (pitch < rowBytes)
        {
            return nullptr;
        }
        levels[level].resize(rowBytes * height);
        for (std::size_t row = 0; row < height; ++row)
        {
            std::memcpy(levels[level].data() + row * rowBytes,
                        static_cast<const std::uint8_t*>(source.data) + row * pitch, rowBytes);
        }
    }
    auto texture = std::make_shared<Texture2D>(myCore, desc, std::move(levels));
    if (myCore->IsMainThread() && texture->Realise() == 0)
    {
        return nullptr;
    }
    return texture;
}

RenderTargetViewPtr Device::CreateRenderTargetView(const Texture2DPtr& aTexture, Format aFormat)
{
    if (!IsViewable(aTexture, BIND_RENDER_TARGET))
    {
        return nullptr;
    }
    auto view = std::make_shared<RenderTargetView>(myCore, aTexture, aFormat);
    if (myCore->IsMainThread() && view->Realise() == 0)
    {
        return nullptr;
    }
    return view;
}

DepthStencilViewPtr Device::CreateDepthStencilView(const Texture2DPtr& aTexture, Format aFormat)
{
    if (!IsViewable(aTexture, BIND_DEPTH_STENCIL))
    {
        return nullptr;
    }
    auto view = std::make_shared<DepthStencilView>(myCore, aTexture, aFormat);
    if (myCore->IsMainThread() && view->Realise() == 0)
    {
        return nullptr;
    }
    return view;
}

ShaderResourceViewPtr Device::CreateShaderResourceView(const Texture2DPtr& aTexture, Format aFormat)
{
    if (!IsViewable(aTexture, BIND_SHADER_RESOURCE))
    {
        return nullptr;
    }
    auto view = std::make_shared<ShaderResourceView>(myCore, aTexture, aFormat);
    if (myCore->IsMainThread() && view->Realise() == 0)
    {
        return nullptr;
    }
    return view;
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
    if (myCore->IsMainThread() && shader->Realise() == 0)
    {
        return nullptr;
    }
    return shader;
}
} // namespace Platform::Gfx
