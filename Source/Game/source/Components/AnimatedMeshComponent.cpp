#include "Components/AnimatedMeshComponent.h"

#include "Objects/GameObject.h"
#include "vek/Core/Engine.h"
#include "vek/Core/Profiler.h"
#include "vek/drawers/ModelDrawer.h"
#include "vek/drawers/ModelShader.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/TextureManager.h"
#include "vek/model/AnimationPlayer.h"
#include "vek/model/ModelFactory.h"

#include <cmath>
#include <iostream>
#include <mutex>
#include <unordered_map>

namespace
{
// The turn of a model that faces left: 2.0 radians, not a half turn, so the character still shows a
// little of its front to the camera.
constexpr float FACING_LEFT_TURN = 2.0f;

struct SharedShaderCache
{
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<Qel::ModelShader>> shaders;
};

SharedShaderCache& GetShaderCache()
{
    // Never destroyed: the shaders' GPU objects must not be freed after the device at exit.
    static auto* cache = new SharedShaderCache();
    return *cache;
}

Qel::ModelDrawer* GetModelDrawer()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    Qel::GraphicsEngine* graphics = engine != nullptr ? engine->GetGraphicsEngine() : nullptr;
    return graphics != nullptr ? graphics->GetModelDrawer() : nullptr;
}
} // namespace

void AnimatedMeshComponent::Init(Qel::Engine* aEngine)
{
    const Qel::ProfilerScope scope("AnimatedMeshComponent::Init");
    if (myModelPath.empty() && !HasModel())
    {
        return;
    }
    if (!myModelPath.empty() && !HasModel())
    {
        myModelInstance = Qel::ModelFactory::GetInstance()->GetAnimatedModelInstance(myModelPath);
        if (!HasModel())
        {
            return;
        }
    }
    Qel::TextureManager* textures = aEngine != nullptr && aEngine->GetTextureManager() != nullptr
                                        ? aEngine->GetTextureManager()
                                        : Qel::TextureManager::GetActive();
    if (textures == nullptr)
    {
        return;
    }
    if (Qel::Texture* texture = textures->TryGetTexture(GetColourTexturePath().c_str(), 1, false))
    {
        const std::size_t meshCount = myModelInstance.GetModel()->myMeshes.size();
        for (std::size_t mesh = 0; mesh < meshCount && mesh < myModelInstance.myTextures.size(); ++mesh)
        {
            myModelInstance.myTextures[mesh].myAlbedo = texture;
        }
    }
}

void AnimatedMeshComponent::WarmCaches()
{
    if (myModelPath.empty() || Qel::ModelFactory::GetInstance()->GetModel(myModelPath) == nullptr)
    {
        return;
    }
    Qel::TextureManager::WarmActive(GetColourTexturePath(), 1);
}

std::string AnimatedMeshComponent::GetColourTexturePath() const
{
    return "textures/Common/" + GetModelStem(myModelPath) + "_T.dds";
}

void AnimatedMeshComponent::BuildCustomShader()
{
    if (myRenderMode == 3)
    {
        GetDrawableCustomShader();
    }
}

void AnimatedMeshComponent::Render()
{
    Qel::ModelDrawer* drawer = GetModelDrawer();
    if (!HasModel() || myOwner == nullptr || drawer == nullptr)
    {
        return;
    }
    const Qel::Matrix4x4 world = myOwner->GetTransform().GetWorldMatrix();
    myModelInstance.myTransform = myIsFacingRight ? world : TurnToFaceLeft(world);
    switch (myRenderMode)
    {
    case 1:
        drawer->DrawAnimatedModelLambert(myModelInstance);
        return;
    case 2:
        drawer->DrawAnimatedModelPbr(myModelInstance);
        return;
    case 3:
        if (Qel::ModelShader* shader = GetDrawableCustomShader())
        {
            drawer->DrawAnimatedModelWithShader(myModelInstance, *shader);
            return;
        }
        break;
    default:
        break;
    }
    drawer->DrawAnimatedModel(myModelInstance);
}

void AnimatedMeshComponent::SetPose(const Qel::AnimationPlayer& aPlayer)
{
    myModelInstance.SetPose(aPlayer);
}

void AnimatedMeshComponent::SetCustomShader(const std::string& aVertexShader, const std::string& aPixelShader)
{
    if (aVertexShader == myCustomVertexShader && aPixelShader == myCustomPixelShader)
    {
        return;
    }
    myCustomVertexShader = aVertexShader;
    myCustomPixelShader = aPixelShader;
    myCustomShader.reset();
    myIsCustomShaderTaken = false;
}

Qel::ModelShader* AnimatedMeshComponent::GetDrawableCustomShader()
{
    if (!myIsCustomShaderTaken && !myCustomVertexShader.empty() && !myCustomPixelShader.empty())
    {
        myIsCustomShaderTaken = true;
        myCustomShader = GetSharedShader(myCustomVertexShader, myCustomPixelShader);
    }
    return myCustomShader != nullptr && myCustomShader->IsInitialized() ? myCustomShader.get() : nullptr;
}

std::string AnimatedMeshComponent::GetModelStem(const std::string& aModelPath)
{
    const std::size_t separator = aModelPath.find_last_of("/\\");
    const std::string name = separator == std::string::npos ? aModelPath : aModelPath.substr(separator + 1);
    return name.substr(0, name.find('.'));
}

Qel::Matrix4x4 AnimatedMeshComponent::TurnToFaceLeft(const Qel::Matrix4x4& aWorldMatrix)
{
    const float cosine = std::cos(FACING_LEFT_TURN);
    const float sine = std::sin(FACING_LEFT_TURN);
    Qel::Matrix4x4 turn;
    turn.SetRow(1, {cosine, 0.0f, -sine, 0.0f});
    turn.SetRow(3, {sine, 0.0f, cosine, 0.0f});
    return turn * aWorldMatrix;
}

std::shared_ptr<Qel::ModelShader> AnimatedMeshComponent::GetSharedShader(const std::string& aVertexShader,
                                                                         const std::string& aPixelShader)
{
    SharedShaderCache& cache = GetShaderCache();
    const std::string key = aVertexShader + "|" + aPixelShader;
    const std::lock_guard lock(cache.mutex);
    std::shared_ptr<Qel::ModelShader>& shader = cache.shaders[key];
    if (shader == nullptr)
    {
        shader = std::make_shared<Qel::ModelShader>();
        // A pair that cannot be built stays cached, so it is reported and tried once only.
        if (!shader->InitWithPaths(aVertexShader.c_str(), aPixelShader.c_str()))
        {
            std::cout << "[AnimatedMeshComponent] Shader " << key
                      << " could not be built; its meshes draw with the default shader\n";
        }
    }
    return shader;
}

void AnimatedMeshComponent::ClearSharedShaders()
{
    SharedShaderCache& cache = GetShaderCache();
    const std::lock_guard lock(cache.mutex);
    cache.shaders.clear();
}
