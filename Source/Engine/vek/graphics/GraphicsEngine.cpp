#include "vek/graphics/GraphicsEngine.h"

#include "vek/drawers/CustomShapeDrawer.h"
#include "vek/drawers/FullscreenEffect.h"
#include "vek/drawers/LineDrawer.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/drawers/SpriteDrawer.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsStateStack.h"

namespace Qel
{
namespace
{
bool InitEffect(std::unique_ptr<FullscreenEffect>& anEffect, const char* aPixelShader)
{
    anEffect = std::make_unique<FullscreenEffect>();
    return anEffect->Init(aPixelShader);
}
} // namespace

GraphicsEngine::GraphicsEngine() = default;

GraphicsEngine::~GraphicsEngine() = default;

bool GraphicsEngine::Init(TextureManager& aTextures)
{
    RenderTarget* backBuffer = DX11::GetBackBuffer();
    if (backBuffer == nullptr)
    {
        return false;
    }
    backBuffer->SetAsActiveTarget(nullptr);

    mySpriteDrawer = std::make_unique<SpriteDrawer>();
    mySpriteDrawer->Init();
    // A model shader that cannot load draws nothing; the start goes on without it.
    myModelDrawer = std::make_unique<ModelDrawer>();
    myModelDrawer->Init();
    myCustomShapeDrawer = std::make_unique<CustomShapeDrawer>();
    myCustomShapeDrawer->Init();
    myLineDrawer = std::make_unique<LineDrawer>();
    myLineDrawer->Init();

    if (!InitEffect(myCopyEffect, "Shaders/PostprocessCopyPS") ||
        !InitEffect(myTonemapEffect, "Shaders/PostprocessTonemapPS") ||
        !InitEffect(myGaussianVerticalEffect, "Shaders/PostprocessGaussianV_PS") ||
        !InitEffect(myGaussianHorizontalEffect, "Shaders/PostprocessGaussianH_PS"))
    {
        return false;
    }
    myPixelateEffect = std::make_unique<FullscreenPixelateEffect>();
    myPixelateEffect->myPixelSize = 16.0f;
    if (!myPixelateEffect->Init("Shaders/PostprocessPixelate_PS"))
    {
        return false;
    }

    myGraphicsStateStack = std::make_unique<GraphicsStateStack>();
    if (!myGraphicsStateStack->Init(aTextures))
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
