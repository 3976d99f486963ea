// The graphics engine: owns every drawer, the full-screen effects and the render-state stack, which it
// builds in a fixed order at start-up: drawers first (a drawer that fails refuses to draw), then the
// five effects (a missing effect shader fails the start), then the state stack, whose cube maps come
// from the texture manager. Everything that draws reaches the drawers through the engine's graphics
// engine. Main thread.
#pragma once

#include "vek/Core/Assert.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <memory>

namespace Qel
{
class TextureManager;
class ModelDrawer;
class CustomShapeDrawer;
class LineDrawer;
class FullscreenEffect;
class FullscreenPixelateEffect;

class GraphicsEngine
{
public:
    GraphicsEngine();
    // Deletes the members in the reverse of their declaration order; members never made are skipped.
    ~GraphicsEngine();
    GraphicsEngine(const GraphicsEngine&) = delete;
    GraphicsEngine& operator=(const GraphicsEngine&) = delete;

    // Builds everything in order. False when the device has no back buffer, or at the first effect or
    // at the state stack that cannot be made, keeping what was made before.
    bool Init(TextureManager& aTextures);
    bool IsInitialized() const { return myIsInitialized; }
    void SetFullscreenState(bool aIsFullscreen);

    // Both exist once Init has got past them (the stack only after a full Init).
    SpriteDrawer& GetSpriteDrawer() const
    {
        QEL_ASSERT(mySpriteDrawer != nullptr);
        return *mySpriteDrawer;
    }
    GraphicsStateStack& GetGraphicsStateStack() const
    {
        QEL_ASSERT(myGraphicsStateStack != nullptr);
        return *myGraphicsStateStack;
    }
    bool HasGraphicsStateStack() const { return myGraphicsStateStack != nullptr; }
    bool HasSpriteDrawer() const { return mySpriteDrawer != nullptr; }

    // Null until made.
    ModelDrawer* GetModelDrawer() const { return myModelDrawer.get(); }
    CustomShapeDrawer* GetCustomShapeDrawer() const { return myCustomShapeDrawer.get(); }
    LineDrawer* GetLineDrawer() const { return myLineDrawer.get(); }
    FullscreenEffect* GetCopyEffect() const { return myCopyEffect.get(); }
    FullscreenEffect* GetTonemapEffect() const { return myTonemapEffect.get(); }
    FullscreenEffect* GetGaussianVerticalEffect() const { return myGaussianVerticalEffect.get(); }
    FullscreenEffect* GetGaussianHorizontalEffect() const { return myGaussianHorizontalEffect.get(); }
    FullscreenPixelateEffect* GetPixelateEffect() const { return myPixelateEffect.get(); }

private:
    // Destroyed in the reverse of this order: effects, state stack, then the drawers.
    std::unique_ptr<SpriteDrawer> mySpriteDrawer;
    std::unique_ptr<ModelDrawer> myModelDrawer;
    std::unique_ptr<CustomShapeDrawer> myCustomShapeDrawer;
    std::unique_ptr<LineDrawer> myLineDrawer;
    std::unique_ptr<GraphicsStateStack> myGraphicsStateStack;
    std::unique_ptr<FullscreenEffect> myCopyEffect;
    std::unique_ptr<FullscreenEffect> myTonemapEffect;
    std::unique_ptr<FullscreenEffect> myGaussianVerticalEffect;
    std::unique_ptr<FullscreenEffect> myGaussianHorizontalEffect;
    std::unique_ptr<FullscreenPixelateEffect> myPixelateEffect;
    bool myIsInitialized = false;
};
} // namespace Qel
