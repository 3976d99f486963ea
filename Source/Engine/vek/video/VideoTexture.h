// The picture texture a video writes into, made once at the first picture's power-of-two size and
// filled whole at every upload (row pitch = the texture's width, row 0 at the top). Map hands out
// the texels to write, or null when the texture cannot be written now; Unmap makes them the picture.
//
// MemoryVideoTexture keeps the texels in memory; it stands in where no graphics device is there.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Qel::impl
{
class VideoTexture
{
public:
    virtual ~VideoTexture() = default;

    virtual std::uint32_t* Map() = 0;
    virtual void Unmap() = 0;
};

// Null when no texture of the size can be made.
using VideoTextureFactory =
    std::function<std::unique_ptr<VideoTexture>(std::uint32_t aWidth, std::uint32_t aHeight)>;

class MemoryVideoTexture : public VideoTexture
{
public:
    MemoryVideoTexture(std::uint32_t aWidth, std::uint32_t aHeight);

    std::uint32_t* Map() override { return myTexels.data(); }
    void Unmap() override {}

    // Cleared to zero at creation.
    const std::vector<std::uint32_t>& GetTexels() const { return myTexels; }

private:
    std::vector<std::uint32_t> myTexels;
};
} // namespace Qel::impl
