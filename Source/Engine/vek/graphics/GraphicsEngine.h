// The graphics engine: the owner of the drawers, the full-screen effects and the render-state stack.
// It binds the back buffer at start, sets up the sprite drawer and the state stack (whose cube maps
// come from the texture manager), and switches the swap chain's full-screen state. Main thread.
#pragma once

#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/GraphicsStateStack.h"

namespace Qel
{
class TextureManager;

class GraphicsEngine
{
public:
    GraphicsEngine() = default;
    GraphicsEngine(const GraphicsEngine&) = delete;
    GraphicsEngine& operator=(const GraphicsEngine&) = delete;

    // Binds the back buffer as the active target, initialises the sprite drawer (a drawer that fails
    // refuses its batches) and the state stack. False when the device has no back buffer or the state
    // stack cannot be made.
    bool Init(TextureManager& aTextures);
    bool IsInitialized() const { return myIsInitialized; }
    void SetFullscreenState(bool aIsFullscreen);

    GraphicsStateStack& GetGraphicsStateStack() { return myGraphicsStateStack; }
    SpriteDrawer& GetSpriteDrawer() { return mySpriteDrawer; }

private:
    SpriteDrawer mySpriteDrawer;
    GraphicsStateStack myGraphicsStateStack;
    bool myIsInitialized = false;
};
} // namespace Qel
