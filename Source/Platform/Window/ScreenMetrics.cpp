#include "Platform/Window/ScreenMetrics.h"

#include "Platform/Window/VideoSubsystem.h"

#include <SDL.h>

namespace Platform
{
ScreenSize GetPrimaryScreenSize()
{
    VideoSubsystem video;
    if (!video.IsReady())
    {
        return {};
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
    {
        return {};
    }
    return {mode.w, mode.h};
}
} // namespace Platform
