// Moves a freshly loaded scene's objects into the world, starts them on the main thread and picks out
// the objects the rest of the game must know: the player (a kept player wins over the scene's), the
// scene camera and the blood sea. Linking the boss, the eye and the camera triggers arrives with them.
// Main thread.
#pragma once

#include "Objects/GameObject.h"

#include <memory>
#include <vector>

class GameWorld;
class CameraController;
class HoverSystem;
class CollisionSystemComponent;

struct ComposeResult
{
    GameObject* player = nullptr;
    GameObject* sceneCamera = nullptr;
    GameObject* bloodSea = nullptr;
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

    // Hands the collision rules the references they work on.
    void InjectReferences(CollisionSystemComponent* aCollisionSystem);

    // Empties aLoaded into the world's list (objects it does not take are destroyed with the vector).
    static ComposeResult ComposeLoadedScene(std::vector<std::unique_ptr<GameObject>>& aLoaded,
                                            SceneComposer& aComposer);

private:
    void LinkSpecialObjects(std::vector<std::unique_ptr<GameObject>>& aLoaded, ComposeResult& aResult);

    GameWorld* myWorld;
    CameraController* myCamera;
    HoverSystem* myHover;
    std::vector<std::unique_ptr<GameObject>>* myObjects;
    GameObject* myPlayer = nullptr;
};
