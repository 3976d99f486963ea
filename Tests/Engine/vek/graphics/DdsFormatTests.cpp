#include "Engine/vek/graphics/RenderFixture.h"
#include "Platform/Image/DdsImage.h"

#include <cstring>

namespace
{
using Platform::Gfx::Format;

struct Case
{
    Format format;
    // The texel as written, each channel 0 or 1, and the colour the sprite then shows over white.
    std::array<int, 4> texel;
    std::array<int, 3> shown;
};

template <typename T>
void Append(std::vector<std::uint8_t>& someBytes, T aValue)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&aValue);
    someBytes.insert(someBytes.end(), bytes, bytes + sizeof(T));
}

std::uint16_t ToRgb565(const std::array<int, 4>& c)
{
    return static_cast<std::uint16_t>((c[0] * 31 << 11) | (c[1] * 63 << 5) | (c[2] * 31));
}

// A 4 x 4 block of one colour: endpoint 0 with every index 0.
void AppendColorBlock(std::vector<std::uint8_t>& someBytes, const std::array<int, 4>& c)
{
    Append(someBytes, ToRgb565(c));
    Append(someBytes, std::uint16_t{0});
    Append(someBytes, std::uint32_t{0});
}

void AppendSingleChannelBlock(std::vector<std::uint8_t>& someBytes, int aValue)
{
    someBytes.push_back(static_cast<std::uint8_t>(aValue * 255));
    someBytes.push_back(0);
    someBytes.insert(someBytes.end(), 6, 0);
}

// Mode 6 of the seven-mode format: 7-bit endpoints with one shared low bit, here 0.
std::vector<std::uint8_t> Bc7Block(const std::array<int, 4>& c)
{
    std::array<std::uint8_t, 16> block{};
    std::size_t bit = 0;
    auto put = [&block, &bit](std::uint32_t aValue, std::size_t aBits)
    {
        for (std::size_t index = 0; index < aBits; ++index, ++bit)
        {
            block[bit / 8] =
                static_cast<std::uint8_t>(block[bit / 8] | (((aValue >> index) & 1u) << (bit % 8)));
        }
    };
    put(1u << 6, 7);
    for (int channel = 0; channel < 4; ++channel)
    {
        put(static_cast<std::uint32_t>(c[static_cast<std::size_t>(channel)] * 127), 7);
        put(static_cast<std::uint32_t>(c[static_cast<std::size_t>(channel)] * 127), 7);
    }
    return {block.begin(), block.end()};
}

