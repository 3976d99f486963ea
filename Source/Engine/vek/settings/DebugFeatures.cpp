#include "vek/settings/DebugFeatures.h"

#include <array>
#include <utility>

namespace Qel
{
std::optional<std::uint32_t> FindDebugFeature(std::string_view aName)
{
    static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 11> NAMES = {{
        {"Fps", DEBUG_FEATURE_FPS},
        {"Mem", DEBUG_FEATURE_MEM},
        {"Drawcalls", DEBUG_FEATURE_DRAWCALLS},
        {"Cpu", DEBUG_FEATURE_CPU},
        {"FpsGraph", DEBUG_FEATURE_FPS_GRAPH},
        {"Filewatcher", DEBUG_FEATURE_FILEWATCHER},
        {"OptimizeWarnings", DEBUG_FEATURE_OPTIMIZE_WARNINGS},
        {"MemoryTrackingStackTraces", DEBUG_FEATURE_MEMORY_TRACKING_STACK_TRACES},
        {"MemoryTrackingAllAllocations", DEBUG_FEATURE_MEMORY_TRACKING_ALL_ALLOCATIONS},
        {"All", DEBUG_FEATURE_ALL},
        {"None", DEBUG_FEATURE_NONE},
    }};
    for (const auto& [name, bit] : NAMES)
    {
        if (name == aName)
        {
            return bit;
        }
    }
    return std::nullopt;
}
} // namespace Qel
