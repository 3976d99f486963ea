// The graphics engine: the owner of the drawers, the full-screen effects and the render-state stack.
// This first form holds what exists so far: it binds the back buffer at start and switches the swap
// chain's full-screen state; the drawers and the state stack join it as they are built. Main thread.
#pragma once

namespace Qel
{
class GraphicsEngine
{
public:
    GraphicsEngine() = default;
    GraphicsEngine(const GraphicsEngine&) = delete;
    GraphicsEngine& operator=(const GraphicsEngine&) = delete;

    // Binds the back buffer as the active target. False when the device has no back buffer.
    bool Init();
    bool IsInitialized() const { return myIsInitialized; }
    void SetFullscreenState(bool aIsFullscreen);

private:
    bool myIsInitialized = false;
};
} // namespace Qel
