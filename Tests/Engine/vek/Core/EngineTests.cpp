#include "Platform/Window/MessagePump.h"
#include "Platform/Window/ScreenMetrics.h"
#include "Support/ExecutableFolderFixture.h"
#include "Support/ManualCounter.h"
#include "vek/Core/Engine.h"
#include "vek/Core/WindowHandler.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/graphics/DX11.h"
#include "vek/settings/DebugFeatures.h"
#include "vek/settings/Settings.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace
{
// Starts the real engine from a settings file of the test's own, headless, and shuts it down after.
class EngineTest : public QelTest::ExecutableFolderFixture
{
protected:
    void TearDown() override
    {
        Qel::Engine::Shutdown();
        ExecutableFolderFixture::TearDown();
    }

    bool StartWith(const std::string& aWindowSettings, const std::string& aTopLevel = "")
    {
        Qel::ResetSettings();
        // The graphics engine needs the built effect shaders: the cooked root is the run layout's.
        const std::string cooked = (myRunFolder / "data/cooked").string();
        myFolder.WriteFile(
            "settings/Game.json",
            "{" + aTopLevel + R"("assets_path": {"engine": "engine", "game": "game", "cooked": ")" + cooked +
                R"("}, )" + R"("window_settings": {"title": "engine test", )" + aWindowSettings + "}}");
        EXPECT_TRUE(Qel::LoadSettings("Game.json"));
        Qel::GetEngineCreateParameters().frameClock = myClock;
        return Qel::Engine::Start();
    }

    const Qel::CounterSource* myClock = nullptr;

    static std::vector<std::uint8_t> ReadBackBuffer()
    {
        return Qel::DX11::GetContext()->ReadColorPixels(Qel::DX11::GetSwapChain()->GetBuffer(0));
    }
};

constexpr const char* SMALL_WINDOW = R"("window_size": {"w": 64, "h": 48})";

TEST_F(EngineTest, AFrameClearsTheBackBufferWithTheSettingsClearColour)
{
    ASSERT_TRUE(StartWith(std::string(SMALL_WINDOW) +
                          R"(, "clear_color": {"r": 0.5, "g": 0.5, "b": 0.5, "a": 0.25})"));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    ASSERT_NE(engine, nullptr);
    ASSERT_TRUE(engine->BeginFrame());
    const std::vector<std::uint8_t> pixels = ReadBackBuffer();
    ASSERT_EQ(pixels.size(), 64u * 48u * 4u);
    for (std::size_t at : {std::size_t{0}, pixels.size() / 2, pixels.size() - 4})
    {
        EXPECT_NEAR(pixels[at + 0], 128, 1);
        EXPECT_NEAR(pixels[at + 1], 128, 1);
        EXPECT_NEAR(pixels[at + 2], 128, 1);
        EXPECT_NEAR(pixels[at + 3], 64, 1);
    }
    engine->EndFrame();
    EXPECT_EQ(Qel::DX11::GetSwapChain()->GetPresentCount(), 1u);
}

TEST_F(EngineTest, StartBuildsEverySubsystemAndASecondStartIsRefused)
{
    ASSERT_TRUE(StartWith(SMALL_WINDOW));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    EXPECT_NE(engine->GetWindowHandler(), nullptr);
    EXPECT_NE(engine->GetDX11(), nullptr);
    EXPECT_NE(engine->GetGraphicsEngine(), nullptr);
    EXPECT_NE(engine->GetTextureManager(), nullptr);
    EXPECT_NE(engine->GetTextService(), nullptr);
    EXPECT_NE(engine->GetFileWatcher(), nullptr);
    ASSERT_NE(engine->GetHWND(), nullptr);
    EXPECT_EQ(*engine->GetHWND(), engine->GetWindowHandler()->GetHandle());
    EXPECT_GT(engine->GetStartTime(), 0);

    EXPECT_FALSE(Qel::Engine::Start());
    EXPECT_EQ(Qel::Engine::GetInstance(), engine) << "the running engine is left alone";

    Qel::Engine::Shutdown();
    EXPECT_EQ(Qel::Engine::GetInstance(), nullptr);
    EXPECT_FALSE(Qel::DX11::IsCreated());
    Qel::Engine::Shutdown(); // safe without an engine
}

