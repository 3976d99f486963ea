#include "World/SceneComposer.h"

#include "Boss/BossAnimator.h"
#include "Level/EyeAnimator.h"
#include "Level/EyeTrigger.h"
#include "Scripted/LockCameraTriggerComponent.h"

#include "Camera/CameraController.h"
#include "Camera/FogComponent.h"
#include "Components/AnimatedMeshComponent.h"
#include "Level/HoverSystem.h"
#include "Player/PlayerController.h"
#include "Rules/CollisionSystemComponent.h"
#include "Scripted/CameraLockLinks.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/Core/Profiler.h"

namespace
{
constexpr const char* SCENE_CAMERA_MARK = "VKO_Camera";
constexpr std::size_t SCENE_CAMERA_MIN_NAME = 10;
constexpr const char* FOG_VERTEX_SHADER = "shaders/fog_shader_animated_vs";
constexpr const char* FOG_PIXEL_SHADER = "shaders/fog_shader_ps";
constexpr int DEFAULT_RENDER_MODE = 0;
constexpr int CUSTOM_RENDER_MODE = 3;

// A kept player was not part of the new scene's fog pass, so its shader follows the level here.
void MatchPlayerShaderToFog(GameObject* aPlayer, bool aHasFog)
{
    AnimatedMeshComponent* mesh =
        aPlayer != nullptr ? aPlayer->GetComponent<AnimatedMeshComponent>() : nullptr;
    if (mesh == nullptr)
    {
        return;
    }
    if (aHasFog)
    {
        mesh->SetCustomShader(FOG_VERTEX_SHADER, FOG_PIXEL_SHADER);
        mesh->SetRenderMode(CUSTOM_RENDER_MODE);
    }
    else
    {
        mesh->SetRenderMode(DEFAULT_RENDER_MODE);
    }
}
} // namespace

SceneComposer::SceneComposer(GameWorld* aWorld, CameraController* aCamera, HoverSystem* aHover,
                             std::vector<std::unique_ptr<GameObject>>* aObjects)
    : myWorld(aWorld), myCamera(aCamera), myHover(aHover), myObjects(aObjects)
{
}

void SceneComposer::InjectReferences(CollisionSystemComponent* aCollisionSystem)
{
    if (aCollisionSystem == nullptr)
    {
        return;
    }
    aCollisionSystem->SetCameraController(myCamera);
    aCollisionSystem->SetHoverSystem(myHover);
    aCollisionSystem->SetObjects(myObjects);
    aCollisionSystem->SetPlayer(myPlayer);
    aCollisionSystem->SetWorld(myWorld);
}

ComposeResult SceneComposer::ComposeLoadedScene(std::vector<std::unique_ptr<GameObject>>& aLoaded,
                                                SceneComposer& aComposer)
{
    const Qel::ProfilerScope scope("SceneComposer::ComposeLoadedScene");
    ComposeResult result;
    result.player = aComposer.myPlayer;
    SpecialObjectLinks links;
    aComposer.LinkSpecialObjects(aLoaded, result, links);
    if (aComposer.myHover != nullptr)
    {
        aComposer.myHover->GenerateAutoPlatforms();
        aComposer.myHover->Build();
    }
    if (result.player != nullptr)
    {
        result.playerController = result.player->GetComponent<PlayerController>();
        if (result.playerController != nullptr)
        {
            result.playerController->ResetToIdle();
        }
        // Every level starts its player at the origin.
        result.player->GetTransform().SetPosition({0.0f, 0.0f, 0.0f});
    }
    aComposer.LinkBossReferences(links, result);
    aComposer.myLastLinks = links;
    aComposer.SetPlayer(result.player);
    for (const std::unique_ptr<GameObject>& object : *aComposer.myObjects)
    {
        if (CollisionSystemComponent* collision = object->GetComponent<CollisionSystemComponent>())
        {
            aComposer.InjectReferences(collision);
            collision->ResetForLevel();
            break;
        }
    }
    if (result.player != nullptr && aComposer.myCamera != nullptr && aComposer.myCamera->IsFollowEnabled())
    {
        aComposer.myCamera->SnapToPlayer(result.player->GetTransform().GetPosition());
    }
    if (result.playerController != nullptr)
    {
        result.playerController->ResetMovement();
    }
    aComposer.SetPlayer(result.player);
    return result;
}

