// The full-screen effects on the device: each one changes a known input as it should, with one draw of
// three vertices and no buffers; the pixelate effect reads its own texture and the render size.
#include "Engine/vek/graphics/RenderFixture.h"
#include "vek/Core/Engine.h"
#include "vek/drawers/FullscreenEffect.h"
#include "vek/drawers/LineDrawer.h"

#include <array>
#include <cmath>

namespace
{
using Platform::Gfx::Format;

class FullscreenEffectTest : public QelTest::RenderFixture
{
protected:
    // A UNORM texture the size of the target whose texels come from aTexel(x, row from the top).
    template <class Function>
    Platform::Gfx::ShaderResourceViewPtr MakeInput(Function aTexel)
    {
        std::vector<std::uint8_t> texels;
        for (int row = 0; row < HEIGHT; ++row)
        {
            for (int x = 0; x < WIDTH; ++x)
            {
                const std::array<std::uint8_t, 4> texel = aTexel(x, row);
                texels.insert(texels.end(), texel.begin(), texel.end());
            }
        }
        Platform::Gfx::Texture2DDesc desc;
        desc.width = WIDTH;
        desc.height = HEIGHT;
        desc.format = Format::R8G8B8A8_UNORM;
        desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE;
        const Platform::Gfx::SubresourceData level{texels.data(), WIDTH * 4};
        myInput = Qel::DX11::GetDevice()->CreateTexture2D(desc, std::span(&level, 1));
        return Qel::DX11::GetDevice()->CreateShaderResourceView(myInput);
    }

    // A rendered texture the size of the target, as effects get the frame: cleared to aBackground, with
    // white lines along the given rows and columns (counted from the top-left), drawn by the line drawer.
    Platform::Gfx::ShaderResourceViewPtr RenderInput(const Qel::Color& aBackground, std::vector<int> someRows,
                                                     std::vector<int> someColumns)
    {
        Platform::Gfx::Texture2DDesc desc;
        desc.width = WIDTH;
        desc.height = HEIGHT;
        desc.format = Format::R8G8B8A8_UNORM;
        desc.bindFlags = Platform::Gfx::BIND_SHADER_RESOURCE | Platform::Gfx::BIND_RENDER_TARGET;
        myInput = Qel::DX11::GetDevice()->CreateTexture2D(desc);
        const Qel::RenderTarget target = Qel::RenderTarget::Create(myInput);
        target.Clear(aBackground);
        target.SetAsActiveTarget(nullptr);
        Qel::LinePrimitive line;
        line.color = Qel::Color(1.0f, 1.0f, 1.0f, 1.0f);
        for (const int row : someRows)
        {
            const float y = static_cast<float>(HEIGHT - row) - 0.5f;
            line.fromPosition = {0.0f, y, 0.0f};
            line.toPosition = {static_cast<float>(WIDTH), y, 0.0f};
            myGraphics->GetLineDrawer()->Draw(line);
        }
        for (const int column : someColumns)
        {
            const float x = static_cast<float>(column) + 0.5f;
            line.fromPosition = {x, 0.0f, 0.0f};
            line.toPosition = {x, static_cast<float>(HEIGHT), 0.0f};
            myGraphics->GetLineDrawer()->Draw(line);
        }
        return Qel::DX11::GetDevice()->CreateShaderResourceView(myInput);
    }

    // Binds the input at t0 after the state stack has sent everything, then applies the effect.
    void Apply(Qel::FullscreenEffect& anEffect, const Platform::Gfx::ShaderResourceViewPtr& anInput)
    {
        myGraphics->GetGraphicsStateStack().UpdateGpuStates(false);
        const std::array<Platform::Gfx::ShaderResourceViewPtr, 1> views{anInput};
        Qel::DX11::GetContext()->PSSetShaderResources(0, views);
        Qel::DX11::GetBackBuffer()->SetAsActiveTarget(nullptr);
        anEffect.Render();
    }

    // The byte an sRGB target stores for a linear value.
    static int Encoded(float aLinear)
    {
        const float encoded =
            aLinear <= 0.0031308f ? aLinear * 12.92f : 1.055f * std::pow(aLinear, 1.0f / 2.4f) - 0.055f;
        return static_cast<int>(std::lround(encoded * 255.0f));
    }

    static std::array<std::uint8_t, 4> Grey(int aValue)
    {
        const auto value = static_cast<std::uint8_t>(aValue);
        return {value, value, value, 255};
    }

