#include "Components/MeshComponent.h"

#include "Components/MeshTextureSelection.h"
#include "Components/SceneGraphics.h"
#include "Objects/GameObject.h"
#include "vek/Core/Profiler.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/model/ModelFactory.h"

namespace
{
const std::string NO_SHADER_NAME;

Qel::ModelDrawer* GetModelDrawer()
{
    Qel::GraphicsEngine* graphics = GetSceneGraphics();
    return graphics != nullptr ? graphics->GetModelDrawer() : nullptr;
}
} // namespace

MeshDrawKind GetMeshDrawKind(int aRenderMode, bool aHasUsableCustomShader)
{
    switch (aRenderMode)
    {
    case 1:
        return MeshDrawKind::LAMBERT;
    case 2:
        return MeshDrawKind::PBR;
    case 3:
        return aHasUsableCustomShader ? MeshDrawKind::CUSTOM_SHADER : MeshDrawKind::DEFAULT;
    default:
        return MeshDrawKind::DEFAULT;
    }
}

void MeshComponent::Init(Qel::Engine* aEngine)
{
    static_cast<void>(aEngine);
    const Qel::ProfilerScope scope("MeshComponent::Init");
    if (!myModelPath.empty() && !HasModel())
    {
        ReloadModel();
    }
    ResolveTextures();
}

void MeshComponent::WarmCaches()
{
    WarmCachesFor(myModelPath);
}

void MeshComponent::WarmCachesFor(const std::string& aModelPath) const
{
    if (aModelPath.empty())
    {
        return;
    }
    const std::shared_ptr<Qel::Model> model = Qel::ModelFactory::GetInstance()->GetModel(aModelPath);
    if (model == nullptr)
    {
        return;
    }
    // Only the lookups matter: Init chooses the textures again into the instance.
    std::array<Qel::MeshTextures, Qel::MAX_MESHES_PER_MODEL> chosen = model->myTextures;
    const std::string tag = myOwner != nullptr ? myOwner->GetTag() : std::string();
    SelectMeshTextures(*model, aModelPath, tag, myAtlasTexture, GetMeshTextureLookup(), chosen);
}

void MeshComponent::BuildCustomShader()
{
    if (myRenderMode == 3 && myCustomShader != nullptr)
    {
        myCustomShader->EnsureBuilt();
    }
}

bool MeshComponent::ReloadModel()
{
    const Qel::ProfilerScope scope("MeshComponent::ReloadModel");
    if (myModelPath.empty())
    {
        return false;
    }
    Qel::ModelFactory* factory = Qel::ModelFactory::GetInstance();
    if (factory->GetModel(myModelPath) == nullptr)
    {
        return false;
    }
    myModelInstance = factory->GetModelInstance(myModelPath);
    ResolveTextures();
    return true;
}

void MeshComponent::SetCustomShader(const std::string& aVertexShader, const std::string& aPixelShader)
{
    myCustomShader = GetSharedModelShader(aVertexShader, aPixelShader);
}

const std::string& MeshComponent::GetCustomVertexShader() const
{
    return myCustomShader != nullptr ? myCustomShader->GetVertexShaderName() : NO_SHADER_NAME;
}

const std::string& MeshComponent::GetCustomPixelShader() const
{
    return myCustomShader != nullptr ? myCustomShader->GetPixelShaderName() : NO_SHADER_NAME;
}

void MeshComponent::Render()
{
    Qel::ModelDrawer* drawer = GetModelDrawer();
    if (!HasModel() || myOwner == nullptr || drawer == nullptr)
    {
        return;
    }
    myModelInstance.SetTransform(myOwner->GetTransform().GetWorldMatrix());

    Qel::GraphicsEngine* graphics = GetSceneGraphics();
    Qel::GraphicsStateStack* states =
        myIsSharedAtlas && graphics->HasGraphicsStateStack() ? &graphics->GetGraphicsStateStack() : nullptr;
    if (states != nullptr)
    {
        states->Push();
        states->SetSamplerState(0, 0);
    }
    // Only a mode-3 mesh builds its shader, so a shader that is never used is never built.
    const bool customShaderUsable =
        myRenderMode == 3 && myCustomShader != nullptr && myCustomShader->EnsureBuilt();
    switch (GetMeshDrawKind(myRenderMode, customShaderUsable))
    {
    case MeshDrawKind::LAMBERT:
        drawer->DrawModelLambert(myModelInstance);
        break;
    case MeshDrawKind::PBR:
        drawer->DrawModelPbr(myModelInstance);
        break;
    case MeshDrawKind::CUSTOM_SHADER:
        drawer->DrawModelWithShader(myModelInstance, *myCustomShader);
        break;
    case MeshDrawKind::DEFAULT:
        drawer->DrawModel(myModelInstance);
        break;
    }
    if (states != nullptr)
    {
        states->Pop();
    }
}
