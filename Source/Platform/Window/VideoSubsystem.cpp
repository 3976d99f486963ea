#include "Platform/Window/VideoSubsystem.h"

#include "Platform/Window/QuitSignals.h"

#include <SDL.h>

#if defined(__SANITIZE_ADDRESS__)
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#endif

namespace Platform
{
namespace
{
#if defined(__SANITIZE_ADDRESS__)
// The leak checker runs at exit, after SDL and Mesa have unloaded the GL driver, and cannot name the
// module of what the driver left behind, so its suppressions would not match. Keeping the driver's
// libraries loaded until exit lets the reports name them.
void KeepGraphicsDriversLoaded()
{
    static const bool theIsDone = []
    {
        const char* folder = std::getenv("LIBGL_DRIVERS_PATH");
        const std::string driverFolder = folder != nullptr ? folder : "/usr/lib/x86_64-linux-gnu/dri";
        for (const std::string& library : {std::string("libEGL_mesa.so.0"), std::string("libGLX_mesa.so.0"),
                                           driverFolder + "/swrast_dri.so"})
        {
            dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
        }
        return true;
    }();
    static_cast<void>(theIsDone);
}
#else
void KeepGraphicsDriversLoaded()
{
}
#endif
} // namespace

VideoSubsystem::VideoSubsystem()
{
    KeepGraphicsDriversLoaded();
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
