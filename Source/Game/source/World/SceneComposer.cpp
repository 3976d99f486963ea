#include "World/SceneComposer.h"

#include "Camera/CameraController.h"
#include "Collision/CollisionSystemComponent.h"
#include "Scripted/CameraLockLinks.h"
#include "World/HoverSystem.h"
#include "vek/Core/Engine.h"
#include "vek/Core/Profiler.h"

SceneComposer::SceneComposer(GameWorld* aWorld, CameraController* aCamera, HoverSystem* aHover,
                             std::vector<std::unique_ptr<GameObject>>* aObjects)
    : myWorld(aWorld), myCamera(aCamera), myHover(aHover), myObjects(aObjects)
{
}

void SceneComposer::InjectReferences(CollisionSystemComponent* aCollisionSystem)
{
    if (aCollisionSystem != nullptr)
    {
        aCollisionSystem->SetPlayer(myPlayer);
    }
}

ComposeResult SceneComposer::ComposeLoadedScene(std::vector<std::unique_ptr<GameObject>>& aLoaded,
                                                SceneComposer& aComposer)
{
    const Qel::ProfilerScope scope("SceneComposer::ComposeLoadedScene");
    ComposeResult result;
    result.player = aComposer.myPlayer;
    aComposer.LinkSpecialObjects(aLoaded, result);
    aComposer.myHover->GenerateAutoPlatforms();
    aComposer.myHover->Build();
    if (result.player != nullptr)
    {
        // Every level starts its player at the origin.
        result.player->GetTransform().SetPosition({0.0f, 0.0f, 0.0f});
    }
    aComposer.SetPlayer(result.player);
    CameraLockActors actors;
    actors.camera = aComposer.myCamera;
    actors.player = result.player;
    for (const std::unique_ptr<GameObject>& object : *aComposer.myObjects)
    {
        if (object->GetTag() == "Birgil")
        {
            actors.birgil = object.get();
        }
    }
    LinkCameraLocks(FindLockTriggers(*aComposer.myObjects), actors);
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
    return result;
}

void SceneComposer::LinkSpecialObjects(std::vector<std::unique_ptr<GameObject>>& aLoaded,
                                       ComposeResult& aResult)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    for (std::unique_ptr<GameObject>& object : aLoaded)
    {
        const std::string& tag = object->GetTag();
        // A kept player, or the scene's first, wins; a later "Player" is never started.
        if (tag == "Player" && aResult.player != nullptr)
        {
            continue;
        }
        object->Start(engine);
        if (tag == "Player")
        {
            aResult.player = object.get();
            object->SetPersistent(true);
        }
        const std::string& name = object->GetName();
        if (name.size() >= 10 && name.find("VKO_Camera") != std::string::npos)
        {
            aResult.sceneCamera = object.get();
        }
        if (tag == "BloodSea")
        {
            aResult.bloodSea = object.get();
        }
        myHover->Register(object.get());
        myObjects->push_back(std::move(object));
    }
    aLoaded.clear();
}
