// The full-screen switch: after the window changes size, the next frames rebuild the targets so that
// the engine's render size, the device's resolution and the back buffer agree.
#include "Engine/vek/graphics/EngineFixture.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"

namespace
{
using FullscreenSwitchTest = QelTest::EngineFixture;

void RunFrames(Qel::Engine& anEngine, int aCount)
{
    for (int frame = 0; frame < aCount; ++frame)
    {
        anEngine.BeginFrame();
        anEngine.EndFrame();
    }
}

void ExpectConsistentSizes(const Qel::Engine& anEngine, const char* aWhen)
{
    const Qel::Vector2<int> resolution = Qel::DX11::GetResolution();
    const Platform::Gfx::Texture2DPtr backBuffer = Qel::DX11::GetSwapChain()->GetBuffer(0);
    ASSERT_NE(backBuffer, nullptr) << aWhen;
    EXPECT_EQ(static_cast<int>(anEngine.GetRenderSize().x), resolution.x) << aWhen;
    EXPECT_EQ(static_cast<int>(anEngine.GetRenderSize().y), resolution.y) << aWhen;
    EXPECT_EQ(static_cast<int>(backBuffer->GetDesc().width), resolution.x) << aWhen;
    EXPECT_EQ(static_cast<int>(backBuffer->GetDesc().height), resolution.y) << aWhen;
    EXPECT_EQ(Qel::DX11::GetBackBuffer()->GetSize(), resolution) << aWhen;
    EXPECT_GT(resolution.x, 0) << aWhen;
}

TEST_F(FullscreenSwitchTest, SwitchingKeepsTheRenderSizeAndTargetsInStep)
{
    ASSERT_TRUE(StartEngine(320, 200));
    Qel::Engine& engine = *Qel::Engine::GetInstance();
    ExpectConsistentSizes(engine, "at start");

    engine.SetFullscreen(true);
    RunFrames(engine, 10);
    ExpectConsistentSizes(engine, "in full screen");
    const bool isFullscreen = Qel::DX11::GetSwapChain()->IsFullscreen();

    engine.SetFullscreen(false);
    RunFrames(engine, 10);
    ExpectConsistentSizes(engine, "back in a window");
    EXPECT_FALSE(Qel::DX11::GetSwapChain()->IsFullscreen());
    if (isFullscreen)
    {
        // Where the display took the switch, the window comes back at its own size.
        EXPECT_EQ(engine.GetRenderSize(), Qel::Vector2<std::uint32_t>(320u, 200u));
        EXPECT_EQ(engine.GetWindowSize(), Qel::Vector2<std::uint32_t>(320u, 200u));
    }
}
} // namespace