TEST_F(EngineTest, TheFirstFrameFitsTheTargetsAndAResolutionChangeRebuildsThem)
{
    ASSERT_TRUE(StartWith(R"("window_size": {"w": 64, "h": 48}, "render_size": {"w": 32, "h": 32})"));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    EXPECT_EQ(engine->GetRenderSize(), (Qel::Vector2<std::uint32_t>{32, 32}));
    ASSERT_TRUE(engine->BeginFrame());
    EXPECT_TRUE(engine->IsResizePending()) << "showing the window reports its size";
    engine->EndFrame();
    EXPECT_FALSE(engine->IsResizePending());
    EXPECT_EQ(engine->GetRenderSize(), (Qel::Vector2<std::uint32_t>{64, 48}));

    engine->SetResolution(100, 50);
    EXPECT_EQ(Qel::DX11::GetResolution(), (Qel::Vector2<int>{100, 50}));
    EXPECT_EQ(engine->GetRenderSize(), (Qel::Vector2<std::uint32_t>{100, 50}));
    EXPECT_EQ(engine->GetWindowSize(), (Qel::Vector2<std::uint32_t>{100, 50}));
    EXPECT_FLOAT_EQ(engine->GetSizeRatio(), 2.0f);
    EXPECT_FLOAT_EQ(engine->GetInverseSizeRatioVector().y, 0.5f);
    EXPECT_EQ(Qel::DX11::GetContext()->GetBoundTarget(), Qel::DX11::GetBackBuffer()->GetView());
}

TEST_F(EngineTest, AQuitEndsThePumpAtOnceAndEveryLaterFrame)
{
    ASSERT_TRUE(StartWith(SMALL_WINDOW));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    ASSERT_TRUE(engine->BeginFrame());
    engine->EndFrame();
    Platform::Window* window = engine->GetWindowHandler()->GetWindow();
    Platform::PostMessage(window, WM_PAINT, 0, 0);
    Platform::PostQuitMessage(0);
    Platform::PostMessage(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(engine->BeginFrame());
    EXPECT_FALSE(engine->BeginFrame());
    Platform::QueuedMessage left;
    ASSERT_TRUE(Platform::PeekMessage(left)) << "the message behind the quit stays queued";
    EXPECT_EQ(left.message.message, WM_KEYDOWN);
}

TEST_F(EngineTest, ClosingTheWindowPostsTheQuit)
{
    ASSERT_TRUE(StartWith(SMALL_WINDOW));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    Platform::PostMessage(engine->GetWindowHandler()->GetWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(engine->BeginFrame());
}

TEST_F(EngineTest, TheWindowProcedureOffersMessagesToTheHookFirst)
{
    std::vector<std::uint32_t> seen;
    Qel::LResult hookResult = 0;
    Qel::GetEngineCreateParameters().windowProcedure = nullptr;
    myFolder.WriteFile("settings/Game.json",
                       R"({"assets_path": {"engine": "engine", "game": "game", "cooked": ")" +
                           (myRunFolder / "data/cooked").string() +
                           R"("}, "window_settings": {"title": "hook", "window_size": {"w": 64, "h": 48}}})");
    ASSERT_TRUE(Qel::LoadSettings("Game.json"));
    Qel::GetEngineCreateParameters().windowProcedure = [&](Qel::WindowHandle, std::uint32_t aMessage,
                                                           Qel::WParam, Qel::LParam) -> Qel::LResult
    {
        seen.push_back(aMessage);
        return hookResult;
    };
    ASSERT_TRUE(Qel::Engine::Start());
    Qel::Engine* engine = Qel::Engine::GetInstance();
    Qel::WindowHandler& handler = *engine->GetWindowHandler();

    // A non-zero result leaves the message to default processing: no resize is marked.
    hookResult = 1;
    handler.WndProc(handler.GetHandle(), WM_SIZE, SIZE_RESTORED, 0);
    handler.WndProc(handler.GetHandle(), WM_DESTROY, 0, 0);
    EXPECT_FALSE(engine->IsResizePending());
    Platform::QueuedMessage message;
    while (Platform::PeekMessage(message))
    {
        EXPECT_NE(message.message.message, WM_QUIT);
    }

    hookResult = 0;
    handler.WndProc(handler.GetHandle(), WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_TRUE(engine->IsResizePending());
    handler.WndProc(handler.GetHandle(), WM_DESTROY, 0, 0);
    ASSERT_TRUE(Platform::PeekMessage(message));
    EXPECT_EQ(message.message.message, WM_QUIT);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_SIZE, WM_DESTROY, WM_SIZE, WM_DESTROY}));
}

