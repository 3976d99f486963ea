#include "World/GameWorld.h"

#include "Builders/RegisterGameObjectFactories.h"
#include "Camera/FogComponent.h"
#include "Level/EyeTrigger.h"
#include "Player/PlayerAnimator.h"
#include "Player/PlayerController.h"
#include "Rules/CollisionSystemComponent.h"
#include "Session/GameFlow.h"
#include "Session/LevelRegistry.h"
#include "Sound/SoundBank.h"
#include "World/SceneImportService.h"
#include "World/WorldRenderPass.h"
#include "vek/Core/Engine.h"
#include "vek/Core/Profiler.h"
#include "vek/Core/WindowHandler.h"
#include "vek/graphics/DX11.h"
#include "vek/graphics/GraphicsEngine.h"
#include "vek/graphics/GraphicsStateStack.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <iostream>

namespace
{
GameWorld* theWorld = nullptr;

constexpr int FOCUS_FRAMES_AFTER_LOAD = 120;
// The level never moves on more than this in one frame: below 30 frames a second the game slows down
// rather than letting a fall pass through the ground between two frames.
constexpr float MAX_LEVEL_STEP = 1.0f / 30.0f;
constexpr std::uint32_t MENU_MUSIC = 3;
constexpr std::uint32_t BUTTON_HOVER_SOUND = 0;
constexpr std::uint32_t LEVEL_CHOICE_SOUND = 37;

template <typename T>
bool IsRunning(const std::future<T>& aFuture)
{
    return aFuture.valid() && aFuture.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

bool EndsWith(const std::string& aText, const std::string& aEnd)
{
    return aText.size() >= aEnd.size() && aText.compare(aText.size() - aEnd.size(), aEnd.size(), aEnd) == 0;
}

// The exception's text with the texts of the causes nested in it, "outer: inner"; a cause the outer
// text already ends with is not repeated.
std::string DescribeException(const std::exception& aError)
{
    std::string text = aError.what();
    try
    {
        std::rethrow_if_nested(aError);
    }
    catch (const std::exception& cause)
    {
        const std::string causeText = DescribeException(cause);
        if (!EndsWith(text, causeText))
        {
            text += ": " + causeText;
        }
    }
    catch (...)
    {
        text += ": an unknown error";
    }
    return text;
}

Platform::Window* GetEngineWindow()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine == nullptr || engine->GetHWND() == nullptr)
    {
        return nullptr;
    }
    return Qel::GetPlatformWindow(*engine->GetHWND());
}

void HandInEngineWindow(InputHandler& aInput)
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    if (engine != nullptr && engine->GetHWND() != nullptr)
    {
        aInput.SetWindowHandle(*engine->GetHWND());
    }
}

CollisionSystemComponent* FindCollisionSystem(const GameWorld::SceneObjects& someObjects)
{
    for (const std::unique_ptr<GameObject>& object : someObjects)
    {
        if (CollisionSystemComponent* collision = object->GetComponent<CollisionSystemComponent>())
        {
            return collision;
        }
    }
    return nullptr;
}
} // namespace

GameWorld::GameWorld(const Qel::CounterSource& aClock)
    : myTimer(aClock), myComposer(this, &myCamera, &myHover, &myObjects), myRandom(std::random_device{}()),
      myLoadingText("Text/Evil Bible.ttf", 72, 0),
      mySceneImport([](const std::string& aScene) { return SceneImportService::LoadSceneObjects(aScene); })
{
    theWorld = this;
}

GameWorld::~GameWorld()
{
    if (IsRunning(myAnimationPreload))
    {
        myAnimationPreload.wait();
    }
    if (IsRunning(mySceneFuture))
    {
        mySceneFuture.wait();
    }
    VfxSystem::SetActive(nullptr);
    if (theWorld == this)
    {
        theWorld = nullptr;
    }
}

GameWorld* GameWorld::GetInstance()
{
    return theWorld;
}

