#include "Animator/Animator.h"

#include "Components/AnimatedMeshComponent.h"
#include "Objects/GameObject.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/AssetPaths.h"

void Animator::AddAnimation(const std::string& aPath, bool aLoop)
{
    myClips.push_back({aPath, aLoop});
}

void Animator::PlayAnimation(std::int32_t anIndex)
{
    if (anIndex == myCurrentClipIndex || anIndex < 0 ||
        static_cast<std::size_t>(anIndex) >= myAnimationPlayers.size())
    {
        return;
    }
    if (Qel::AnimationPlayer* current = GetCurrentAnimationPlayer())
    {
        current->myState = Qel::AnimationState::Stopped;
        current->myTime = 0.0f;
    }
    myCurrentClipIndex = anIndex;
    myAnimationPlayers[static_cast<std::size_t>(anIndex)].myState = Qel::AnimationState::Playing;
}

Qel::AnimationPlayer* Animator::GetCurrentAnimationPlayer()
{
    if (myCurrentClipIndex < 0 || static_cast<std::size_t>(myCurrentClipIndex) >= myAnimationPlayers.size())
    {
        return nullptr;
    }
    return &myAnimationPlayers[static_cast<std::size_t>(myCurrentClipIndex)];
}

float Animator::GetCurrentClipLength()
{
    const Qel::AnimationPlayer* player = GetCurrentAnimationPlayer();
    return player != nullptr && player->myAnimation != nullptr ? player->myAnimation->myDuration : 0.0f;
}

void Animator::OnUpdate(float aDeltaTime)
{
    if (!CanAnimate())
    {
        return;
    }
    UpdateCurrentState(aDeltaTime);
    AdvanceCurrentClip(aDeltaTime);
}

void Animator::WarmCaches()
{
    const AnimatedMeshComponent* mesh =
        myOwner != nullptr ? myOwner->GetComponent<AnimatedMeshComponent>() : nullptr;
    if (mesh == nullptr || mesh->GetModelPath().empty())
    {
        return;
    }
    Qel::ModelFactory* factory = Qel::ModelFactory::GetInstance();
    const std::shared_ptr<Qel::Model> model = factory->GetModel(mesh->GetModelPath());
    if (model == nullptr || model->mySkeleton.myJoints.empty())
    {
        return;
    }
    for (const AnimationClip& clip : myClips)
    {
        // The key GetAnimationPlayer looks up: the resolved path.
        factory->GetAnimation(Qel::ResolveAssetPath(clip.path), model);
    }
}

bool Animator::CanAnimate() const
{
    return !myAnimationPlayers.empty() && myAnimatedMesh != nullptr && myAnimatedMesh->HasModel();
}

AnimatedMeshComponent* Animator::LinkAnimatedMesh()
{
    myAnimatedMesh = myOwner != nullptr ? myOwner->GetComponent<AnimatedMeshComponent>() : nullptr;
    return myAnimatedMesh;
}

bool Animator::CreatePlayersForClips()
{
    if (myAnimatedMesh == nullptr || !myAnimatedMesh->HasModel())
    {
        return false;
    }
    const std::shared_ptr<Qel::Model> model = myAnimatedMesh->GetModelInstance();
    Qel::ModelFactory* factory = Qel::ModelFactory::GetInstance();
    myAnimationPlayers.clear();
    myAnimationPlayers.reserve(myClips.size());
    for (const AnimationClip& clip : myClips)
    {
        Qel::AnimationPlayer player = factory->GetAnimationPlayer(clip.path, model);
        player.myIsLooping = clip.loop;
        myAnimationPlayers.push_back(std::move(player));
    }
    if (!myAnimationPlayers.empty())
    {
        myCurrentClipIndex = 0;
        myAnimationPlayers.front().myState = Qel::AnimationState::Playing;
    }
    return true;
}

void Animator::AdvanceCurrentClip(float aDeltaTime)
{
    Qel::AnimationPlayer* player = GetCurrentAnimationPlayer();
    if (player == nullptr || myAnimatedMesh == nullptr)
    {
        return;
    }
    player->Update(aDeltaTime);
    myAnimatedMesh->SetPose(*player);
}
