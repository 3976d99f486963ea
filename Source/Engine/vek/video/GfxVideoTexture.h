// The video's picture texture on the engine's graphics device: an sRGB RGBA texture, cleared at
// creation, with a CPU copy of its texels that Map hands out and Unmap sends to the texture whole.
//
// Made and used on the main thread while the device exists (Qel::DX11).
#pragma once

#include "vek/video/VideoTexture.h"

#include <vector>

namespace Qel::impl
{
class GfxVideoTexture final : public VideoTexture
{
public:
    // Null (with a log line) without a device, or when the device refuses the size.
    static std::unique_ptr<VideoTexture> Create(std::uint32_t aWidth, std::uint32_t aHeight);

    GfxVideoTexture(Platform::Gfx::Texture2DPtr aTexture, Platform::Gfx::ShaderResourceViewPtr aView,
                    std::vector<std::uint32_t> someTexels);

    // Null once the device's context is gone.
    std::uint32_t* Map() override;
    void Unmap() override;
    Platform::Gfx::ShaderResourceViewPtr GetView() const override { return myView; }

    const Platform::Gfx::Texture2DPtr& GetTexture() const { return myTexture; }

private:
    Platform::Gfx::Texture2DPtr myTexture;
    Platform::Gfx::ShaderResourceViewPtr myView;
    std::vector<std::uint32_t> myTexels;
};
} // namespace Qel::impl