void GameWorld::Init()
{
    myComposer.SetPlayer(myPlayer);
    myCamera.ResetToDefaults();
    RegisterGameObjectFactories();
    myAnimationPreload = PlayerAnimator::StartAnimationPreloadAsync();
    HandInEngineWindow(myInput);
    myInput.SetEnabledFlag(true);
    myCurrentScene.clear();
    myCamera.SetLevelName("");

    auto collisionObject = std::make_unique<GameObject>("CollisionSystem");
    auto* collision = collisionObject->AddComponent<CollisionSystemComponent>();
    myComposer.InjectReferences(collision);
    collisionObject->Start(Qel::Engine::GetInstance());
    collisionObject->SetPersistent(true);
    myObjects.push_back(std::move(collisionObject));

    VfxSystem::SetActive(&myVfx);
    myVfx.Load();
    try
    {
        LevelRegistry::GetInstance().ScanLevelFiles();
    }
    catch (const std::exception& error)
    {
        // An unreadable levels folder leaves the list empty; the game still runs its menus.
        std::cout << "[GameWorld] Could not list the levels: " << error.what() << "\n";
    }
}

void GameWorld::Update(GameFlow& aFlow)
{
    myTimer.Update();
    myInput.Update();
    BringWindowToFront();

    const float deltaTime = myTimer.GetDeltaTime();
    aFlow.SetDeltaTime(deltaTime);
    SoundBank::GetInstance().Update(deltaTime);

    if (PollSceneLoad())
    {
        aFlow.ReturnToLevelSelect();
    }

    LevelRegistry& levels = LevelRegistry::GetInstance();
    if (levels.HasSceneRequest())
    {
        const std::string request = levels.TakeSceneRequest();
        const bool isReplay = aFlow.GetGameState() == GameStateCode::LEVEL_RESULTS;
        if (!request.empty() && request != myLoadingScene && (request != myCurrentScene || isReplay))
        {
            aFlow.SetGameState(GameStateCode::SCENE_CHANGE_REQUESTED);
            SoundBank& sounds = SoundBank::GetInstance();
            sounds.Stop(MENU_MUSIC);
            sounds.Stop(BUTTON_HOVER_SOUND);
            sounds.Play(LEVEL_CHOICE_SOUND);
            if (myIsLoading)
            {
                myQueuedScene = request;
            }
            else
            {
                // A replay from the results screen loads the scene on screen again.
                StartSceneLoadAsync(request, isReplay);
            }
        }
    }

    aFlow.SetHidden(myIsLoading && aFlow.GetSize() > 2);
    if (myIsLoading || aFlow.IsGamePaused())
    {
        return;
    }

    aFlow.SetGameState(GameStateCode::PLAYING);
    const float levelStep = std::min(deltaTime, MAX_LEVEL_STEP);
    UpdateCameraAndPlayer(levelStep);
    if (aFlow.GetSize() <= 1)
    {
        aFlow.SetGameState(GameStateCode::TITLE_MENU);
        return;
    }
    UpdateLevelObjects(levelStep);
}

void GameWorld::StepLevel(float aDeltaTime)
{
    UpdateCameraAndPlayer(aDeltaTime);
    UpdateLevelObjects(aDeltaTime);
}

void GameWorld::UpdateCameraAndPlayer(float aDeltaTime)
{
    myCamera.Update(aDeltaTime);
    if (myPlayer != nullptr)
    {
        myPlayer->Update(aDeltaTime);
    }
}

void GameWorld::UpdateLevelObjects(float aDeltaTime)
{
    myHover.Update(aDeltaTime);
    // Objects may add to the list while they update, so it is walked by index.
    for (std::size_t index = 0; index < myObjects.size(); ++index)
    {
        GameObject* object = myObjects[index].get();
        if (object != myPlayer && object->IsActive())
        {
            object->Update(aDeltaTime);
        }
    }
    myVfx.Update(aDeltaTime);
    if (myPlayer != nullptr && myCamera.IsFollowEnabled())
    {
        myCamera.UpdateFollow(aDeltaTime, myPlayer->GetTransform().GetPosition());
    }
}

void GameWorld::Render()
{
    if (!myIsLoading)
    {
        RenderSceneObjects(myObjects, myCamera, myVfx, myDirectionalLightOn, myAmbientLightOn, true);
        return;
    }
    RenderLoadingScreen();
}

std::string GameWorld::GetLoadingLine(float aTotalSeconds)
{
    const int dots = static_cast<int>(std::fmod(2.0f * aTotalSeconds, 4.0f));
    return "Loading" + std::string(static_cast<std::size_t>(std::clamp(dots, 0, 3)), '.');
}

