// The one engine object of the process. Start builds, in a fixed order, the file watcher, the window,
// the graphics device, the texture manager, the graphics engine and the text service; Shutdown deletes
// them in its own order. Each frame is bracketed by BeginFrame (messages, file changes, clears) and
// EndFrame (clock, present, pending resize). Game code reads the frame's times, the render size and the
// subsystems through the static accessor. Main thread only.
#pragma once

#include "vek/Core/FrameTimer.h"
#include "vek/Math/Vector2.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/ResolutionChoice.h"

#include <cstdint>
#include <memory>

namespace Qel
{
class WindowHandler;
class DX11;
class GraphicsEngine;
class TextureManager;
class TextService;
class FileWatcher;

class Engine
{
public:
    // Creates and starts the engine from the static create parameters. False when an engine exists or
    // a start step failed; a failure says why on standard error, and the half-built engine stays the
    // instance until Shutdown.
    static bool Start();
    // Deletes the engine; safe without one.
    static void Shutdown();
    static Engine* GetInstance() { return ourInstance; }

    // False once a quit message has been taken, then on every later call without pumping.
    bool BeginFrame();
    void EndFrame();

    static bool IsDebugFeatureOn(std::uint32_t aMask);

    // The window's size, then the targets rebuilt to it.
    void SetResolution(std::uint32_t aWidth, std::uint32_t aHeight);
    void SetFullscreen(bool aIsFullscreen);
    // Rebuilds the targets at the window's size and takes the new render and window sizes. False, with
    // the sizes unchanged, while the window has no area or the rebuild fails.
    bool UpdateWindowSizeChanges();
    void SetResizePending() { myIsResizePending = true; }
    bool IsResizePending() const { return myIsResizePending; }

    float GetDeltaTime() const { return myDeltaTime; }
    float GetTotalTime() const { return myTotalTime; }
    Vector2<std::uint32_t> GetRenderSize() const { return myCreateParameters.renderSize; }
    Vector2<std::uint32_t> GetWindowSize() const { return myCreateParameters.windowSize; }
    float GetSizeRatio() const { return myRatios.largerBySmaller; }
    float GetInverseSizeRatio() const { return myRatios.smallerByLarger; }
    Vector2<float> GetSizeRatioVector() const { return myRatios.largerBySmallerVector; }
    Vector2<float> GetInverseSizeRatioVector() const { return myRatios.smallerByLargerVector; }
    std::int64_t GetStartTime() const { return myStartTime; }

    // The pointer through which the window handle is read.
    WindowHandle* GetHWND() const { return myCreateParameters.windowHandle; }
    WindowHandler* GetWindowHandler() const { return myWindowHandler.get(); }
    DX11* GetDX11() const { return myDX11.get(); }
    GraphicsEngine* GetGraphicsEngine() const { return myGraphicsEngine.get(); }
    TextureManager* GetTextureManager() const { return myTextureManager.get(); }
    TextService* GetTextService() const { return myTextService.get(); }
    FileWatcher* GetFileWatcher() const { return myFileWatcher.get(); }
    const EngineCreateParameters& GetCreateParameters() const { return myCreateParameters; }

    // Every draw call adds one; BeginFrame moves the count to the last frame's.
    static void CountDrawCall() { ++ourDrawCallsThisFrame; }
    static std::uint32_t GetDrawCallsLastFrame() { return ourDrawCallsLastFrame; }
    static std::uint32_t GetDrawCallsThisFrame() { return ourDrawCallsThisFrame; }

private:
    explicit Engine(const EngineCreateParameters& aParameters);
    ~Engine();
    bool InternalStart();
    bool FailStart(const char* aStep, bool aDestroyWindow);

    std::unique_ptr<WindowHandler> myWindowHandler;
    std::unique_ptr<DX11> myDX11;
    std::unique_ptr<GraphicsEngine> myGraphicsEngine;
    std::unique_ptr<TextureManager> myTextureManager;
    std::unique_ptr<TextService> myTextService;
    EngineCreateParameters myCreateParameters;
    std::unique_ptr<FileWatcher> myFileWatcher;
    bool myIsResizePending = false;
    SizeRatios myRatios;
    std::int64_t myStartTime = 0;
    float myTotalTime = 0.0f;
    float myDeltaTime = 0.0f;
    FrameTimer myFrameTimer;
    bool myShouldQuit = false;
    std::uint32_t myFramesSinceMissingRetry = 0;

    static Engine* ourInstance;
    static std::uint32_t ourDrawCallsThisFrame;
    static std::uint32_t ourDrawCallsLastFrame;
};
} // namespace Qel
