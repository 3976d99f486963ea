#include "vek/graphics/GraphicsEngine.h"

#include "vek/graphics/DX11.h"

namespace Qel
{
bool GraphicsEngine::Init()
{
    RenderTarget* backBuffer = DX11::GetBackBuffer();
    if (backBuffer == nullptr)
    {
        return false;
    }
    backBuffer->SetAsActiveTarget(nullptr);
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