TEST_F(EngineTest, FrameTimesAddUpAndAreClampedToATenth)
{
    ASSERT_TRUE(StartWith(SMALL_WINDOW));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    float sum = 0.0f;
    for (int frame = 0; frame < 3; ++frame)
    {
        ASSERT_TRUE(engine->BeginFrame());
        engine->EndFrame();
        EXPECT_GT(engine->GetDeltaTime(), 0.0f);
        EXPECT_LE(engine->GetDeltaTime(), 0.1f);
        sum += engine->GetDeltaTime();
    }
    EXPECT_FLOAT_EQ(engine->GetTotalTime(), sum);
}

TEST_F(EngineTest, AFrameClockOfTheCreateParametersStepsTheFrameTimes)
{
    QelTest::ManualCounter clock(60);
    myClock = &clock;
    ASSERT_TRUE(StartWith(SMALL_WINDOW));
    Qel::Engine* engine = Qel::Engine::GetInstance();
    const int counts[] = {1, 3, 60};
    for (const int count : counts)
    {
        clock.Advance(count);
        ASSERT_TRUE(engine->BeginFrame());
        engine->EndFrame();
    }
    EXPECT_NEAR(engine->GetDeltaTime(), 0.1f, 1e-6f) << "a second's gap is clamped to a tenth, in its counts";
    EXPECT_NEAR(engine->GetTotalTime(), 4.0f / 60.0f + 0.1f, 1e-5f);
    // A frame with the clock standing still takes no time at all.
    ASSERT_TRUE(engine->BeginFrame());
    engine->EndFrame();
    EXPECT_EQ(engine->GetDeltaTime(), 0.0f);
}

TEST_F(EngineTest, MaximisedStartsTakeTheScreenSizeButBorderlessFullScreenKeepsItsOwn)
{
    const Platform::ScreenSize screen = Platform::GetPrimaryScreenSize();
    ASSERT_GT(screen.width, 0);
    ASSERT_TRUE(StartWith(std::string(SMALL_WINDOW) + R"(, "start_maximized": true)"));
    EXPECT_EQ(Qel::Engine::GetInstance()->GetWindowSize().x, static_cast<std::uint32_t>(screen.width));
    EXPECT_EQ(Qel::Engine::GetInstance()->GetRenderSize().y, static_cast<std::uint32_t>(screen.height));
    Qel::Engine::Shutdown();

    ASSERT_TRUE(
        StartWith(std::string(SMALL_WINDOW) + R"(, "start_in_fullscreen": true, "borderless": true)"));
    EXPECT_EQ(Qel::Engine::GetInstance()->GetWindowSize(), (Qel::Vector2<std::uint32_t>{64, 48}));
    EXPECT_TRUE(Qel::Engine::GetInstance()->GetWindowHandler()->GetWindow()->IsPopup());
}

TEST_F(EngineTest, TheFileWatcherFollowsTheDebugFeature)
{
    ASSERT_TRUE(StartWith(SMALL_WINDOW, R"("debug_features": ["Fps"], )"));
    const std::filesystem::path file = myFolder.WriteFile("data/a.dds", "x");
    EXPECT_FALSE(Qel::Engine::GetInstance()->GetFileWatcher()->WatchFileChange(file.string(), [] {}));
    EXPECT_FALSE(Qel::Engine::IsDebugFeatureOn(Qel::DEBUG_FEATURE_FILEWATCHER));
    Qel::Engine::Shutdown();
    EXPECT_FALSE(Qel::Engine::IsDebugFeatureOn(Qel::DEBUG_FEATURE_FPS)) << "no engine, no features";

    ASSERT_TRUE(StartWith(SMALL_WINDOW, R"("debug_features": "Filewatcher", )"));
    EXPECT_TRUE(Qel::Engine::GetInstance()->GetFileWatcher()->WatchFileChange(file.string(), [] {}));
}

TEST_F(EngineTest, AWindowThatCannotBeCreatedFailsTheStartWithAReason)
{
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartWith(SMALL_WINDOW));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("[Engine] start failed: the window could not be created"), std::string::npos)
        << errors;
    ASSERT_NE(Qel::Engine::GetInstance(), nullptr) << "the half-built engine stays until shutdown";
    EXPECT_EQ(Qel::Engine::GetInstance()->GetDX11(), nullptr) << "no later step ran";
}
} // namespace
