#include "vek/text/FontAtlasUpload.h"

#include "vek/graphics/DX11.h"
#include "vek/graphics/Texture.h"

#include <memory>

namespace Qel::impl
{
namespace
{
std::uint32_t AverageOfFour(std::uint32_t aA, std::uint32_t aB, std::uint32_t aC, std::uint32_t aD)
{
    std::uint32_t result = 0;
    for (unsigned shift = 0; shift < 32; shift += 8)
    {
        const std::uint32_t sum = ((aA >> shift) & 0xFFu) + ((aB >> shift) & 0xFFu) +
                                  ((aC >> shift) & 0xFFu) + ((aD >> shift) & 0xFFu);
        result |= ((sum + 2) / 4) << shift;
    }
    return result;
}
} // namespace

std::vector<std::vector<std::uint32_t>> BuildMipChain(const std::vector<std::uint32_t>& someLevel0,
                                                      std::uint32_t aSide)
{
    std::vector<std::vector<std::uint32_t>> levels;
    const std::vector<std::uint32_t>* above = &someLevel0;
    for (std::uint32_t side = aSide / 2; side >= 1; side /= 2)
    {
        const std::uint32_t aboveSide = side * 2;
        std::vector<std::uint32_t> level(static_cast<std::size_t>(side) * side);
        for (std::uint32_t y = 0; y < side; ++y)
        {
            for (std::uint32_t x = 0; x < side; ++x)
            {
                const std::size_t topLeft = static_cast<std::size_t>(2 * y) * aboveSide + 2 * x;
                level[static_cast<std::size_t>(y) * side + x] =
                    AverageOfFour((*above)[topLeft], (*above)[topLeft + 1], (*above)[topLeft + aboveSide],
                                  (*above)[topLeft + aboveSide + 1]);
            }
        }
        levels.push_back(std::move(level));
        above = &levels.back();
    }
    return levels;
}

bool UploadFontAtlas(InternalTextAndFontData& aFont)
{
    Platform::Gfx::Device* device = DX11::GetDevice();
    if (device == nullptr)
    {
        return false;
    }
    constexpr auto SIDE = static_cast<std::uint32_t>(FONT_ATLAS_SIZE);
    const std::vector<std::vector<std::uint32_t>> chain = BuildMipChain(aFont.pixels, SIDE);
    std::vector<Platform::Gfx::SubresourceData> levels;
    levels.push_back({aFont.pixels.data(), SIDE * 4});
    std::uint32_t side = SIDE / 2;
    for (const std::vector<std::uint32_t>& level : chain)
    {
        levels.push_back({level.data(), side * 4});
        side /= 2;
    }

    Platform::Gfx::Texture2DDesc desc;
    desc.width = SIDE;
    desc.height = SIDE;
    desc.mipLevels = 0;
    desc.arraySize = 1;
    desc.format = Platform::Gfx::Format::R8G8B8A8_UNORM;
    desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE | Platform::Gfx::BIND_RENDER_TARGET;
    const Platform::Gfx::Texture2DPtr texture = device->CreateTexture2D(desc, levels);
    if (texture == nullptr)
    {
        return false;
    }
    Platform::Gfx::ShaderResourceViewPtr view = device->CreateShaderResourceView(texture);
    if (view == nullptr)
    {
        return false;
    }
    auto atlas = std::make_unique<Texture>();
    atlas->myView = std::move(view);
    aFont.atlasRef = std::move(atlas);
    return true;
}
} // namespace Qel::impl