    Platform::Gfx::Texture2DPtr myInput;
};

TEST_F(FullscreenEffectTest, CopyIsOneDrawOfThreeVerticesThatReproducesTheInput)
{
    const auto input = RenderInput({0.0f, 0.0f, 1.0f, 1.0f}, {10}, {});
    const std::uint32_t drawCallsBefore = Qel::Engine::GetDrawCallsThisFrame();
    Apply(*myGraphics->GetCopyEffect(), input);
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame(), drawCallsBefore + 1);
    Platform::Gfx::Context& context = *Qel::DX11::GetContext();
    EXPECT_EQ(context.GetInputLayout(), nullptr);
    EXPECT_EQ(context.GetVertexShader(), Qel::DX11::GetVertexShader("Shaders/PostprocessVS")->shader);

    // The frame comes through upright: the white row stays the eleventh from the top.
    const std::vector<std::uint8_t> pixels = ReadPixels();
    for (const int x : {0, 31, 63})
    {
        EXPECT_RGB_NEAR(PixelAt(pixels, x, 10), 255, 255, 255, 1);
        EXPECT_RGB_NEAR(PixelAt(pixels, x, 9), 0, 0, 255, 1);
        EXPECT_RGB_NEAR(PixelAt(pixels, x, 37), 0, 0, 255, 1);
    }

    // Profiled, the copy is one draw of one fragment per pixel, named by its shader; the next copy
    // without profiling adds nothing.
    context.SetDrawProfiling(true);
    Apply(*myGraphics->GetCopyEffect(), input);
    Apply(*myGraphics->GetCopyEffect(), input);
    context.SetDrawProfiling(false);
    Apply(*myGraphics->GetCopyEffect(), input);
    ASSERT_EQ(context.GetDrawCosts().size(), 1u);
    const auto& [shader, cost] = *context.GetDrawCosts().begin();
    EXPECT_EQ(Qel::DX11::GetPixelShaderName(shader), "Shaders/PostprocessCopyPS");
    EXPECT_EQ(cost.draws, 2u);
    EXPECT_EQ(cost.fragments, 2u * WIDTH * HEIGHT);
    EXPECT_EQ(Qel::DX11::GetPixelShaderName(nullptr), "");
}

TEST_F(FullscreenEffectTest, AnInputOnlyClearedIsSampledClearedAndTheTargetsClearLiesUnderTheDraw)
{
    const auto input = RenderInput({1.0f, 0.0f, 0.0f, 1.0f}, {}, {});
    Qel::DX11::GetBackBuffer()->Clear({0.0f, 1.0f, 0.0f, 1.0f});
    Apply(*myGraphics->GetCopyEffect(), input);
    const std::vector<std::uint8_t> pixels = ReadPixels();
    for (const int x : {0, 31, 63})
    {
        EXPECT_RGB_NEAR(PixelAt(pixels, x, 0), 255, 0, 0, 1);
        EXPECT_RGB_NEAR(PixelAt(pixels, x, HEIGHT - 1), 255, 0, 0, 1);
    }
}

TEST_F(FullscreenEffectTest, ToneMappingCompressesBrightValues)
{
    const auto input = MakeInput([](int aX, int) { return Grey(aX < 32 ? 204 : 51); });
    Apply(*myGraphics->GetTonemapEffect(), input);
    const std::vector<std::uint8_t> pixels = ReadPixels();
    // c / (1 + c) for 0.8 and 0.2.
    const int bright = Encoded(0.8f / 1.8f);
    const int dark = Encoded(0.2f / 1.2f);
    EXPECT_RGB_NEAR(PixelAt(pixels, 10, 10), bright, bright, bright, 2);
    EXPECT_RGB_NEAR(PixelAt(pixels, 50, 10), dark, dark, dark, 2);
    EXPECT_LT(PixelAt(pixels, 10, 10)[0], Encoded(0.8f) - 20);
}