void GameWorld::RenderLoadingScreen()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    Qel::RenderTarget* backBuffer = Qel::DX11::GetBackBuffer();
    if (engine == nullptr || backBuffer == nullptr || engine->GetGraphicsEngine() == nullptr)
    {
        return;
    }
    myLoadingText.SetText(GetLoadingLine(engine->GetTotalTime()));
    const Qel::Vector2<std::uint32_t> size = engine->GetRenderSize();
    myLoadingText.SetPosition({static_cast<float>(size.x) / 2.0f - myLoadingText.GetWidth() / 2.0f,
                               static_cast<float>(size.y) / 2.0f});
    backBuffer->SetAsActiveTarget();
    backBuffer->Clear({0.0f, 0.0f, 0.0f, 1.0f});
    engine->GetGraphicsEngine()->GetGraphicsStateStack().SetDefault2DCamera();
    myLoadingText.Render();
}

void GameWorld::BringWindowToFront()
{
    if (myFocusFrames <= 0)
    {
        return;
    }
    --myFocusFrames;
    if (Platform::Window* window = GetEngineWindow())
    {
        window->BringToFront();
    }
}

void GameWorld::StartSceneLoadAsync(const std::string& aScene, bool aForce)
{
    if (aScene.empty() || (!aForce && aScene == myCurrentScene))
    {
        return;
    }
    myVfx.ClearAll();
    // A newer load replaces one whose objects were still being prepared.
    myLoadedObjects.clear();
    myHasLoadedObjects = false;
    myLoadingScene = aScene;
    if (PlayerController* controller =
            myPlayer != nullptr ? myPlayer->GetComponent<PlayerController>() : nullptr)
    {
        controller->ResetToIdle();
    }
    myIsLoading = true;
    mySceneFuture = std::async(std::launch::async,
                               [import = mySceneImport, scene = aScene]
                               {
                                   const Qel::ProfilerScope scope("Async Scene Import");
                                   return import(scene);
                               });
}

bool GameWorld::PollSceneLoad()
{
    if (!myIsLoading)
    {
        return false;
    }
    if (!myHasLoadedObjects)
    {
        if (!mySceneFuture.valid())
        {
            return false;
        }
        if (IsRunning(mySceneFuture))
        {
            HandOverPreparation::RunTaskSlice(Qel::GetSteadyClockCounter());
            return false;
        }
        try
        {
            myLoadedObjects = mySceneFuture.get();
            myHasLoadedObjects = true;
            myPreparation.Reset();
        }
        catch (const std::exception& error)
        {
            return FailLoad(error);
        }
    }
    // The slice bounds real work, so it reads the steady clock even when game time is stepped by hand.
    if (!myPreparation.RunSlice(myLoadedObjects, Qel::GetSteadyClockCounter()))
    {
        return false;
    }
    const std::string scene = myLoadingScene;
    myLoadingScene.clear();
    myIsLoading = false;
    SceneObjects objects = std::move(myLoadedObjects);
    myLoadedObjects.clear();
    myHasLoadedObjects = false;
    ApplyLoadedScene(std::move(objects), scene);
    myFocusFrames = FOCUS_FRAMES_AFTER_LOAD;
    BringWindowToFront();
    HandInEngineWindow(myInput);

    if (!myQueuedScene.empty() && myQueuedScene != myCurrentScene)
    {
        const std::string queued = std::move(myQueuedScene);
        myQueuedScene.clear();
        StartSceneLoadAsync(queued, false);
    }
    return false;
}

bool GameWorld::FailLoad(const std::exception& anError)
{
    const std::string scene = myLoadingScene;
    myLoadingScene.clear();
    myIsLoading = false;
    // A bad level must not end the game: it is left as an unload leaves the world, and the menus take
    // over.
    std::cout << "[GameWorld] Failed to load scene: " << scene << ": " << DescribeException(anError) << "\n";
    myQueuedScene.clear();
    myFocusFrames = 0;
    SoundBank::GetInstance().StopAll();
    SoundBank::GetInstance().Play(MENU_MUSIC);
    ClearScene(true, true);
    return true;
}

