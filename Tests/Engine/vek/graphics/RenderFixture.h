// The graphics fixture with the engine's shaders in its cooked root, its cube maps in the engine root, a
// texture manager watching files, and an initialised graphics engine (sprite drawer and render-state stack),
// reset as at a frame start. Helpers write texture files into the engine root and read the back buffer's
// pixels. Main thread only.
#pragma once

#include "Engine/vek/graphics/GraphicsFixture.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace QelTest
{
class RenderFixture : public GraphicsFixture
{
protected:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 48;

    void SetUp() override
    {
        GraphicsFixture::SetUp();
        if (HasFatalFailure())
        {
            return;
        }
        std::filesystem::copy(QEL_BUILT_COOKED_ROOT, CookedFolder(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy(QEL_BUILT_ENGINE_ROOT, myFolder.GetPath() / "engine",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        myWatcher = std::make_unique<Qel::FileWatcher>([] { return true; });
        myTextures = std::make_unique<Qel::TextureManager>(myWatcher.get());
        myGraphics = std::make_unique<Qel::GraphicsEngine>();
        ASSERT_TRUE(myGraphics->Init(*myTextures));
        myTextures->Init();
        ASSERT_TRUE(myGraphics->GetSpriteDrawer().IsLoaded());
        BeginFrame({0.0f, 0.0f, 0.0f, 1.0f});
    }

    void TearDown() override
    {
        myGraphics.reset();
        myTextures.reset();
        myWatcher.reset();
        GraphicsFixture::TearDown();
    }

    void BeginFrame(const Qel::Color& aClearColor)
    {
        myDX11->BeginFrame(aClearColor);
        myGraphics->GetGraphicsStateStack().ResetForFrame();
    }

    // Writes bytes below the engine root; returns the path as the texture manager is asked for it.
    std::string WriteTexture(const std::string& aName, const std::vector<std::uint8_t>& someBytes)
    {
        const std::filesystem::path path = myFolder.GetPath() / "engine" / aName;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(someBytes.data()),
                   static_cast<std::streamsize>(someBytes.size()));
        return aName;
    }

    std::vector<std::uint8_t> ReadPixels()
    {
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }

    // The stored RGBA bytes at a pixel counted from the top-left corner.
    static std::array<int, 4> PixelAt(const std::vector<std::uint8_t>& somePixels, int aX, int aRowFromTop)
    {
        const std::size_t offset =
            (static_cast<std::size_t>(aRowFromTop) * WIDTH + static_cast<std::size_t>(aX)) * 4;
        return {somePixels[offset], somePixels[offset + 1], somePixels[offset + 2], somePixels[offset + 3]};
    }

    std::unique_ptr<Qel::FileWatcher> myWatcher;
    std::unique_ptr<Qel::TextureManager> myTextures;
    std::unique_ptr<Qel::GraphicsEngine> myGraphics;
};
} // namespace QelTest

#define EXPECT_RGB_NEAR(aPixel, aR, aG, aB, aTolerance)                                                      \
    do                                                                                                       \
    {                                                                                                        \
        const auto pixelUnderTest = (aPixel);                                                                \
        EXPECT_NEAR(pixelUnderTest[0], (aR), (aTolerance));                                                  \
        EXPECT_NEAR(pixelUnderTest[1], (aG), (aTolerance));                                                  \
        EXPECT_NEAR(pixelUnderTest[2], (aB), (aTolerance));                                                  \
    } while (false)
