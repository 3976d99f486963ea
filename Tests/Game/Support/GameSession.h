// The whole program inside a test: the real engine started headless at a small size with a frame clock
// of the test's own, the world and the menu stack set up as the game's entry sets them up, in a working
// folder of the test's own holding the shipped menu documents, run by the program's own frame loop. A
// director called before every frame plays the person at the keyboard and the pad: keys go in as window
// messages through the game's window hook, the pad is SDL's virtual game controller. Every frame moves
// the clock by a sixtieth of a second, so a run is the same however fast the machine draws. Main thread.
#pragma once

#include "Game/Support/LevelWatch.h"
#include "Menu/StateStack.h"
#include "Support/ManualCounter.h"
#include "Support/VirtualPad.h"
#include "Support/WorkingFolder.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class GameObject;
class GameWorld;
class MenuState;

namespace GameTest
{
class GameSession
{
public:
    static constexpr int FRAMES_PER_SECOND = RUN_FRAMES_PER_SECOND;

    struct Options
    {
        std::uint32_t width = 320;
        std::uint32_t height = 180;
        // The game's own debug features (its file watcher) rather than none, for runs timed as a player's.
        bool keepGameDebugFeatures = false;
    };

    // Called before every frame; false ends the run there.
    using Director = std::function<bool(GameSession&)>;

    explicit GameSession(const Options& someOptions);
    GameSession() : GameSession(Options{}) {}
    // Tears down in the game's own order: stack, hook, world, engine.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Empty when the engine, the stack and the world all started.
    const std::string& GetStartError() const { return myStartError; }

    // The program's frame loop until the game quits (the stack empties) or the director says stop.
    void Run(const Director& aDirector);
    bool HasQuit() const { return myHasQuit; }

    // Queued as window messages; the world takes them in the next frame and the menus the frame after.
    void KeyDown(std::uint32_t aKey);
    void KeyUp(std::uint32_t aKey);
    // Every key the session holds goes up.
    void ReleaseAllKeys();
    bool IsKeyHeld(std::uint32_t aKey) const;

    // Plugs SDL's virtual pad in (once); null when SDL would not attach it.
    QelTest::VirtualPad* PlugPad();
    void UnplugPad();
    QelTest::VirtualPad* GetPad() const { return myPad.get(); }

    // The world is drawn once every aFrames frames (1: every frame, as the game does).
    void SetDrawInterval(int aFrames) { myDrawInterval = aFrames < 1 ? 1 : aFrames; }

    GameWorld& GetWorld() const { return *myWorld; }
    StateStack& GetStack() const { return *myStack; }
    MenuState* GetTop() const;
    template <typename T>
    T* Top() const
    {
        return dynamic_cast<T*>(GetTop());
    }
    std::int64_t GetFrame() const { return myFrame; }
    // Every change of the game-state code, read after the stack's update and after the world's.
    const std::vector<GameState>& GetStateTrace() const { return myStateTrace; }
    const std::filesystem::path& GetWorkingFolder() const { return myWorkingPath; }
    // The progress file as the game resolves it in the working folder.
    std::filesystem::path GetProgressFile() const;

private:
    class EngineFrames;
    class WorldFrames;
    class StackFrames;

    void NoteState();

    Options myOptions;
    QelTest::ManualCounter myClock{FRAMES_PER_SECOND};
    QelTest::WorkingFolder myFolder;
    std::filesystem::path myWorkingPath;
    std::unique_ptr<GameWorld> myWorld;
    std::unique_ptr<StateStack> myStack;
    std::unique_ptr<QelTest::VirtualPad> myPad;
    std::vector<std::uint32_t> myHeldKeys;
    std::vector<GameState> myStateTrace;
    std::string myStartError;
    std::int64_t myFrame = 0;
    int myDrawInterval = 1;
    bool myHasQuit = false;
};
} // namespace GameTest
