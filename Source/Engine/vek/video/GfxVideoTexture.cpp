#include "vek/video/GfxVideoTexture.h"

#include "vek/graphics/DX11.h"

#include <iostream>
#include <utility>

namespace Qel::impl
{
std::unique_ptr<VideoTexture> GfxVideoTexture::Create(std::uint32_t aWidth, std::uint32_t aHeight)
{
    Platform::Gfx::Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        std::cout << "[Video] No graphics device; the video draws nothing" << std::endl;
        return nullptr;
    }
    Platform::Gfx::Texture2DDesc desc;
    desc.width = aWidth;
    desc.height = aHeight;
    desc.mipLevels = 1;
    desc.arraySize = 1;
    desc.format = Platform::Gfx::Format::R8G8B8A8_UNORM_SRGB;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE;
    // Cleared at creation, so nothing undefined is ever sampled, before the first upload or beside it.
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(aWidth) * aHeight, 0u);
    const Platform::Gfx::SubresourceData initial{texels.data(), aWidth * 4};
    Platform::Gfx::Texture2DPtr texture = device->CreateTexture2D(desc, {&initial, 1});
    Platform::Gfx::ShaderResourceViewPtr view =
        texture != nullptr ? device->CreateShaderResourceView(texture) : nullptr;
    if (view == nullptr)
    {
        std::cout << "[Video] The device refused a " << aWidth << "x" << aHeight
                  << " picture texture; the video draws nothing" << std::endl;
        return nullptr;
    }
    return std::make_unique<GfxVideoTexture>(std::move(texture), std::move(view), std::move(texels));
}

GfxVideoTexture::GfxVideoTexture(Platform::Gfx::Texture2DPtr aTexture,
                                 Platform::Gfx::ShaderResourceViewPtr aView,
                                 std::vector<std::uint32_t> someTexels)
    : myTexture(std::move(aTexture)), myView(std::move(aView)), myTexels(std::move(someTexels))
{
}

std::uint32_t* GfxVideoTexture::Map()
{
    return DX11::GetContext() != nullptr ? myTexels.data() : nullptr;
}

void GfxVideoTexture::Unmap()
{
    if (Platform::Gfx::Context* context = DX11::GetContext())
    {
        context->UpdateSubresource(myTexture, myTexels.data(), myTexture->GetDesc().width * 4);
    }
}
} // namespace Qel::impl
