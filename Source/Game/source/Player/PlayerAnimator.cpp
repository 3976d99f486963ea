#include "Player/PlayerAnimator.h"

#include "Animator/ClipIndices.h"
#include "Components/AnimatedMeshComponent.h"
#include "Components/DamageableComponent.h"
#include "Objects/GameObject.h"
#include "Player/PlayerController.h"
#include "Player/PlayerStates.h"
#include "vek/Core/Assert.h"
#include "vek/Core/Profiler.h"
#include "vek/model/ModelFactory.h"
#include "vek/settings/AssetPaths.h"

#include <cstdio>

namespace
{
std::string theCurrentLevelPath;

bool IsInClipRange(int anIndex)
{
    return anIndex >= 0 && anIndex < PlayerClip::COUNT;
}
} // namespace

PlayerAnimator::~PlayerAnimator()
{
    ExitCurrentState();
}

void PlayerAnimator::OnDestroy()
{
    // The owner deletes its mesh before this animator, so the mesh is shown again here, while it exists.
    ResetBlink();
    myAnimatedMesh = nullptr;
}

std::string PlayerAnimator::GetClipPath(int anIndex)
{
    if (!IsInClipRange(anIndex))
    {
        return {};
    }
    std::string path(PlayerClip::PATH_PREFIX);
    path += PlayerClip::NAMES[static_cast<std::size_t>(anIndex)];
    path += ".fbx";
    return path;
}

void PlayerAnimator::AddPlayerClips()
{
    for (int clip = 0; clip < PlayerClip::COUNT; ++clip)
    {
        AddAnimation(GetClipPath(clip), IsClipLooping(clip));
    }
}

bool PlayerAnimator::IsClipLooping(int anIndex)
{
    using namespace PlayerClip;
    switch (anIndex)
    {
    case INTRO_START:
    case IDLE:
    case IDLE_PRE_SPIRIT:
    case IDLE_TO_WALK:
    case WALK:
    case WALK_PRE_SPIRIT:
    case RUN:
    case FALL:
    case FALL_PRE_SPIRIT:
    case EDGE_FALL:
    case EDGE_FALL_PRE_SPIRIT:
    case WALL_SLIDE_LEFT:
    case WALL_SLIDE:
    case GROUND_POUND_FALL:
        return true;
    default:
        return false;
    }
}

void PlayerAnimator::PreloadAnimations()
{
    const Qel::ProfilerScope scope("PreloadAnimations");
    Qel::ModelFactory* factory = Qel::ModelFactory::GetInstance();
    const std::shared_ptr<Qel::Model> model = factory->GetModel(MODEL_PATH);
    if (model == nullptr)
    {
        return;
    }
    // Cached under the resolved path, the key the players' requests look up later.
    for (int index = 0; index < PlayerClip::COUNT; ++index)
    {
        static_cast<void>(factory->GetAnimation(Qel::ResolveAssetPath(GetClipPath(index)), model));
    }
}

std::future<void> PlayerAnimator::StartAnimationPreloadAsync()
{
    static_cast<void>(Qel::ModelFactory::GetInstance());
    return std::async(std::launch::async, &PlayerAnimator::PreloadAnimations);
}

bool PlayerAnimator::CreateAnimationPlayers(int anIndex)
{
    if (anIndex < 0 || static_cast<std::size_t>(anIndex) >= myClips.size())
    {
        return false;
    }
    if (myAnimationPlayers.size() < myClips.size())
    {
        myAnimationPlayers.resize(myClips.size());
        myHasTriedClip.resize(myClips.size(), false);
    }
    const std::size_t index = static_cast<std::size_t>(anIndex);
    Qel::AnimationPlayer& player = myAnimationPlayers[index];
    if (player.myAnimation != nullptr)
    {
        return true;
    }
    // A clip that failed once stays a still pose instead of reloading every frame.
    if (myHasTriedClip[index] || myAnimatedMesh == nullptr || !myAnimatedMesh->HasModel())
    {
        return false;
    }
    const Qel::ProfilerScope scope("PlayerAnimator::CreateAnimationPlayers");
    myHasTriedClip[index] = true;
    const AnimationClip& clip = myClips[index];
    const Qel::AnimationState state = player.myState;
    player =
        Qel::ModelFactory::GetInstance()->GetAnimationPlayer(clip.path, myAnimatedMesh->GetModelInstance());
    player.myIsLooping = clip.loop;
    player.myState = state;
    if (player.myAnimation == nullptr)
    {
        std::printf("[PlayerAnimator] Clip %d has no animation (\"%s\"); the player holds its pose\n",
                    anIndex, clip.path.c_str());
        return false;
    }
    return true;
}

void PlayerAnimator::PlayAnimation(std::int32_t anIndex)
{
    if (anIndex == myCurrentClipIndex)
    {
        CreateAnimationPlayers(myCurrentClipIndex);
        return;
    }
    if (anIndex < 0 || static_cast<std::size_t>(anIndex) >= myAnimationPlayers.size())
    {
        return;
    }
    if (Qel::AnimationPlayer* current = GetCurrentAnimationPlayer();
        current != nullptr && current->myAnimation)
    {
        current->myState = Qel::AnimationState::Stopped;
        current->myTime = 0.0f;
    }
    myCurrentClipIndex = anIndex;
    CreateAnimationPlayers(anIndex);
    myAnimationPlayers[static_cast<std::size_t>(anIndex)].myState = Qel::AnimationState::Playing;
}

