// Moves a freshly loaded scene's objects into the world, starts them on the main thread and picks out
// the objects the rest of the game must know: the player (a kept player wins over the scene's), the
// scene camera, the boss, the eye, "Birgil", the blood sea and the camera-lock triggers. It builds the
// hover groups, puts the player at the level's origin and hands the collision rules their references.
// Main thread.
#pragma once

#include "Objects/GameObject.h"

#include <memory>
#include <vector>

class GameWorld;
class CameraController;
class HoverSystem;
class CollisionSystemComponent;
class PlayerController;

struct ComposeResult
{
    GameObject* player = nullptr;
    GameObject* sceneCamera = nullptr;
    GameObject* bloodSea = nullptr;
    PlayerController* playerController = nullptr;
};

// What one composition found besides its result, in scene order; later objects replace earlier ones.
struct SpecialObjectLinks
{
    std::vector<GameObject*> lockTriggers;
    GameObject* boss = nullptr;
    GameObject* eye = nullptr;
    GameObject* birgil = nullptr;
};

class SceneComposer
{
public:
    SceneComposer(GameWorld* aWorld, CameraController* aCamera, HoverSystem* aHover,
                  std::vector<std::unique_ptr<GameObject>>* aObjects);

    CameraController* GetCameraController() const { return myCamera; }
    HoverSystem* GetHoverSystem() const { return myHover; }
    std::vector<std::unique_ptr<GameObject>>* GetObjects() const { return myObjects; }
    GameObject* GetPlayer() const { return myPlayer; }
    void SetPlayer(GameObject* aPlayer) { myPlayer = aPlayer; }
    // What the last composition linked.
    const SpecialObjectLinks& GetLastLinks() const { return myLastLinks; }

    // Hands the collision rules the references they work on.
    void InjectReferences(CollisionSystemComponent* aCollisionSystem);

    // Empties aLoaded into the world's list (objects it does not take are destroyed with the vector).
    static ComposeResult ComposeLoadedScene(std::vector<std::unique_ptr<GameObject>>& aLoaded,
                                            SceneComposer& aComposer);

private:
    void LinkSpecialObjects(std::vector<std::unique_ptr<GameObject>>& aLoaded, ComposeResult& aResult,
                            SpecialObjectLinks& aLinks);
    void LinkBossReferences(const SpecialObjectLinks& aLinks, const ComposeResult& aResult);

    GameWorld* myWorld;
    CameraController* myCamera;
    HoverSystem* myHover;
    std::vector<std::unique_ptr<GameObject>>* myObjects;
    GameObject* myPlayer = nullptr;
    SpecialObjectLinks myLastLinks;
};
