// A shipped ground tile drawn by the engine's own model drawer with its atlas, looked at from the
// game's side: the lip of each world shows along the top of the front face and its earth below, so
// the mesh's UVs, the sheet's rows and the GL sampling agree.
#include "Support/TestView.h"
#include "vek/Core/WindowHandler.h"
#include "vek/Math/Matrix4x4.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/graphics/Camera.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/DepthBuffer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/RenderTarget.h"
#include "vek/graphics/TextureManager.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int WIDTH = 128;
constexpr int HEIGHT = 96;

class StaticModelRenderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Qel::LoadSettings("Game"));
        Qel::EngineCreateParameters parameters;
        parameters.windowSize = {WIDTH, HEIGHT};
        void* instance = nullptr;
        Qel::WindowHandle* handle = nullptr;
        ASSERT_TRUE(myWindow.Create(parameters, instance, handle));
        myDX11 = std::make_unique<Qel::DX11>();
        ASSERT_TRUE(myDX11->Init(myWindow));
        myWatcher = std::make_unique<Qel::FileWatcher>([] { return true; });
        myTextures = std::make_unique<Qel::TextureManager>(myWatcher.get());
        myGraphics = std::make_unique<Qel::GraphicsEngine>();
        ASSERT_TRUE(myGraphics->Init(*myTextures));
        myTextures->Init();
        myFactory = std::make_unique<Qel::ModelFactory>(myWatcher.get());
    }

    void TearDown() override
    {
        myFactory.reset();
        myGraphics.reset();
        myTextures.reset();
        myWatcher.reset();
        myDX11.reset();
        myWindow.DestroyWindow();
        Qel::ResetSettings();
    }

    // The tile at the origin seen square-on from 400 in front of its middle, under the world's
    // lights; the back buffer's pixels, top row first.
    std::vector<std::uint8_t> DrawTile(const std::string& aModel, const std::string& anAtlas)
    {
        myDX11->BeginFrame({0.0f, 0.0f, 0.0f, 1.0f});
        Qel::GraphicsStateStack& stack = myGraphics->GetGraphicsStateStack();
        stack.ResetForFrame();
        Qel::DX11::GetBackBuffer()->SetAsActiveTarget(Qel::DX11::GetDepthBuffer());
        QelTest::SetTestView(stack, 30.0f, {static_cast<float>(WIDTH), static_cast<float>(HEIGHT)},
                             {50.0f, 50.0f, -400.0f}, 0.5f, 0.1f);

        Qel::ModelInstance tile = myFactory->GetModelInstance(aModel);
        EXPECT_NE(tile.GetModel(), nullptr) << aModel;
        Qel::Texture* atlas = myTextures->TryGetTexture(anAtlas.c_str(), 1);
        EXPECT_NE(atlas, nullptr) << anAtlas;
        if (tile.GetModel() == nullptr || atlas == nullptr)
        {
            return {};
        }
        tile.myTextures[0].myAlbedo = atlas;
        myGraphics->GetModelDrawer()->DrawModel(tile);
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }

    // The mean colour of a small square of pixels around (aX, aRowFromTop).
    static std::array<double, 3> MeanAround(const std::vector<std::uint8_t>& somePixels, int aX,
                                            int aRowFromTop)
    {
        std::array<double, 3> sum{};
        for (int y = aRowFromTop - 2; y <= aRowFromTop + 2; ++y)
        {
            for (int x = aX - 6; x <= aX + 6; ++x)
            {
                const std::size_t at =
                    (static_cast<std::size_t>(y) * WIDTH + static_cast<std::size_t>(x)) * 4;
                for (int k = 0; k < 3; ++k)
                {
                    sum[k] += somePixels[at + k] / 65.0;
                }
            }
        }
        return sum;
    }

    Qel::WindowHandler myWindow;
    std::unique_ptr<Qel::DX11> myDX11;
    std::unique_ptr<Qel::FileWatcher> myWatcher;
    std::unique_ptr<Qel::TextureManager> myTextures;
    std::unique_ptr<Qel::GraphicsEngine> myGraphics;
    std::unique_ptr<Qel::ModelFactory> myFactory;
};

TEST_F(StaticModelRenderTest, EachWorldsGroundTileShowsItsLipAboveItsEarth)
{
    const std::string atlas = "textures/textureatlas/t_en_tatlas_c.dds";
    // From 400 away the tile's 100 units span rows 18 to 78: the lip is the top fifth of it.
    constexpr int LIP_ROW = 24;
    constexpr int EARTH_ROW = 62;
    for (int world = 1; world <= 3; ++world)
    {
        SCOPED_TRACE(world);
        const std::vector<std::uint8_t> pixels =
            DrawTile("models/StaticMeshes/SM_Ground_W" + std::to_string(world) + ".fbx", atlas);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(WIDTH * HEIGHT * 4));
        const auto lip = MeanAround(pixels, WIDTH / 2, LIP_ROW);
        const auto earth = MeanAround(pixels, WIDTH / 2, EARTH_ROW);
        const auto corner = MeanAround(pixels, 8, 4);
        EXPECT_LT(corner[0] + corner[1] + corner[2], 3.0) << "the tile stays inside its box";
        EXPECT_GT(earth[0] + earth[1] + earth[2], 20.0) << "the earth is lit";
        switch (world)
        {
        case 1: // green grass over brown soil
            EXPECT_GT(lip[1], lip[0] * 1.2);
            EXPECT_GT(earth[0], earth[1]);
            break;
        case 2: // pale sand over darker sandstone
            EXPECT_GT(lip[0] + lip[1] + lip[2], 1.3 * (earth[0] + earth[1] + earth[2]));
            break;
        default: // blood moss over dark rock
            EXPECT_GT(lip[0], 2.0 * lip[2]);
            EXPECT_GT(lip[0], 1.5 * earth[0]);
            break;
        }
    }
}
} // namespace
