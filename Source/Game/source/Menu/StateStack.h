// The menu state stack as the main loop drives it. Until the menus arrive the stack holds no states:
// it keeps running (Update never asks the program to end), draws nothing, and keeps the two scene
// callbacks the world gives it. The process-wide stack is the one Init was last called on. Main thread.
#pragma once

#include "Runtime/InputHandler.h"

#include <functional>

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
    int GetSize() const { return 0; }
    void Render();

    static StateStack* GetInstance();

private:
    std::function<void()> myOnUnloadScene;
    std::function<void()> myOnReloadScene;
};
