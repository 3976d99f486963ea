// Picking the game's start resolution from the screen size, and the aspect ratios the engine derives
// from a render size. Pure functions; any thread.
#pragma once

#include "vek/Math/Vector2.h"

#include <cstdint>
#include <span>

namespace Qel
{
// The resolutions the game offers at start, in the order they are tried.
inline constexpr Vector2<std::uint32_t> START_RESOLUTIONS[3] = {{1280, 720}, {1920, 1080}, {2560, 1440}};

// The candidate nearest to the screen by squared distance; an exact tie goes to the greater height.
// An empty list gives (0, 0).
Vector2<std::uint32_t>
ChooseResolution(std::int32_t aScreenWidth, std::int32_t aScreenHeight,
                 std::span<const Vector2<std::uint32_t>> someCandidates = START_RESOLUTIONS);

struct SizeRatios
{
    float largerBySmaller = 1.0f;
    float smallerByLarger = 1.0f;
    Vector2<float> largerBySmallerVector{1.0f, 1.0f};
    Vector2<float> smallerByLargerVector{1.0f, 1.0f};
};

// The ratios of the larger to the smaller side and back. A size with a zero side (a minimised window)
// has no shape: all ratios are 1 rather than infinite.
SizeRatios ComputeSizeRatios(std::uint32_t aWidth, std::uint32_t aHeight);
} // namespace Qel
