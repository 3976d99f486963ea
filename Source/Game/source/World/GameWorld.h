// Everything that exists while a level is played: input, clock, camera, the owning list of game
// objects, effects, hover sway and the scene composer. The world takes level requests, loads a scene
// on a background task while the main thread keeps drawing a loading screen, and hands the new objects
// over on the main thread without waiting for the task. Main thread, but for the load task, which only
// builds objects and never touches the world.
#pragma once

#include "Base/InputHandler.h"
#include "Base/Timer.h"
#include "Camera/CameraController.h"
#include "Effects/VfxSystem.h"
#include "Level/HoverSystem.h"
#include "Objects/GameObject.h"
#include "World/HandOverPreparation.h"
#include "World/SceneComposer.h"
#include "vek/text/Text.h"

#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <random>
#include <string>
#include <vector>

class GameFlow;

class GameWorld
{
public:
    using SceneObjects = std::vector<std::unique_ptr<GameObject>>;
    // What the load task runs for a scene path; the scene import unless replaced.
    using SceneImport = std::function<SceneObjects(const std::string&)>;

    // The frame clock reads aClock; tests step the world at a fixed rate with a counter of their own.
    explicit GameWorld(const Qel::CounterSource& aClock = Qel::GetSteadyClockCounter());
    // Waits for the running tasks, then goes with every object.
    ~GameWorld();
    GameWorld(const GameWorld&) = delete;
    GameWorld& operator=(const GameWorld&) = delete;

    // Once, after the engine and the menu stack exist: builders, the persistent "CollisionSystem"
    // object, effects and the level list.
    void Init();
    // One frame: clock, input, the load's hand-over, level requests, then the level's objects in their
    // fixed order unless a load runs or a menu pauses the game. The level steps at most 1/30 s a frame.
    // A level that fails to load sends the player back to the level select.
    void Update(GameFlow& aFlow);
    // The level, or the loading screen while a scene loads.
    void Render();
    // The level's part of a frame at a given step: camera, player, hover, every other active object,
    // effects and the follow camera. Update runs it while a level plays; tests and benchmarks drive it.
    void StepLevel(float aDeltaTime);
    InputHandler& GetInput() { return myInput; }

    // Starts loading aScene on a task; nothing for "" or, without aForce, for the scene on screen.
    void StartSceneLoadAsync(const std::string& aScene, bool aForce);
    // Takes a finished load without blocking and, once its shaders and GL objects are made (a slice a
    // frame), hands it over; a load that failed leaves the world without a level and says why in one
    // line. True when the load it took had failed.
    bool PollSceneLoad();
    void ApplyLoadedScene(SceneObjects&& aObjects, const std::string& aScene);
    // Drops every object but the persistent ones (and, with aDropPlayer, the player too).
    void ResetObjects(bool aDropPlayer);
    void ClearScene(bool aClearSceneName, bool aDropPlayer);
    // Loads the scene on screen again from its files, player included; a running load is waited for
    // and thrown away first.
    void ReloadScene();
    // Back to no level, with the menu music; a running load is waited for and thrown away first.
    void UnloadScene();
    // While frames of focus are left after a load, raises the window and takes the focus.
    void BringWindowToFront();

    const SceneObjects& GetObjects() const { return myObjects; }
    GameObject* GetPlayer() const { return myPlayer; }
    const std::string& GetCurrentScene() const { return myCurrentScene; }
    const std::string& GetLoadingScene() const { return myLoadingScene; }
    const std::string& GetQueuedScene() const { return myQueuedScene; }
    bool IsLoading() const { return myIsLoading; }
    int GetFocusFrames() const { return myFocusFrames; }
    const CameraController& GetCamera() const { return myCamera; }
    // The text the loading screen shows at aTotalSeconds: "Loading" and 0 to 3 dots, one more each
    // half second.
    static std::string GetLoadingLine(float aTotalSeconds);

    void SetSceneImport(SceneImport aImport) { mySceneImport = std::move(aImport); }

    // The world the program made; null before and after it.
    static GameWorld* GetInstance();

private:
    void WaitAndDiscardRunningLoad();
    // The failed load's line, and the world back as an unload leaves it; true.
    bool FailLoad(const std::exception& anError);
    void UpdateCameraAndPlayer(float aDeltaTime);
    void UpdateLevelObjects(float aDeltaTime);
    void RenderLoadingScreen();

    InputHandler myInput;
    Timer myTimer;
    CameraController myCamera;
    SceneObjects myObjects;
    VfxSystem myVfx;
    HoverSystem myHover;
    SceneComposer myComposer;
    GameObject* myPlayer = nullptr;
    std::string myCurrentScene;
    std::future<SceneObjects> mySceneFuture;
    // A finished load's objects while they are prepared for the hand-over.
    SceneObjects myLoadedObjects;
    bool myHasLoadedObjects = false;
    HandOverPreparation myPreparation;
    std::future<void> myAnimationPreload;
    std::string myLoadingScene;
    std::string myQueuedScene;
    bool myIsLoading = false;
    int myFocusFrames = 0;
    bool myDirectionalLightOn = true;
    bool myAmbientLightOn = true;
    std::mt19937 myRandom;
    Qel::Text myLoadingText;
    SceneImport mySceneImport;
};
