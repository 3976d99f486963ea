// Debug-feature bits as the settings file names them, and the test the engine applies to them.
// Constants and a pure function; usable from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace Qel
{
enum DebugFeature : std::uint32_t
{
    DEBUG_FEATURE_NONE = 0,
    DEBUG_FEATURE_FPS = 1,
    DEBUG_FEATURE_MEM = 2,
    DEBUG_FEATURE_DRAWCALLS = 4,
    DEBUG_FEATURE_CPU = 8,
    DEBUG_FEATURE_FPS_GRAPH = 16,
    DEBUG_FEATURE_FILEWATCHER = 32,
    DEBUG_FEATURE_OPTIMIZE_WARNINGS = 64,
    DEBUG_FEATURE_MEMORY_TRACKING_STACK_TRACES = 128,
    DEBUG_FEATURE_MEMORY_TRACKING_ALL_ALLOCATIONS = 256,
    DEBUG_FEATURE_ALL = 511,
};

// The bit of a name in the settings file ("Fps", "Filewatcher", "All", "None", ...); empty when unknown.
std::optional<std::uint32_t> FindDebugFeature(std::string_view aName);

// True when every one of the nine feature bits is on (whatever the mask), otherwise when the word and
// the mask share a bit.
constexpr bool IsDebugFeatureOn(std::uint32_t aFeatureBits, std::uint32_t aMask)
{
    return (aFeatureBits & DEBUG_FEATURE_ALL) == DEBUG_FEATURE_ALL || (aFeatureBits & aMask) != 0;
}
} // namespace Qel
