#include "vek/graphics/RenderTarget.h"

#include "vek/Core/Assert.h"
#include "vek/graphics/CreationResult.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/DepthBuffer.h"

namespace Qel
{
using impl::SUCCEEDED;
} // namespace Qel

namespace Qel
{
RenderTarget RenderTarget::Create(const Platform::Gfx::Texture2DPtr& aTexture)
{
    return Create(aTexture, Platform::Gfx::Format::Unknown);
}

RenderTarget RenderTarget::Create(const Platform::Gfx::Texture2DPtr& aTexture, Platform::Gfx::Format aFormat)
{
    RenderTarget target;
    Platform::Gfx::Device* device = DX11::GetDevice();
    if (device != nullptr)
    {
        target.myView = device->CreateRenderTargetView(aTexture, aFormat);
    }
    const bool result = target.myView != nullptr;
    QEL_ASSERT(SUCCEEDED(result));
    if (aTexture != nullptr && target.myView != nullptr)
    {
        Platform::Gfx::Viewport viewport;
        viewport.width = static_cast<float>(aTexture->GetDesc().width);
        viewport.height = static_cast<float>(aTexture->GetDesc().height);
        target.myViewport = std::make_shared<const Platform::Gfx::Viewport>(viewport);
    }
    return target;
}

void RenderTarget::Clear(const Color& aColor) const
{
    Platform::Gfx::Context* context = DX11::GetContext();
    if (context == nullptr || myView == nullptr)
    {
        return;
    }
    const float values[4] = {aColor.r, aColor.g, aColor.b, aColor.a};
    context->ClearRenderTargetView(myView, values);
}

Vector2<int> RenderTarget::GetSize() const
{
    if (myViewport == nullptr)
    {
        return {0, 0};
    }
    return {static_cast<int>(myViewport->width), static_cast<int>(myViewport->height)};
}

void RenderTarget::SetAsActiveTarget(const DepthBuffer* aDepthBuffer) const
{
    Platform::Gfx::Context* context = DX11::GetContext();
    if (context == nullptr || myView == nullptr)
    {
        return;
    }
    context->SetRenderTargets(myView, aDepthBuffer != nullptr ? aDepthBuffer->GetDepthView() : nullptr);
    if (myViewport != nullptr)
    {
        context->SetViewport(*myViewport);
    }
}
} // namespace Qel
