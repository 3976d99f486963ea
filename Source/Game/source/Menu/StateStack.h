// The menu state stack as the main loop and the world drive it. Until the menus arrive the stack holds
// no states: it keeps running (Update never asks the program to end), draws nothing, keeps the two
// scene callbacks the world gives it and the game-state code the world and the menus share. The
// process-wide stack is the one Init was last called on. Main thread.
#pragma once

#include "Runtime/InputHandler.h"

#include <cstdint>
#include <functional>

// 0 title menu, 1 credits, 2 level select, 3 scene change requested, 4 playing, 5 in-game settings,
// 6 level results.
using GameState = std::int32_t;

class StateStack
{
public:
    StateStack() = default;
    ~StateStack();
    StateStack(const StateStack&) = delete;
    StateStack& operator=(const StateStack&) = delete;

    // Makes this the process-wide stack.
    void Init();
    void SetOnUnloadScene(std::function<void()> aCallback) { myOnUnloadScene = std::move(aCallback); }
    void SetOnReloadScene(std::function<void()> aCallback) { myOnReloadScene = std::move(aCallback); }
    // False would end the program; with no menu to ask for that, always true.
    bool Update(InputHandler& aInput);
    void Render();

    int GetSize() const { return myStandInSize; }
    bool IsGamePaused() const { return myIsStandInPaused; }
    GameState GetGameState() const { return myGameState; }
    void SetGameState(GameState aState) { myGameState = aState; }
    void SetHidden(bool aIsHidden) { myIsHidden = aIsHidden; }
    bool IsHidden() const { return myIsHidden; }
    float GetDeltaTime() const { return myDeltaTime; }
    void SetDeltaTime(float aDeltaTime) { myDeltaTime = aDeltaTime; }

    // Until the menus exist: how many states the stack stands for (a level is played over three: title,
    // level select and HUD) and whether its top one pauses the game.
    void SetStandInSize(int aSize) { myStandInSize = aSize; }
    void SetStandInPaused(bool aIsPaused) { myIsStandInPaused = aIsPaused; }

    static StateStack* GetInstance();

private:
    bool myIsHidden = false;
    GameState myGameState = 0;
    float myDeltaTime = 0.0f;
    std::function<void()> myOnUnloadScene;
    std::function<void()> myOnReloadScene;
    int myStandInSize = 0;
    bool myIsStandInPaused = false;
};
