// A 32-bit float depth target that shaders can also sample, with its viewport. Value type; an empty
// buffer has neither view. Main thread for Clear; creation goes through the process-wide device.
#pragma once

#include "Platform/Gfx/Resources.h"
#include "vek/Math/Vector2.h"

#include <cstdint>

namespace Qel
{
class DepthBuffer
{
public:
    DepthBuffer() = default;

    static DepthBuffer Create(const Vector2<unsigned int>& aSize);

    // Clears depth and stencil to the given values; the frame clear uses 1.0 and 0.
    void Clear(float aDepth = 1.0f, std::uint8_t aStencil = 0) const;

    bool IsEmpty() const { return myDepthView == nullptr; }
    const Platform::Gfx::DepthStencilViewPtr& GetDepthView() const { return myDepthView; }
    const Platform::Gfx::ShaderResourceViewPtr& GetShaderView() const { return myShaderView; }
    const Platform::Gfx::Viewport& GetViewport() const { return myViewport; }

private:
    Platform::Gfx::ShaderResourceViewPtr myShaderView;
    Platform::Gfx::DepthStencilViewPtr myDepthView;
    Platform::Gfx::Viewport myViewport;
};
} // namespace Qel
