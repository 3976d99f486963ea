// A colour target and its viewport. A value type: copies share the view and the viewport, which never
// change after creation. An empty target (default constructed) has neither and must not be bound or
// cleared. Main thread for Clear and SetAsActiveTarget; creation goes through the process-wide device.
#pragma once

#include "Platform/Gfx/Resources.h"
#include "vek/Math/Color.h"
#include "vek/Math/Vector2.h"

#include <memory>

namespace Qel
{
class DepthBuffer;

class RenderTarget
{
public:
    RenderTarget() = default;

    // A view on the texture in its own format, or in aFormat (how the back buffer gets its sRGB view),
    // with a viewport covering the texture.
    static RenderTarget Create(const Platform::Gfx::Texture2DPtr& aTexture);
    static RenderTarget Create(const Platform::Gfx::Texture2DPtr& aTexture, Platform::Gfx::Format aFormat);

    // Clears to the four floats as given; callers convert sRGB colours first.
    void Clear(const Color& aColor) const;
    // The viewport's width and height, truncated; (0, 0) for an empty target.
    Vector2<int> GetSize() const;
    // Binds this view as the one output target, with the depth buffer's view or none, and sets the viewport.
    void SetAsActiveTarget(const DepthBuffer* aDepthBuffer = nullptr) const;

    bool IsEmpty() const { return myView == nullptr; }
    const Platform::Gfx::RenderTargetViewPtr& GetView() const { return myView; }

private:
    Platform::Gfx::RenderTargetViewPtr myView;
    std::shared_ptr<const Platform::Gfx::Viewport> myViewport;
};
} // namespace Qel
