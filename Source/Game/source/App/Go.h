// The game's main function and its pieces: the window-message hook, the frame loop, and the start
// overrides. Go runs on the main thread from start to teardown and returns the process's exit code.
#pragma once

#include "Platform/Window/WindowMessages.h"

class GameWorld;

// Loads the settings, starts the engine with the game's overrides, builds the world and the menu
// stack, runs frames until a quit, and tears down in order. 0 after an orderly run; 1 when the engine
// did not start or the menus' layout or dialogue document could not be read, after saying so in one
// line on standard error.
int Go();

// The game's hook into the window procedure. While a world is set it hides the cursor and feeds every
// message to the world's input handler; it posts the quit on WM_DESTROY and leaves everything else to
// default processing.
Qel::LResult GameWindowHook(Qel::WindowHandle aWindow, std::uint32_t aMessage, Qel::WParam aWParam,
                            Qel::LParam aLParam);

// The world the hook feeds; null before the world exists and from the start of its teardown.
void SetHookWorld(GameWorld* aWorld);
GameWorld* GetHookWorld();

// Overrides the create parameters as this game wants them: the start resolution nearest the screen,
// full screen, borderless, not maximised, only the file watcher among the debug features, and the hook.
void ApplyGameOverrides(int aScreenWidth, int aScreenHeight);

// One frame after another while the engine's frame begins. When the stack asks to end, the frame is
// still ended once and the loop left; the world is drawn only with more than two states stacked.
template <typename EngineFrames, typename World, typename Stack>
void RunFrameLoop(EngineFrames& aEngine, World& aWorld, Stack& aStack)
{
    while (aEngine.BeginFrame())
    {
        const bool keepRunning = aStack.Update(aWorld.GetInput());
        if (!keepRunning)
        {
            aEngine.EndFrame();
            break;
        }
        aWorld.Update(aStack);
        if (aStack.GetSize() > 2)
        {
            aWorld.Render();
        }
        aStack.Render();
        aEngine.EndFrame();
    }
}
