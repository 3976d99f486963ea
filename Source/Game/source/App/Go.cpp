#include "App/Go.h"

#include "Menu/StateStack.h"
#include "Platform/Window/MessagePump.h"
#include "Platform/Window/QuitSignals.h"
#include "Platform/Window/ScreenMetrics.h"
#include "Platform/Window/VideoSubsystem.h"
#include "Sound/SoundBank.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/Core/WindowHandler.h"
#include "vek/graphics/DX11.h"
#include "vek/settings/DebugFeatures.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/ResolutionChoice.h"
#include "vek/settings/Settings.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{
GameWorld* theWorld = nullptr;

void SetWindowIcon()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetHWND() == nullptr)
    {
        return;
    }
    if (Platform::Window* window = Qel::GetPlatformWindow(*engine->GetHWND()))
    {
        // A missing or unreadable icon leaves the default one.
        window->SetIconFromFile("Game_Icon.ico");
    }
}
} // namespace

void SetHookWorld(GameWorld* aWorld)
{
    theWorld = aWorld;
}

GameWorld* GetHookWorld()
{
    return theWorld;
}

Qel::LResult GameWindowHook(Qel::WindowHandle aWindow, std::uint32_t aMessage, Qel::WParam aWParam,
                            Qel::LParam aLParam)
{
    if (theWorld != nullptr)
    {
        Platform::SetCursorVisible(false);
        theWorld->GetInput().UpdateEvents(aMessage, aWParam, aLParam);
    }
    if (aMessage == WM_DESTROY)
    {
        Platform::PostQuitMessage(0);
        return 0;
    }
    if (aMessage == WM_PAINT)
    {
        // Every frame presents the whole window, so there is nothing to repaint in between.
        return 0;
    }
    return Qel::DefWindowProc(aWindow, aMessage, aWParam, aLParam);
}

void ApplyGameOverrides(int aScreenWidth, int aScreenHeight)
{
    Qel::EngineCreateParameters& parameters = Qel::GetEngineCreateParameters();
    const Qel::Vector2<std::uint32_t> size = Qel::ChooseResolution(aScreenWidth, aScreenHeight);
    parameters.windowSize = size;
    parameters.renderSize = size;
    parameters.startInFullscreen = true;
    parameters.startMaximized = false;
    parameters.borderless = true;
    parameters.windowProcedure = &GameWindowHook;
    parameters.debugFeatures = Qel::DEBUG_FEATURE_FILEWATCHER;
}

int Go()
{
    // From here on SIGINT and SIGTERM end the game through its quit path.
    Platform::InstallQuitSignalHandlers();
    Qel::LoadSettings("Game.json");
    // Held from the screen query until the window holds its own: SDL would otherwise close the display
    // connection after the query and open it again for the window.
    auto startVideo = std::make_unique<Platform::VideoSubsystem>();
    const Platform::ScreenSize screen = Platform::GetPrimaryScreenSize();
    ApplyGameOverrides(screen.width, screen.height);
    // The sounds decode while the engine and the menus start; the bank takes them when it starts.
    SoundBank::PrefetchSounds();

    if (!Qel::Engine::Start())
    {
        std::fprintf(stderr, "[Game] the engine did not start, so the game cannot run\n");
        Qel::Engine::Shutdown();
        return 1;
    }
    startVideo.reset();
    SetWindowIcon();

    auto world = std::make_unique<GameWorld>();
    auto stack = std::make_unique<StateStack>();
    try
    {
        stack->Init();
    }
    catch (const SettingsDocumentError& anError)
    {
        std::fprintf(stderr, "[StateStack] %s\n", anError.what());
        stack.reset();
        world.reset();
        Qel::Engine::Shutdown();
        return 1;
    }
    SetHookWorld(world.get());
    world->Init();
    GameWorld* worldAddress = world.get();
    stack->SetOnUnloadScene([worldAddress] { worldAddress->UnloadScene(); });
    stack->SetOnReloadScene([worldAddress] { worldAddress->ReloadScene(); });

    const Qel::Vector2<std::uint32_t> renderSize = Qel::Engine::GetInstance()->GetRenderSize();
    std::printf("[Game] running at %ux%u\n", renderSize.x, renderSize.y);
    std::fflush(stdout);
    RunFrameLoop(*Qel::Engine::GetInstance(), *world, *stack);
    if (const Platform::Gfx::SwapChain* swapChain = Qel::DX11::GetSwapChain())
    {
        std::printf("[Game] %u frames presented\n", swapChain->GetPresentCount());
    }

    stack.reset();
    // Messages sent while the world is torn down must not reach its input handler.
    SetHookWorld(nullptr);
    world.reset();
    Qel::Engine::Shutdown();
    std::printf("[Game] shut down\n");
    return 0;
}
