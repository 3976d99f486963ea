// Sends a font's CPU atlas to the device as a 1024 x 1024 RGBA texture with its whole mip chain, and
// hands the view to the font's atlas texture. The chain is averaged on the CPU, so the upload is one
// creation call. Any thread: the device makes the GL texture at once on the main thread, elsewhere at
// its first use there.
#pragma once

#include "vek/text/FontData.h"

#include <cstdint>
#include <vector>

namespace Qel::impl
{
// False, with the font's atlas left empty, when there is no device or it refuses the texture or view.
bool UploadFontAtlas(InternalTextAndFontData& aFont);

// Every level below a square RGBA image of aSide pixels down to 1 x 1, each texel the average of the
// four above it, channel by channel.
std::vector<std::vector<std::uint32_t>> BuildMipChain(const std::vector<std::uint32_t>& someLevel0,
                                                      std::uint32_t aSide);
} // namespace Qel::impl