Qel::AnimationPlayer* PlayerAnimator::GetCurrentAnimationPlayer()
{
    CreateAnimationPlayers(myCurrentClipIndex);
    return Animator::GetCurrentAnimationPlayer();
}

bool PlayerAnimator::ConsumeRespawnRequest()
{
    const bool isRequested = myIsRespawnRequested;
    myIsRespawnRequested = false;
    return isRequested;
}

PlayerController& PlayerAnimator::GetPlayerController() const
{
    QEL_ASSERT(myPlayerController && "PlayerController is required but missing.");
    return *myPlayerController;
}

void PlayerAnimator::EnterVictoryState()
{
    if (myPlayerController != nullptr)
    {
        ChangeState(new PlayerVictoryState());
    }
}

void PlayerAnimator::SetCurrentLevelPath(const std::string& aPath)
{
    theCurrentLevelPath = aPath;
}

void PlayerAnimator::OnStart()
{
    LinkAnimatedMesh();
    myPlayerController = myOwner != nullptr ? myOwner->GetComponent<PlayerController>() : nullptr;
    myDamageable = myOwner != nullptr ? myOwner->GetComponent<DamageableComponent>() : nullptr;
    QEL_ASSERT(myAnimatedMesh && "PlayerAnimator requires an AnimatedMeshComponent on the same GameObject!");
    QEL_ASSERT(myPlayerController && "PlayerAnimator requires a PlayerController on the same GameObject!");
    QEL_ASSERT(myDamageable && "PlayerAnimator requires a DamagableComponent on the same GameObject!");

    ResetBlink();
    if (myAnimatedMesh == nullptr || !myAnimatedMesh->HasModel())
    {
        return;
    }
    myAnimationPlayers.assign(myClips.size(), Qel::AnimationPlayer());
    myHasTriedClip.assign(myClips.size(), false);
    if (!myClips.empty())
    {
        const bool isFirstLevel = theCurrentLevelPath == PlayerController::FIRST_LEVEL_PATH;
        myCurrentClipIndex = isFirstLevel ? PlayerClip::IDLE_PRE_SPIRIT : PlayerClip::IDLE;
        if (Qel::AnimationPlayer* player = GetCurrentAnimationPlayer())
        {
            player->myState = Qel::AnimationState::Playing;
        }
    }
    // States read the controller on every step, so none runs without one.
    if (GetCurrentState() == nullptr && myPlayerController != nullptr)
    {
        ChangeState(new PlayerIdleState());
    }
}

void PlayerAnimator::OnUpdate(float aDeltaTime)
{
    if (!CanAnimate())
    {
        return;
    }
    const bool isHit = myDamageable != nullptr && myDamageable->WasHitThisFrame();
    const bool isDead = myDamageable != nullptr && myDamageable->IsDead();
    const bool isInvulnerable = myDamageable != nullptr && myDamageable->IsInvulnerable();

    if (isHit && myPlayerController != nullptr)
    {
        ChangeState(new PlayerHurtState());
        if (isInvulnerable && !isDead)
        {
            StartBlink(myDamageable->GetInvulnerabilityTime());
        }
    }
    if (!isInvulnerable || isDead)
    {
        ResetBlink();
    }
    else if (myIsBlinking)
    {
        UpdateBlink(aDeltaTime);
    }

    if (myPlayerController != nullptr)
    {
        UpdateCurrentState(aDeltaTime);
    }

    Qel::AnimationPlayer* player = GetCurrentAnimationPlayer();
    if (player != nullptr)
    {
        player->Update(aDeltaTime);
        if (player->myAnimation != nullptr)
        {
            myAnimatedMesh->SetPose(*player);
        }
    }
}

void PlayerAnimator::ShowMesh(bool aIsVisible)
{
    if (myAnimatedMesh != nullptr)
    {
        myAnimatedMesh->SetVisible(aIsVisible);
    }
}

void PlayerAnimator::ResetBlink()
{
    myIsBlinking = false;
    myIsBlinkVisible = true;
    myBlinkDuration = 0.0f;
    myBlinkRemaining = 0.0f;
    myBlinkAccumulator = 0.0f;
    ShowMesh(true);
}

void PlayerAnimator::StartBlink(float aDuration)
{
    if (aDuration <= 0.0f)
    {
        ResetBlink();
        return;
    }
    myIsBlinkVisible = true;
    myBlinkAccumulator = 0.0f;
    myBlinkDuration = aDuration;
    myBlinkRemaining = aDuration;
    myIsBlinking = true;
    ShowMesh(true);
}

void PlayerAnimator::UpdateBlink(float aDeltaTime)
{
    myBlinkRemaining -= aDeltaTime;
    if (myBlinkRemaining <= 0.0f || myBlinkDuration <= 0.0f)
    {
        ResetBlink();
        return;
    }
    myBlinkAccumulator += aDeltaTime;
    const float interval =
        myBlinkRemaining / myBlinkDuration <= SLOW_BLINK_SHARE ? SLOW_BLINK_INTERVAL : BLINK_INTERVAL;
    while (myBlinkAccumulator >= interval)
    {
        myBlinkAccumulator -= interval;
        myIsBlinkVisible = !myIsBlinkVisible;
        ShowMesh(myIsBlinkVisible);
    }
}
