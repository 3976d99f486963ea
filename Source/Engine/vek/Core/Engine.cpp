#include "vek/Core/Engine.h"

#include "Platform/Window/MessagePump.h"
#include "Platform/Window/ScreenMetrics.h"
#include "vek/Core/WindowHandler.h"
#include "vek/filewatcher/FileWatcher.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/TextureManager.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/DebugFeatures.h"
#include "vek/text/TextService.h"
#include "vek/video/FfmpegLoad.h"

#include <chrono>
#include <cstdio>

namespace Qel
{
namespace
{
// The video libraries are only needed by the credits film, so their load waits until pictures are on
// screen. It holds the dynamic loader's lock for tens of milliseconds, and the frame after the first
// still resolves GL entry points (which takes that lock), so the load starts after the second present.
void StartVideoLibraryLoad()
{
    constexpr int PRESENTS_BEFORE_LOAD = 2;
    static int thePresents = 0;
    if (thePresents < PRESENTS_BEFORE_LOAD && ++thePresents == PRESENTS_BEFORE_LOAD)
    {
        impl::StartFfmpegLoad();
    }
}

const CounterSource& ChooseFrameClock(const EngineCreateParameters& aParameters)
{
    return aParameters.frameClock != nullptr ? *aParameters.frameClock : GetSteadyClockCounter();
}
} // namespace

Engine* Engine::ourInstance = nullptr;
std::uint32_t Engine::ourDrawCallsThisFrame = 0;
std::uint32_t Engine::ourDrawCallsLastFrame = 0;

bool Engine::Start()
{
    if (ourInstance != nullptr)
    {
        return false;
    }
    const EngineCreateParameters parameters = GetEngineCreateParameters();
    ourInstance = new Engine(parameters);
    return ourInstance->InternalStart();
}

Engine::Engine(const EngineCreateParameters& aParameters)
    : myCreateParameters(aParameters), myFrameTimer(ChooseFrameClock(aParameters))
{
    // A step longer than a tenth of a second (a stall, the start itself) counts as a tenth.
    myFrameTimer.SetMaximumDelta(
        static_cast<std::uint64_t>(ChooseFrameClock(aParameters).GetFrequency() / 10));
    myFrameTimer.SetFixedTimeStep(false);
    myFrameTimer.SetTargetElapsedTicks(FrameTimer::DEFAULT_TARGET_ELAPSED_TICKS);
    if (myCreateParameters.startMaximized ||
        (myCreateParameters.startInFullscreen && !myCreateParameters.borderless))
    {
        const Platform::ScreenSize screen = Platform::GetPrimaryScreenSize();
        if (screen.width > 0 && screen.height > 0)
        {
            const Vector2<std::uint32_t> size{static_cast<std::uint32_t>(screen.width),
                                              static_cast<std::uint32_t>(screen.height)};
            myCreateParameters.windowSize = size;
            myCreateParameters.renderSize = size;
        }
    }
}

Engine::~Engine() = default;

bool Engine::FailStart(const char* aStep, bool aDestroyWindow)
{
    std::fprintf(stderr, "[Engine] start failed: %s\n", aStep);
    if (aDestroyWindow && myWindowHandler != nullptr)
    {
        myWindowHandler->DestroyWindow();
    }
    return false;
}

bool Engine::InternalStart()
{
    myFileWatcher = std::make_unique<FileWatcher>([] { return IsDebugFeatureOn(DEBUG_FEATURE_FILEWATCHER); });

    myWindowHandler = std::make_unique<WindowHandler>();
    if (!myWindowHandler->Create(myCreateParameters, myCreateParameters.instanceHandle,
                                 myCreateParameters.windowHandle))
    {
        std::fprintf(stderr, "[Engine] %s\n", myWindowHandler->GetLastError().c_str());
        return FailStart("the window could not be created", false);
    }

    myDX11 = std::make_unique<DX11>();
    if (!myDX11->Init(*myWindowHandler))
    {
        return FailStart("the graphics device could not be created", true);
    }

    myTextureManager = std::make_unique<TextureManager>(myFileWatcher.get());

    myGraphicsEngine = std::make_unique<GraphicsEngine>();
    if (!myGraphicsEngine->Init(*myTextureManager))
    {
        // The window and its context stay until Shutdown: the half-built graphics engine still holds
        // device objects that must be released while the context is current.
        return FailStart("the graphics engine could not be initialised", false);
    }

    myTextureManager->Init();

    myTextService = std::make_unique<TextService>();
    myTextService->Init();

    myRatios = ComputeSizeRatios(myCreateParameters.renderSize.x, myCreateParameters.renderSize.y);
    myStartTime = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
    return true;
}

void Engine::Shutdown()
{
    // The model factory goes first, before any engine member, even when no engine was started.
    ModelFactory::DestroyInstance();
    if (ourInstance == nullptr)
    {
        return;
    }
    Engine* engine = ourInstance;
    engine->myFileWatcher.reset();
    engine->myCreateParameters.windowProcedure = nullptr;
    engine->myCreateParameters.title.clear();
    engine->myTextService.reset();
    engine->myTextureManager.reset();
    engine->myGraphicsEngine.reset();
    engine->myDX11.reset();
    engine->myWindowHandler.reset();
    engine->myCreateParameters.windowHandle = nullptr;
    delete engine;
    ourInstance = nullptr;
}

bool Engine::BeginFrame()
{
    if (myShouldQuit)
    {
        return false;
    }
    Platform::QueuedMessage message;
    while (Platform::PeekMessage(message))
    {
        if (message.message.message == WM_QUIT)
        {
            myShouldQuit = true;
            return false;
        }
        Platform::DispatchMessage(message);
    }
    if (myFileWatcher != nullptr)
    {
        myFileWatcher->FlushChanges();
    }
    if (myDX11 != nullptr)
    {
        myDX11->BeginFrame(myCreateParameters.clearColor);
    }
    if (myGraphicsEngine != nullptr && myGraphicsEngine->IsInitialized())
    {
        myGraphicsEngine->GetGraphicsStateStack().ResetForFrame();
    }
    // Textures whose files were missing are looked for about twice a second while files are watched.
    constexpr std::uint32_t MISSING_FILE_RETRY_FRAMES = 30;
    if (myTextureManager != nullptr && IsDebugFeatureOn(DEBUG_FEATURE_FILEWATCHER) &&
        ++myFramesSinceMissingRetry >= MISSING_FILE_RETRY_FRAMES)
    {
        myFramesSinceMissingRetry = 0;
        myTextureManager->RetryMissingFiles();
    }
    ourDrawCallsLastFrame = ourDrawCallsThisFrame;
    ourDrawCallsThisFrame = 0;
    return true;
}

void Engine::EndFrame()
{
    myFrameTimer.Tick(
        [this]
        {
            myDeltaTime = static_cast<float>(FrameTimer::TicksToSeconds(myFrameTimer.GetElapsedTicks()));
            myTotalTime += myDeltaTime;
        });
    if (myDX11 != nullptr)
    {
        myDX11->EndFrame(myCreateParameters.vsync);
    }
    StartVideoLibraryLoad();
    if (myIsResizePending && UpdateWindowSizeChanges())
    {
        myIsResizePending = false;
    }
}

bool Engine::UpdateWindowSizeChanges()
{
    if (myDX11 == nullptr || !myDX11->Resize())
    {
        return false;
    }
    if (RenderTarget* backBuffer = DX11::GetBackBuffer())
    {
        backBuffer->SetAsActiveTarget(nullptr);
    }
    const Vector2<int> resolution = DX11::GetResolution();
    myCreateParameters.renderSize = {static_cast<std::uint32_t>(resolution.x),
                                     static_cast<std::uint32_t>(resolution.y)};
    if (myWindowHandler != nullptr)
    {
        myCreateParameters.windowSize = myWindowHandler->GetWindowSize();
    }
    myRatios = ComputeSizeRatios(myCreateParameters.renderSize.x, myCreateParameters.renderSize.y);
    return true;
}

bool Engine::IsDebugFeatureOn(std::uint32_t aMask)
{
    return ourInstance != nullptr &&
           ::Qel::IsDebugFeatureOn(ourInstance->myCreateParameters.debugFeatures, aMask);
}

void Engine::SetResolution(std::uint32_t aWidth, std::uint32_t aHeight)
{
    if (myWindowHandler != nullptr)
    {
        myWindowHandler->SetResolution(aWidth, aHeight);
    }
    UpdateWindowSizeChanges();
}

void Engine::SetFullscreen(bool aIsFullscreen)
{
    if (myGraphicsEngine != nullptr)
    {
        myGraphicsEngine->SetFullscreenState(aIsFullscreen);
    }
}
} // namespace Qel
