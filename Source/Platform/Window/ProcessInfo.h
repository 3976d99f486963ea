// Facts about the running process and the desktop: the executable's folder and the primary screen's
// size. Any thread may ask for the folder; the screen size starts SDL's video subsystem when needed and
// belongs to the main thread.
#pragma once

#include <filesystem>

namespace Platform
{
struct ScreenSize
{
    int width = 0;
    int height = 0;
};

// The folder holding the running executable, resolved through /proc/self/exe; empty when unknown.
std::filesystem::path GetExecutableFolder();

// The primary display's desktop size in pixels, readable before any window exists. When no display can
// be opened the result is 0 x 0 and callers keep their configured sizes.
ScreenSize GetPrimaryScreenSize();
} // namespace Platform
