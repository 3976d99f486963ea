#include "vek/graphics/DepthBuffer.h"

#include "vek/Core/Assert.h"
#include "vek/graphics/CreationResult.h"
#include "vek/graphics/DX11.h"

namespace Qel
{
using impl::SUCCEEDED;
} // namespace Qel

namespace Qel
{
DepthBuffer DepthBuffer::Create(const Vector2<unsigned int>& aSize)
{
    using namespace Platform::Gfx;
    DepthBuffer buffer;
    Device* device = DX11::GetDevice();
    Texture2DPtr texture;
    if (device != nullptr)
    {
        Texture2DDesc desc;
        desc.width = aSize.x;
        desc.height = aSize.y;
        desc.format = Format::R32_TYPELESS;
        desc.bindFlags = BIND_DEPTH_STENCIL | BIND_SHADER_RESOURCE;
        texture = device->CreateTexture2D(desc);
    }
    bool result = texture != nullptr;
    QEL_ASSERT(SUCCEEDED(result));
    if (texture == nullptr)
    {
        return buffer;
    }
    buffer.myDepthView = device->CreateDepthStencilView(texture, Format::D32_FLOAT);
    result = buffer.myDepthView != nullptr;
    QEL_ASSERT(SUCCEEDED(result));
    buffer.myShaderView = device->CreateShaderResourceView(texture, Format::R32_FLOAT);
    result = buffer.myShaderView != nullptr;
    QEL_ASSERT(SUCCEEDED(result));
    buffer.myViewport =
        Viewport{0.0f, 0.0f, static_cast<float>(aSize.x), static_cast<float>(aSize.y), 0.0f, 1.0f};
    return buffer;
}

void DepthBuffer::Clear(float aDepth, std::uint8_t aStencil) const
{
    Platform::Gfx::Context* context = DX11::GetContext();
    if (context == nullptr || myDepthView == nullptr)
    {
        return;
    }
    context->ClearDepthStencilView(myDepthView, Platform::Gfx::CLEAR_DEPTH | Platform::Gfx::CLEAR_STENCIL,
                                   aDepth, aStencil);
}
} // namespace Qel