std::vector<std::uint8_t> MakeLevel(Format aFormat, const std::array<int, 4>& c)
{
    std::vector<std::uint8_t> bytes;
    const auto byte = [&c](int aChannel)
    {
        return static_cast<std::uint8_t>(c[static_cast<std::size_t>(aChannel)] * 255);
    };
    const auto word = [&c](int aChannel)
    {
        return static_cast<std::uint16_t>(c[static_cast<std::size_t>(aChannel)] * 65535);
    };
    const auto half = [&c](int aChannel)
    {
        return static_cast<std::uint16_t>(c[static_cast<std::size_t>(aChannel)] ? 0x3C00 : 0);
    };
    const auto full = [&c](int aChannel)
    {
        return static_cast<float>(c[static_cast<std::size_t>(aChannel)]);
    };
    switch (aFormat)
    {
    case Format::BC1_UNORM:
        AppendColorBlock(bytes, c);
        return bytes;
    case Format::BC2_UNORM:
        bytes.assign(8, static_cast<std::uint8_t>(c[3] * 255));
        AppendColorBlock(bytes, c);
        return bytes;
    case Format::BC3_UNORM:
        AppendSingleChannelBlock(bytes, c[3]);
        AppendColorBlock(bytes, c);
        return bytes;
    case Format::BC4_UNORM:
        AppendSingleChannelBlock(bytes, c[0]);
        return bytes;
    case Format::BC5_UNORM:
        AppendSingleChannelBlock(bytes, c[0]);
        AppendSingleChannelBlock(bytes, c[1]);
        return bytes;
    case Format::BC6H_UF16:
        return std::vector<std::uint8_t>(16, 0);
    case Format::BC7_UNORM:
        return Bc7Block(c);
    default:
        break;
    }
    for (int texel = 0; texel < 16; ++texel)
    {
        switch (aFormat)
        {
        case Format::R8G8B8A8_UNORM:
            bytes.insert(bytes.end(), {byte(0), byte(1), byte(2), byte(3)});
            break;
        case Format::B8G8R8A8_UNORM:
            bytes.insert(bytes.end(), {byte(2), byte(1), byte(0), byte(3)});
            break;
        case Format::B8G8R8X8_UNORM:
            bytes.insert(bytes.end(), {byte(2), byte(1), byte(0), 0});
            break;
        case Format::R8_UNORM:
            bytes.push_back(byte(0));
            break;
        case Format::A8_UNORM:
            bytes.push_back(byte(3));
            break;
        case Format::R8G8_UNORM:
            bytes.insert(bytes.end(), {byte(0), byte(1)});
            break;
        case Format::R16_UNORM:
            Append(bytes, word(0));
            break;
        case Format::R16G16_UNORM:
            Append(bytes, word(0));
            Append(bytes, word(1));
            break;
        case Format::R16G16B16A16_UNORM:
            for (int channel = 0; channel < 4; ++channel)
            {
                Append(bytes, word(channel));
            }
            break;
        case Format::R10G10B10A2_UNORM:
            Append(bytes, static_cast<std::uint32_t>(c[0] * 1023 | c[1] * 1023 << 10 | c[2] * 1023 << 20 |
                                                     static_cast<std::uint32_t>(c[3] * 3) << 30));
            break;
        case Format::B5G6R5_UNORM:
            Append(bytes, ToRgb565(c));
            break;
        case Format::B5G5R5A1_UNORM:
            Append(bytes,
                   static_cast<std::uint16_t>(c[2] * 31 | c[1] * 31 << 5 | c[0] * 31 << 10 | c[3] << 15));
            break;
        case Format::B4G4R4A4_UNORM:
            Append(bytes,
                   static_cast<std::uint16_t>(c[2] * 15 | c[1] * 15 << 4 | c[0] * 15 << 8 | c[3] * 15 << 12));
            break;
        case Format::R16_FLOAT:
            Append(bytes, half(0));
            break;
        case Format::R16G16_FLOAT:
            Append(bytes, half(0));
            Append(bytes, half(1));
            break;
        case Format::R16G16B16A16_FLOAT:
            for (int channel = 0; channel < 4; ++channel)
            {
                Append(bytes, half(channel));
            }
            break;
        case Format::R32_FLOAT:
            Append(bytes, full(0));
            break;
        case Format::R32G32_FLOAT:
            Append(bytes, full(0));
            Append(bytes, full(1));
            break;
        case Format::R32G32B32A32_FLOAT:
            for (int channel = 0; channel < 4; ++channel)
            {
                Append(bytes, full(channel));
            }
            break;
        default:
            ADD_FAILURE() << "no encoder for format " << static_cast<int>(aFormat);
            return {};
        }
    }
    return bytes;
}

class DdsFormatTest : public QelTest::RenderFixture
{
protected:
    // The colour a full-screen sprite of the texture shows over a white target.
    std::array<int, 4> Show(const std::string& aPath, std::uint32_t aColorMode)
    {
        BeginFrame({1, 1, 1, 1});
        Qel::SpriteSharedData shared;
        shared.texture = myTextures->TryGetTexture(aPath.c_str(), aColorMode);
        EXPECT_NE(shared.texture, nullptr) << aPath;
        if (shared.texture == nullptr)
        {
            return {};
        }
        {
            Qel::SpriteBatchScope batch = myGraphics->GetSpriteDrawer().BeginBatch(shared);
            Qel::Sprite2DInstanceData sprite;
            sprite.position = {0.0f, static_cast<float>(HEIGHT)};
            sprite.pivot = {0.0f, 0.0f};
            sprite.size = {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)};
            batch.Draw2D(sprite);
        }
        return PixelAt(ReadPixels(), WIDTH / 2, HEIGHT / 2);
    }
};

