#include "vek/graphics/GraphicsEngine.h"

#include "vek/graphics/DX11.h"

namespace Qel
{
bool GraphicsEngine::Init(TextureManager& aTextures)
{
    RenderTarget* backBuffer = DX11::GetBackBuffer();
    if (backBuffer == nullptr)
    {
        return false;
    }
    backBuffer->SetAsActiveTarget(nullptr);
    mySpriteDrawer.Init();
    if (!myGraphicsStateStack.Init(aTextures))
    {
        return false;
    }
    myIsInitialized = true;
    return true;
}

void GraphicsEngine::SetFullscreenState(bool aIsFullscreen)
{
    if (Platform::Gfx::SwapChain* swapChain = DX11::GetSwapChain())
    {
        swapChain->SetFullscreenState(aIsFullscreen);
    }
}
} // namespace Qel