void GameWorld::ApplyLoadedScene(SceneObjects&& aObjects, const std::string& aScene)
{
    const Qel::ProfilerScope scope("GameWorld::ApplyLoadedScene");
    if (IsRunning(myAnimationPreload))
    {
        const Qel::ProfilerScope waitScope("PlayerAnimator::PreloadWait");
        myAnimationPreload.wait();
    }

    myCurrentScene = aScene;
    myCamera.SetLevelName(myCurrentScene);
    myCamera.ResetShake();
    myCamera.ExitBloodSeaMode();
    // No blood sea of the last level may count as risen in the new one.
    EyeTrigger::ClearBloodSeaActive();
    LevelRegistry::GetInstance().SetCurrentScene(myCurrentScene);
    FogComponent::SetCurrentSceneName(myCurrentScene);
    PlayerAnimator::SetCurrentLevelPath(myCurrentScene);

    // The old level's rank system goes with its objects; the collision system must not reach it after.
    if (CollisionSystemComponent* collision = FindCollisionSystem(myObjects))
    {
        collision->ClearRankSystem();
    }
    ResetObjects(false);
    std::cout << "[GameWorld] Loaded " << aObjects.size() << " objects from scene: " << myCurrentScene
              << "\n";

    const ComposeResult composed = SceneComposer::ComposeLoadedScene(aObjects, myComposer);
    myPlayer = composed.player;
    myComposer.SetPlayer(myPlayer);
    if (composed.sceneCamera != nullptr)
    {
        const Qel::Transform& transform = composed.sceneCamera->GetTransform();
        myCamera.SetSceneCameraTransform(transform.GetPosition(), transform.GetRotation());
    }
    myCamera.LoadProfiles();
    if (composed.bloodSea == nullptr)
    {
        std::cout << "[GameWorld] No object tagged 'BloodSea' found in scene: " << myCurrentScene << "\n";
    }
    SoundBank::GetInstance().PlayMusicForLevel(myCurrentScene);
}

void GameWorld::ResetObjects(bool aDropPlayer)
{
    myHover.Clear();
    myHover.ClearLists();
    SceneObjects kept;
    kept.reserve(myObjects.size());
    for (std::unique_ptr<GameObject>& object : myObjects)
    {
        const bool isPlayer = object.get() == myPlayer;
        if (object->IsPersistent() && !(aDropPlayer && isPlayer))
        {
            myHover.Register(object.get());
            kept.push_back(std::move(object));
            continue;
        }
        if (isPlayer)
        {
            myPlayer = nullptr;
            myComposer.SetPlayer(nullptr);
        }
        object.reset();
    }
    myObjects = std::move(kept);
}

void GameWorld::ClearScene(bool aClearSceneName, bool aDropPlayer)
{
    SoundBank::GetInstance().Stop(BUTTON_HOVER_SOUND);
    myVfx.ClearAll();
    myCamera.ExitBloodSeaMode();
    myCamera.ResetShake();
    myCamera.SetLevelName("");
    if (aClearSceneName)
    {
        myCurrentScene.clear();
        LevelRegistry::GetInstance().SetCurrentScene("");
    }
    ResetObjects(aDropPlayer);
    if (CollisionSystemComponent* collision = FindCollisionSystem(myObjects))
    {
        collision->SetPlayer(nullptr);
        collision->ClearRankSystem();
    }
}

void GameWorld::WaitAndDiscardRunningLoad()
{
    if (IsRunning(mySceneFuture))
    {
        mySceneFuture.wait();
    }
    if (myIsLoading && !myHasLoadedObjects && mySceneFuture.valid())
    {
        try
        {
            static_cast<void>(mySceneFuture.get());
        }
        catch (const std::exception& error)
        {
            // The load is thrown away whatever its outcome; its failure only needs saying.
            std::cout << "[GameWorld] Failed to load scene: " << myLoadingScene << ": "
                      << DescribeException(error) << "\n";
        }
    }
    myIsLoading = false;
    myLoadingScene.clear();
    myQueuedScene.clear();
    myFocusFrames = 0;
    myLoadedObjects.clear();
    myHasLoadedObjects = false;
}

void GameWorld::ReloadScene()
{
    if (myCurrentScene.empty())
    {
        return;
    }
    const std::string scene = myCurrentScene;
    WaitAndDiscardRunningLoad();
    SoundBank::GetInstance().StopAll();
    ClearScene(true, true);
    StartSceneLoadAsync(scene, true);
}

void GameWorld::UnloadScene()
{
    WaitAndDiscardRunningLoad();
    SoundBank& sounds = SoundBank::GetInstance();
    sounds.StopAll();
    sounds.Play(MENU_MUSIC);
    ClearScene(true, true);
}
