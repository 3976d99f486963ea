// The seam between the pad logic and the pads themselves: read pad 0 to 3 or learn that it is not
// there. The engine's pad wrapper reads through it; tests give it a backend of their own. Main thread.
#pragma once

#include "Platform/Pad/PadState.h"

#include <cstdint>

namespace Platform
{
inline constexpr std::uint32_t PAD_SLOT_COUNT = 4;

class PadBackend
{
public:
    virtual ~PadBackend() = default;
    // False when no pad answers in that slot; outState is then left zero.
    virtual bool GetState(std::uint32_t aIndex, PadState& outState) = 0;
};

// The process-wide backend over SDL's game controllers, created on first use.
PadBackend& GetDefaultPadBackend();
} // namespace Platform
