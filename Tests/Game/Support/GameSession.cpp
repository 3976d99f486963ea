#include "Game/Support/GameSession.h"

#include "App/Go.h"
#include "Menu/LevelSelectMenu.h"
#include "Menu/MenuState.h"
#include "Platform/Window/MessagePump.h"
#include "Player/PlayerController.h"
#include "Session/LevelCounters.h"
#include "Session/LevelProgress.h"
#include "Session/LevelRegistry.h"
#include "Sound/SoundBank.h"
#include "World/GameWorld.h"
#include "vek/Core/Engine.h"
#include "vek/Core/WindowHandler.h"
#include "vek/settings/EngineCreateParameters.h"
#include "vek/settings/Settings.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace GameTest
{
namespace
{
std::string ReadShipped(const std::string& aName)
{
    std::ifstream file(Qel::GetExecutableFolder() / "settings" / aName);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// What one test leaves in the process-wide objects must not steer the next one.
void ResetProcessState()
{
    LevelRegistry& registry = LevelRegistry::GetInstance();
    static_cast<void>(registry.TakeSceneRequest());
    registry.SetCurrentScene("");
    LevelSelectMenu::SetLastSelectedLevel(0);
    ResetCollectedCoinCount();
    ResetCollectedKeyCount();
    ResetPlayerHealth();
    // A fresh record that reads the progress file of the working folder in use when first asked.
    LevelProgress::GetProcessProgress() = LevelProgress();
    SoundBank& sounds = SoundBank::GetInstance();
    sounds.StopAll();
    if (sounds.IsMuted())
    {
        sounds.ToggleMute();
    }
}

Platform::Window* GetGameWindow()
{
    Qel::Engine* engine = Qel::Engine::GetInstance();
    return engine != nullptr && engine->GetHWND() != nullptr ? Qel::GetPlatformWindow(*engine->GetHWND())
                                                             : nullptr;
}
} // namespace

// The engine's side of the loop: the director acts before the frame's messages are pumped, and the
// clock moves once the frame has ended.
class GameSession::EngineFrames
{
public:
    EngineFrames(GameSession& aSession, const Director& aDirector)
        : mySession(aSession), myDirector(aDirector)
    {
    }

    bool BeginFrame()
    {
        if (!myDirector(mySession))
        {
            return false;
        }
        return Qel::Engine::GetInstance()->BeginFrame();
    }

    void EndFrame()
    {
        Qel::Engine::GetInstance()->EndFrame();
        mySession.myClock.Advance(1);
        ++mySession.myFrame;
    }

private:
    GameSession& mySession;
    const Director& myDirector;
};

class GameSession::StackFrames
{
public:
    explicit StackFrames(GameSession& aSession) : mySession(aSession) {}

    bool Update(InputHandler& anInput)
    {
        const bool keepRunning = mySession.myStack->Update(anInput);
        mySession.myHasQuit = !keepRunning;
        mySession.NoteState();
        return keepRunning;
    }
    int GetSize() const { return mySession.myStack->GetSize(); }
    void Render() { mySession.myStack->Render(); }
    StateStack& GetStack() { return *mySession.myStack; }

private:
    GameSession& mySession;
};

class GameSession::WorldFrames
{
public:
    explicit WorldFrames(GameSession& aSession) : mySession(aSession) {}

    InputHandler& GetInput() { return mySession.myWorld->GetInput(); }
    void Update(StackFrames& aStack)
    {
        mySession.myWorld->Update(aStack.GetStack());
        mySession.NoteState();
    }
    void Render()
    {
        if (mySession.myFrame % mySession.myDrawInterval == 0)
        {
            mySession.myWorld->Render();
        }
    }

private:
    GameSession& mySession;
};

GameSession::GameSession(const Options& someOptions)
    : myOptions(someOptions), myWorkingPath(myFolder.GetPath())
{
    // Headless however the binary is started: no window on a desktop, no sound on a device.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ResetProcessState();
    myFolder.WriteFile(StateStack::UI_SETTINGS_PATH, ReadShipped("UISettings.json"));
    myFolder.WriteFile(StateStack::DIALOGUES_PATH, ReadShipped("Dialogues.json"));
    std::filesystem::create_directories(myWorkingPath / "Source/Game/data/settings");

    if (!Qel::LoadSettings("Game.json"))
    {
        myStartError = "the shipped settings/Game.json could not be read";
        return;
    }
    // The game's own overrides, then a small window and the test's clock.
    ApplyGameOverrides(static_cast<int>(myOptions.width), static_cast<int>(myOptions.height));
    Qel::EngineCreateParameters& parameters = Qel::GetEngineCreateParameters();
    parameters.windowSize = {myOptions.width, myOptions.height};
    parameters.renderSize = {myOptions.width, myOptions.height};
    parameters.startInFullscreen = false;
    parameters.borderless = false;
    if (!myOptions.keepGameDebugFeatures)
    {
        parameters.debugFeatures = 0;
    }
    parameters.vsync = false;
    parameters.frameClock = &myClock;
    const bool started = Qel::Engine::Start();
    parameters.frameClock = nullptr;
    if (!started)
    {
        myStartError = "the engine did not start";
        return;
    }

    myWorld = std::make_unique<GameWorld>(myClock);
    myStack = std::make_unique<StateStack>();
    try
    {
        myStack->Init();
    }
    catch (const SettingsDocumentError& anError)
    {
        myStartError = anError.what();
        return;
    }
    SetHookWorld(myWorld.get());
    myWorld->Init();
    GameWorld* world = myWorld.get();
    myStack->SetOnUnloadScene([world] { world->UnloadScene(); });
    myStack->SetOnReloadScene([world] { world->ReloadScene(); });
}

GameSession::~GameSession()
{
    myStack.reset();
    SetHookWorld(nullptr);
    myWorld.reset();
    UnplugPad();
    Qel::Engine::Shutdown();
    ResetProcessState();
}

void GameSession::Run(const Director& aDirector)
{
    if (!myStartError.empty())
    {
        return;
    }
    EngineFrames engine(*this, aDirector);
    WorldFrames world(*this);
    StackFrames stack(*this);
    RunFrameLoop(engine, world, stack);
}

void GameSession::NoteState()
{
    const GameState state = myStack->GetGameState();
    if (myStateTrace.empty() || myStateTrace.back() != state)
    {
        myStateTrace.push_back(state);
    }
}

void GameSession::KeyDown(std::uint32_t aKey)
{
    if (!IsKeyHeld(aKey))
    {
        myHeldKeys.push_back(aKey);
    }
    Platform::PostMessage(GetGameWindow(), WM_KEYDOWN, aKey, 0);
}

void GameSession::KeyUp(std::uint32_t aKey)
{
    myHeldKeys.erase(std::remove(myHeldKeys.begin(), myHeldKeys.end(), aKey), myHeldKeys.end());
    Platform::PostMessage(GetGameWindow(), WM_KEYUP, aKey, 0);
}

void GameSession::ReleaseAllKeys()
{
    const std::vector<std::uint32_t> held = myHeldKeys;
    for (const std::uint32_t key : held)
    {
        KeyUp(key);
    }
}

bool GameSession::IsKeyHeld(std::uint32_t aKey) const
{
    return std::find(myHeldKeys.begin(), myHeldKeys.end(), aKey) != myHeldKeys.end();
}

QelTest::VirtualPad* GameSession::PlugPad()
{
    if (myPad == nullptr)
    {
        // A test window never has the focus, without which SDL would drop the pad's input.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        myPad = std::make_unique<QelTest::VirtualPad>();
    }
    return myPad->IsAttached() ? myPad.get() : nullptr;
}

void GameSession::UnplugPad()
{
    myPad.reset();
}

MenuState* GameSession::GetTop() const
{
    return myStack != nullptr ? myStack->GetState(myStack->GetSize() - 1) : nullptr;
}

std::filesystem::path GameSession::GetProgressFile() const
{
    return ResolveLevelProgressPath(myWorkingPath);
}

} // namespace GameTest