TEST_F(FullscreenEffectTest, EachGaussianPassSpreadsAlongItsOwnAxisOnly)
{
    // A bright column at x 32 and a bright row at row 24.
    const auto input = RenderInput({0.0f, 0.0f, 0.0f, 1.0f}, {24}, {32});

    Apply(*myGraphics->GetGaussianHorizontalEffect(), input);
    std::vector<std::uint8_t> pixels = ReadPixels();
    // Along a row away from the bright row: the column spreads to its neighbours, weaker with distance,
    // and not beyond four texels.
    const int centre = PixelAt(pixels, 32, 5)[0];
    const int next = PixelAt(pixels, 33, 5)[0];
    const int far = PixelAt(pixels, 36, 5)[0];
    EXPECT_NEAR(centre, Encoded(0.2041637f), 2);
    EXPECT_GT(centre, next);
    EXPECT_GT(next, far);
    EXPECT_GT(far, 0);
    EXPECT_EQ(PixelAt(pixels, 37, 5)[0], 0);
    EXPECT_EQ(PixelAt(pixels, 31, 5)[0], next);
    // The bright row stays whole: a horizontal blur of a full row changes nothing.
    EXPECT_RGB_NEAR(PixelAt(pixels, 10, 24), 255, 255, 255, 1);

    BeginFrame({0.0f, 0.0f, 0.0f, 1.0f});
    Apply(*myGraphics->GetGaussianVerticalEffect(), input);
    pixels = ReadPixels();
    EXPECT_NEAR(PixelAt(pixels, 5, 24)[0], Encoded(0.2041637f), 2);
    EXPECT_GT(PixelAt(pixels, 5, 24)[0], PixelAt(pixels, 5, 25)[0]);
    EXPECT_EQ(PixelAt(pixels, 5, 29)[0], 0);
    EXPECT_RGB_NEAR(PixelAt(pixels, 32, 5), 255, 255, 255, 1);
}

TEST_F(FullscreenEffectTest, PixelateTurnsItsOwnTextureIntoBlocksOfThePixelSize)
{
    Qel::FullscreenPixelateEffect& pixelate = *myGraphics->GetPixelateEffect();
    EXPECT_FLOAT_EQ(pixelate.myPixelSize, 16.0f);
    EXPECT_EQ(pixelate.GetTexture()->GetDesc().width, static_cast<std::uint32_t>(WIDTH));
    EXPECT_EQ(pixelate.GetRenderTarget().GetSize(), Qel::Vector2<int>(WIDTH, HEIGHT));

    // Fill the effect's texture with a horizontal ramp through the copy effect.
    const auto ramp = MakeInput([](int aX, int) { return Grey(aX * 4); });
    myGraphics->GetGraphicsStateStack().UpdateGpuStates(false);
    const std::array<Platform::Gfx::ShaderResourceViewPtr, 1> views{ramp};
    Qel::DX11::GetContext()->PSSetShaderResources(0, views);
    pixelate.GetRenderTarget().SetAsActiveTarget(nullptr);
    myGraphics->GetCopyEffect()->Render();

    const Qel::PixelateConstants constants = pixelate.MakeConstants();
    EXPECT_FLOAT_EQ(constants.pixelSize, 16.0f);
    EXPECT_EQ(constants.renderWidth, static_cast<std::uint32_t>(WIDTH));
    EXPECT_EQ(constants.renderHeight, static_cast<std::uint32_t>(HEIGHT));
    pixelate.Render();
    EXPECT_EQ(Qel::DX11::GetContext()->GetBoundTarget(), Qel::DX11::GetBackBuffer()->GetView());

    const std::vector<std::uint8_t> pixels = ReadPixels();
    // Each 16-pixel block takes the ramp at its centre column (8, 24, 40, 56).
    for (int block = 0; block < 4; ++block)
    {
        const int expected = Encoded(static_cast<float>((block * 16 + 8) * 4) / 255.0f);
        EXPECT_NEAR(PixelAt(pixels, block * 16, 3)[0], expected, 2) << block;
        EXPECT_NEAR(PixelAt(pixels, block * 16 + 15, 40)[0], expected, 2) << block;
    }

    pixelate.myPixelSize = 32.0f;
    pixelate.Render();
    const std::vector<std::uint8_t> wide = ReadPixels();
    EXPECT_EQ(PixelAt(wide, 0, 3)[0], PixelAt(wide, 31, 3)[0]);
    EXPECT_NE(PixelAt(wide, 31, 3)[0], PixelAt(wide, 32, 3)[0]);
}

TEST_F(FullscreenEffectTest, AnEffectWhoseShadersAreMissingFailsInitAndDrawsNothing)
{
    Qel::FullscreenEffect effect;
    EXPECT_FALSE(effect.Init("Shaders/NoSuchEffectPS"));
    const std::uint32_t drawCallsBefore = Qel::Engine::GetDrawCallsThisFrame();
    effect.Render();
    EXPECT_EQ(Qel::Engine::GetDrawCallsThisFrame(), drawCallsBefore);
}
} // namespace
