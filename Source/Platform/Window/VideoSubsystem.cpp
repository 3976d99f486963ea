#include "Platform/Window/VideoSubsystem.h"

#include "Platform/Window/QuitSignals.h"

#include <SDL.h>

namespace Platform
{
VideoSubsystem::VideoSubsystem()
{
    // The program routes SIGINT and SIGTERM itself, so that they reach the quit path even before a window
    // exists and whatever SDL does with its own handlers.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    InstallQuitSignalHandlers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
    {
        myIsReady = true;
    }
    else
    {
        myError = SDL_GetError();
    }
}

VideoSubsystem::~VideoSubsystem()
{
    if (myIsReady)
    {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}
} // namespace Platform
