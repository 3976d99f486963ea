// The picture texture a video writes into, made once at the first picture's power-of-two size and
// filled whole at every upload (row pitch = the texture's width, row 0 at the top, red in each texel's
// lowest byte). Map hands out the texels to write, or null when the texture cannot be written now;
// Unmap makes them the picture. GetView is what a sprite samples; a texture that is not on the graphics
// device has none.
//
// Main thread only.
#pragma once

#include "Platform/Gfx/Resources.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Qel::impl
{
class VideoTexture
{
public:
    virtual ~VideoTexture() = default;

    virtual std::uint32_t* Map() = 0;
    virtual void Unmap() = 0;
    virtual Platform::Gfx::ShaderResourceViewPtr GetView() const { return nullptr; }
};

// Null when no texture of the size can be made.
using VideoTextureFactory =
    std::function<std::unique_ptr<VideoTexture>(std::uint32_t aWidth, std::uint32_t aHeight)>;
} // namespace Qel::impl
