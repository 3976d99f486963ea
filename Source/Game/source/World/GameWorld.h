// The game world as the main loop drives it. Until the world's own code (levels, objects, the
// background scene load) arrives, this world is empty: it keeps the input handler and the world's clock
// up to date each frame and has no scene to draw, unload or reload. Main thread only.
#pragma once

#include "Runtime/InputHandler.h"
#include "Runtime/Timer.h"

class StateStack;

class GameWorld
{
public:
    GameWorld() = default;
    ~GameWorld() = default;
    GameWorld(const GameWorld&) = delete;
    GameWorld& operator=(const GameWorld&) = delete;

    // Once, after the menu stack exists: gives the input handler the engine's window.
    void Init();
    InputHandler& GetInput() { return myInput; }
    // Advances the world's clock, then makes the input pending since last frame current.
    void Update(StateStack& aStateStack);
    // The world has no scene yet, so there is nothing to draw.
    void Render();
    void UnloadScene();
    void ReloadScene();

    const Timer& GetTimer() const { return myTimer; }
    int GetUpdateCount() const { return myUpdateCount; }

private:
    InputHandler myInput;
    Timer myTimer;
    int myUpdateCount = 0;
};
