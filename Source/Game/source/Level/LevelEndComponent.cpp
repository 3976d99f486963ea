#include "Level/LevelEndComponent.h"

#include "Collision/BoxColliderComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/SceneGraphics.h"
#include "Level/EyeAnimator.h"
#include "Objects/GameObject.h"
#include "Session/GameFlow.h"
#include "Session/LevelCounters.h"
#include "Session/LevelRegistry.h"
#include "Session/RankSystem.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"
#include "vek/graphics/TextureManager.h"
#include "vek/text/Text.h"

#include <algorithm>

LevelEndComponent::LevelEndComponent() = default;

LevelEndComponent::~LevelEndComponent() = default;

void LevelEndComponent::SetExitSequenceDuration(float aSeconds)
{
    myExitDuration = aSeconds > 0.0f ? aSeconds : MIN_EXIT_DURATION;
}

void LevelEndComponent::SetPromptText(const std::string& aPrompt)
{
    myPrompt = aPrompt.empty() ? std::string(DEFAULT_PROMPT) : aPrompt;
}

void LevelEndComponent::SetWorldIndex(int anIndex)
{
    myWorldIndex = std::clamp(anIndex, 1, WORLD_COUNT);
}

void LevelEndComponent::SetWorldTexture(int anIndex, const std::string& aPath)
{
    if (anIndex >= 1 && anIndex <= WORLD_COUNT)
    {
        myWorldTextures[static_cast<std::size_t>(anIndex - 1)] = aPath;
    }
}

const std::string& LevelEndComponent::GetWorldTexture(int anIndex) const
{
    static const std::string theNone;
    return anIndex >= 1 && anIndex <= WORLD_COUNT ? myWorldTextures[static_cast<std::size_t>(anIndex - 1)]
                                                  : theNone;
}

void LevelEndComponent::OnStart()
{
    myTriggerBox = myOwner != nullptr ? myOwner->GetComponent<BoxColliderComponent>() : nullptr;
    if (Qel::Engine::GetInstance() != nullptr)
    {
        myPromptText = std::make_unique<Qel::Text>(PROMPT_FONT, PROMPT_FONT_SIZE, 0);
        myPromptText->SetText(myPrompt);
    }
    ApplyWorldTexture();
}

void LevelEndComponent::WarmCaches()
{
    Qel::TextureManager::WarmActive(GetWorldTexture(myWorldIndex), 1);
}

void LevelEndComponent::ApplyWorldTexture()
{
    const std::string& path = GetWorldTexture(myWorldIndex);
    AnimatedMeshComponent* mesh =
        myOwner != nullptr ? myOwner->GetComponent<AnimatedMeshComponent>() : nullptr;
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (path.empty() || mesh == nullptr || !mesh->HasModel() || engine == nullptr ||
        engine->GetTextureManager() == nullptr)
    {
        return;
    }
    // Only a texture that exists replaces the door's own.
    Qel::Texture* texture = engine->GetTextureManager()->TryGetTexture(path.c_str(), 1, false);
    if (texture == nullptr)
    {
        return;
    }
    for (auto& meshTextures : mesh->GetModelInstanceRef().myTextures)
    {
        meshTextures.myAlbedo = texture;
    }
}

bool LevelEndComponent::BeginExit()
{
    if (myIsExiting || myTriggerBox == nullptr || !myTriggerBox->IsPlayerInside())
    {
        return false;
    }
    myExitTimer = myExitDuration;
    myIsExiting = true;
    if (EyeAnimator* door = myOwner != nullptr ? myOwner->GetComponent<EyeAnimator>() : nullptr)
    {
        door->Activate();
    }
    return true;
}

void LevelEndComponent::OnUpdate(float aDeltaTime)
{
    if (!myIsExiting)
    {
        return;
    }
    myExitTimer -= aDeltaTime;
    if (myExitTimer <= 0.0f)
    {
        FinishExit();
    }
}

void LevelEndComponent::Render()
{
    Qel::GraphicsEngine* graphics = GetSceneGraphics();
    if (myIsExiting || myOwner == nullptr || myTriggerBox == nullptr || !myTriggerBox->IsPlayerInside() ||
        graphics == nullptr || !graphics->HasGraphicsStateStack())
    {
        return;
    }
    const Qel::Vector3<float> position = myOwner->GetTransform().GetPosition();
    Qel::GraphicsStateStack& states = graphics->GetGraphicsStateStack();
    states.Push();
    states.Translate({position.x, position.y + PROMPT_RISE, position.z - PROMPT_DEPTH});
    states.Scale(PROMPT_SCALE);
    states.Pop();
}

void LevelEndComponent::FinishExit()
{
    myIsExiting = false;
    if (GameFlow* flow = GameFlow::GetCurrent())
    {
        flow->PushLevelEndResults(
            {LevelRegistry::GetInstance().GetCurrentScene(), myTargetScene, RankSystem::GetGlobalScore()});
        return;
    }
    ResetCollectedKeyCount();
    ResetPlayerHealth();
    if (!myTargetScene.empty())
    {
        LevelRegistry::GetInstance().SetSceneRequest(myTargetScene);
    }
}
