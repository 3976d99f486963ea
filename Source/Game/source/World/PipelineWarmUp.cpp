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
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/RenderTarget.h"

namespace
{
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
    const Platform::Gfx::RenderTargetViewPtr boundTarget = context->GetBoundTarget();
    const Platform::Gfx::DepthStencilViewPtr boundDepth = context->GetBoundDepth();
    const Platform::Gfx::Viewport boundViewport = context->GetViewport();
    // On the targets the world is drawn to, since the driver builds for their formats (the window's own
    // when the frame goes straight there); an empty viewport leaves every pixel as it was. The depth is
    // asked cleared first, as the frame's start asks before the world's pass binds it (nothing has drawn
    // depth since), so that the binding finds the targets where the pass will and copies nothing.
    const Qel::DepthBuffer* depth = Qel::DX11::GetDepthBuffer();
    if (depth != nullptr)
    {
        depth->Clear();
    }
    backBuffer->SetAsActiveTarget(depth);
    context->SetViewport({});
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