TEST_F(DdsFormatTest, EverySupportedFormatLoadsAndSamplesItsTexel)
{
    const Case cases[] = {
        {Format::R8G8B8A8_UNORM, {1, 0, 1, 1}, {255, 0, 255}},
        {Format::B8G8R8A8_UNORM, {1, 1, 0, 1}, {255, 255, 0}},
        {Format::B8G8R8X8_UNORM, {0, 0, 1, 0}, {0, 0, 255}},
        {Format::R8_UNORM, {1, 0, 0, 1}, {255, 0, 0}},
        {Format::A8_UNORM, {0, 0, 0, 1}, {0, 0, 0}},
        {Format::R8G8_UNORM, {0, 1, 0, 1}, {0, 255, 0}},
        {Format::R16_UNORM, {1, 0, 0, 1}, {255, 0, 0}},
        {Format::R16G16_UNORM, {1, 1, 0, 1}, {255, 255, 0}},
        {Format::R16G16B16A16_UNORM, {0, 1, 1, 1}, {0, 255, 255}},
        {Format::R10G10B10A2_UNORM, {1, 0, 1, 1}, {255, 0, 255}},
        {Format::B5G6R5_UNORM, {0, 1, 1, 1}, {0, 255, 255}},
        {Format::B5G5R5A1_UNORM, {1, 0, 0, 1}, {255, 0, 0}},
        {Format::B4G4R4A4_UNORM, {0, 0, 1, 1}, {0, 0, 255}},
        {Format::R16_FLOAT, {1, 0, 0, 1}, {255, 0, 0}},
        {Format::R16G16_FLOAT, {0, 1, 0, 1}, {0, 255, 0}},
        {Format::R16G16B16A16_FLOAT, {1, 0, 1, 1}, {255, 0, 255}},
        {Format::R32_FLOAT, {1, 0, 0, 1}, {255, 0, 0}},
        {Format::R32G32_FLOAT, {1, 1, 0, 1}, {255, 255, 0}},
        {Format::R32G32B32A32_FLOAT, {0, 1, 1, 1}, {0, 255, 255}},
        {Format::BC1_UNORM, {1, 0, 1, 1}, {255, 0, 255}},
        {Format::BC2_UNORM, {0, 1, 0, 1}, {0, 255, 0}},
        {Format::BC3_UNORM, {1, 1, 0, 1}, {255, 255, 0}},
        {Format::BC4_UNORM, {1, 0, 0, 1}, {255, 0, 0}},
        {Format::BC5_UNORM, {1, 1, 0, 1}, {255, 255, 0}},
        {Format::BC6H_UF16, {0, 0, 0, 1}, {0, 0, 0}},
        // Seven-bit endpoints with a low bit of 0 reach 254/255: the white target shows through by 1/255.
        {Format::BC7_UNORM, {0, 1, 1, 1}, {13, 255, 255}},
    };
    int index = 0;
    for (const Case& entry : cases)
    {
        const std::vector<std::vector<std::uint8_t>> levels = {MakeLevel(entry.format, entry.texel)};
        for (const bool dx10 : {true, false})
        {
            const std::string path = "Textures/format" + std::to_string(index++) + ".dds";
            WriteTexture(path, Platform::WriteDds(entry.format, 4, 4, 1, false, levels, dx10));
            const std::array<int, 4> shown = Show(path, 0);
            SCOPED_TRACE(path + " format " + std::to_string(static_cast<int>(entry.format)) +
                         (dx10 ? " with the DX10 header" : " with the legacy header"));
            EXPECT_RGB_NEAR(shown, entry.shown[0], entry.shown[1], entry.shown[2], 3);
        }
    }
}

TEST_F(DdsFormatTest, TheColourModeChoosesTheSrgbFormAndEachModeIsItsOwnEntry)
{
    std::vector<std::uint8_t> grey;
    for (int texel = 0; texel < 16; ++texel)
    {
        grey.insert(grey.end(), {128, 128, 128, 255});
    }
    const std::vector<std::vector<std::uint8_t>> levels = {grey};
    const std::string path =
        WriteTexture("Textures/grey.dds", Platform::WriteDds(Format::R8G8B8A8_UNORM, 4, 4, 1, false, levels));
    EXPECT_NEAR(Show(path, 1)[0], 128, 2) << "read as sRGB, drawn back through the sRGB curve";
    EXPECT_NEAR(Show(path, 0)[0], 188, 2) << "read as linear values";
    EXPECT_NEAR(Show(path, 2)[0], 188, 2);
    EXPECT_NE(myTextures->TryGetTexture(path.c_str(), 1), myTextures->TryGetTexture(path.c_str(), 2));
}

TEST_F(DdsFormatTest, ACubeMapAndAMipChainLoadWhole)
{
    std::vector<std::vector<std::uint8_t>> faces;
    for (int face = 0; face < 6; ++face)
    {
        faces.push_back(std::vector<std::uint8_t>(8 * 8 * 4, static_cast<std::uint8_t>(face * 40)));
        faces.push_back(std::vector<std::uint8_t>(4 * 4 * 4, 0));
    }
    const std::string path = WriteTexture(
        "Textures/cube.dds", Platform::WriteDds(Format::R8G8B8A8_UNORM, 8, 8, 2, true, faces, false));
    const Qel::Texture* cube = myTextures->TryGetTexture(path.c_str(), 0);
    ASSERT_NE(cube, nullptr);
    EXPECT_TRUE(cube->myView->GetTexture()->IsCube());
    EXPECT_EQ(cube->myView->GetTexture()->GetDesc().mipLevels, 2u);
    EXPECT_EQ(cube->mySize.x, 8);
}
} // namespace
