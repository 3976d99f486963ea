// The primary screen's size. Starts SDL's video subsystem for the query when needed; main thread only.
#pragma once

namespace Platform
{
struct ScreenSize
{
    int width = 0;
    int height = 0;
};

// The primary display's desktop size in pixels, readable before any window exists. When no display can
// be opened the result is 0 x 0 and callers keep their configured sizes.
ScreenSize GetPrimaryScreenSize();
} // namespace Platform
