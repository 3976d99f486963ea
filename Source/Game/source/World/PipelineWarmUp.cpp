#include "World/PipelineWarmUp.h"

#include "Components/AnimatedMeshComponent.h"
#include "Components/MeshComponent.h"
#include "Components/SceneGraphics.h"
#include "Platform/Gfx/Context.h"
#include "Platform/Gfx/Device.h"
#include "World/WorldRenderPass.h"
#include "vek/Core/Engine.h"
#include "vek/Core/Profiler.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/DepthBuffer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/RenderTarget.h"

namespace
{
// Only the formats matter to the driver's variants; the pixels are never looked at.
constexpr unsigned int WARM_UP_SIZE = 8;

// A loaded object is not started yet, so its meshes take their models here. Init only looks up what
// the load task put in the caches, and the start's own Init comes to the same result.
template <typename MeshKind>
void RenderMesh(GameObject& anObject)
{
    if (MeshKind* mesh = anObject.GetComponent<MeshKind>())
    {
        if (!mesh->HasModel())
        {
            mesh->Init(Qel::Engine::GetInstance());
        }
        mesh->Render();
    }
}
} // namespace

void WarmUpMeshPipelines(const std::vector<std::unique_ptr<GameObject>>& someObjects)
{
    const Qel::ProfilerScope scope("WarmUpMeshPipelines");
    Qel::GraphicsEngine* graphics = GetSceneGraphics();
    Platform::Gfx::Device* device = Qel::DX11::GetDevice();
    Platform::Gfx::Context* context = Qel::DX11::GetContext();
    const Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer();
    if (graphics == nullptr || !graphics->HasGraphicsStateStack() || device == nullptr ||
        context == nullptr || !device->IsMainThread() || backBuffer == nullptr || backBuffer->IsEmpty())
    {
        return;
    }
    Platform::Gfx::Texture2DDesc desc = backBuffer->GetView()->GetTexture()->GetDesc();
    desc.width = WARM_UP_SIZE;
    desc.height = WARM_UP_SIZE;
    const Platform::Gfx::Texture2DPtr colour = device->CreateTexture2D(desc);
    const Qel::DepthBuffer depth = Qel::DepthBuffer::Create({WARM_UP_SIZE, WARM_UP_SIZE});
    if (colour == nullptr || depth.GetDepthView() == nullptr)
    {
        return;
    }
    const Qel::RenderTarget target = Qel::RenderTarget::Create(colour, backBuffer->GetView()->GetFormat());

    const Platform::Gfx::RenderTargetViewPtr boundTarget = context->GetBoundTarget();
    const Platform::Gfx::DepthStencilViewPtr boundDepth = context->GetBoundDepth();
    const Platform::Gfx::Viewport boundViewport = context->GetViewport();
    target.SetAsActiveTarget(&depth);
    Qel::GraphicsStateStack& states = graphics->GetGraphicsStateStack();
    states.Push();
    context->BeginPipelineWarmUp();
    // Hidden and switched-off meshes too: they may be shown during play.
    for (const std::unique_ptr<GameObject>& object : someObjects)
    {
        if (object == nullptr)
        {
            continue;
        }
        // As the world's pass draws them: the layers blended over the opaque objects.
        const bool isLayer = IsParallaxLayer(*object);
        states.SetBlendState(isLayer ? 1 : 0);
        states.SetDepthStencilState(isLayer ? 1 : 0);
        RenderMesh<MeshComponent>(*object);
        RenderMesh<AnimatedMeshComponent>(*object);
    }
    context->EndPipelineWarmUp();
    states.Pop();
    context->SetRenderTargets(boundTarget, boundDepth);
    context->SetViewport(boundViewport);
}