void SceneComposer::LinkSpecialObjects(std::vector<std::unique_ptr<GameObject>>& aLoaded,
                                       ComposeResult& aResult, SpecialObjectLinks& aLinks)
{
    if (aLoaded.empty())
    {
        MatchPlayerShaderToFog(aResult.player, false);
        return;
    }
    Qel::Engine* engine = Qel::Engine::GetInstance();
    bool hasFog = false;
    for (std::unique_ptr<GameObject>& object : aLoaded)
    {
        const std::string& tag = object->GetTag();
        // A kept player, or the scene's first, wins; a later "Player" is never started.
        if (tag == "Player" && aResult.player != nullptr)
        {
            continue;
        }
        object->Start(engine);
        if (PlayerController* controller = object->GetComponent<PlayerController>();
            controller != nullptr && myWorld)
        {
            controller->SetInputHandler(&myWorld->GetInput());
        }
        if (tag == "Player")
        {
            aResult.player = object.get();
            object->SetPersistent(true);
        }
        const std::string& name = object->GetName();
        if (name.size() >= SCENE_CAMERA_MIN_NAME && name.find(SCENE_CAMERA_MARK) != std::string::npos)
        {
            aResult.sceneCamera = object.get();
        }
        if (tag == "LockCamTrigger")
        {
            aLinks.lockTriggers.push_back(object.get());
        }
        else if (tag == "Boss")
        {
            aLinks.boss = object.get();
        }
        else if (tag == "EyeInTheSky")
        {
            aLinks.eye = object.get();
        }
        else if (tag == "Birgil")
        {
            aLinks.birgil = object.get();
        }
        else if (tag == "BloodSea")
        {
            aResult.bloodSea = object.get();
        }
        else if (tag == "Fog")
        {
            hasFog = object->GetComponent<FogComponent>() != nullptr;
        }
        if (myHover != nullptr)
        {
            myHover->Register(object.get());
        }
        myObjects->push_back(std::move(object));
    }
    aLoaded.clear();
    MatchPlayerShaderToFog(aResult.player, hasFog);
}

void SceneComposer::LinkBossReferences(const SpecialObjectLinks& aLinks, const ComposeResult& aResult)
{
    BossAnimator* boss = aLinks.boss != nullptr ? aLinks.boss->GetComponent<BossAnimator>() : nullptr;
    if (boss != nullptr)
    {
        std::vector<LockCameraTriggerComponent*> stages;
        for (GameObject* trigger : aLinks.lockTriggers)
        {
            if (LockCameraTriggerComponent* lock = trigger->GetComponent<LockCameraTriggerComponent>())
            {
                stages.push_back(lock);
            }
        }
        boss->SetStageTriggers(stages);
    }
    EyeTrigger* eyeTrigger = aLinks.eye != nullptr ? aLinks.eye->GetComponent<EyeTrigger>() : nullptr;
    if (eyeTrigger != nullptr)
    {
        eyeTrigger->SetPlayer(aResult.player);
        eyeTrigger->SetBloodSea(aResult.bloodSea);
        eyeTrigger->SetCameraController(myCamera);
    }
    EyeAnimator* eye = aLinks.eye != nullptr ? aLinks.eye->GetComponent<EyeAnimator>() : nullptr;

    CameraLockActors actors;
    actors.camera = myCamera;
    actors.player = aResult.player;
    actors.birgil = aLinks.birgil;
    if (boss != nullptr)
    {
        actors.hooks.startBossEntrance = [boss]
        {
            boss->StartEntrance();
        };
    }
    if (eye != nullptr)
    {
        actors.hooks.activateEye = [eye]
        {
            eye->Activate();
        };
    }
    if (eyeTrigger != nullptr)
    {
        actors.hooks.rearmEye = [eyeTrigger]
        {
            eyeTrigger->Arm();
        };
    }
    LinkCameraLocks(aLinks.lockTriggers, actors);
}
