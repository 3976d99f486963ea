#include "vek/settings/ResolutionChoice.h"

#include <algorithm>
#include <limits>

namespace Qel
{
namespace
{
// Unsigned so that absurd screen sizes wrap instead of overflowing.
std::uint64_t Distance(std::int32_t aScreen, std::uint32_t aCandidate)
{
    const std::int64_t difference =
        static_cast<std::int64_t>(aScreen) - static_cast<std::int64_t>(aCandidate);
    return static_cast<std::uint64_t>(difference < 0 ? -difference : difference);
}
} // namespace

Vector2<std::uint32_t> ChooseResolution(std::int32_t aScreenWidth, std::int32_t aScreenHeight,
                                        std::span<const Vector2<std::uint32_t>> someCandidates)
{
    Vector2<std::uint32_t> best;
    std::uint64_t bestDistance = std::numeric_limits<std::uint64_t>::max();
    for (const Vector2<std::uint32_t>& candidate : someCandidates)
    {
        const std::uint64_t dx = Distance(aScreenWidth, candidate.x);
        const std::uint64_t dy = Distance(aScreenHeight, candidate.y);
        const std::uint64_t distance = dy * dy + dx * dx;
        if (distance < bestDistance || (distance == bestDistance && candidate.y > best.y))
        {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

SizeRatios ComputeSizeRatios(std::uint32_t aWidth, std::uint32_t aHeight)
{
    SizeRatios ratios;
    if (aWidth == 0 || aHeight == 0)
    {
        return ratios;
    }
    const float larger = static_cast<float>(std::max(aWidth, aHeight));
    const float smaller = static_cast<float>(std::min(aWidth, aHeight));
    ratios.largerBySmaller = larger / smaller;
    ratios.smallerByLarger = smaller / larger;
    ratios.largerBySmallerVector = {1.0f, ratios.largerBySmaller};
    ratios.smallerByLargerVector = {1.0f, ratios.smallerByLarger};
    return ratios;
}
} // namespace Qel
