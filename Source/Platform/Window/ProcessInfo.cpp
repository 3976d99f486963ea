#include "Platform/Window/ProcessInfo.h"

#include "Platform/Window/VideoSubsystem.h"

#include <SDL.h>
#include <system_error>

namespace Platform
{
std::filesystem::path GetExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
    {
        return {};
    }
    return executable.parent_path();
}

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
