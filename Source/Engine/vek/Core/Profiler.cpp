#include "vek/Core/Profiler.h"

namespace Qel
{
Profiler& Profiler::GetInstance()
{
    static Profiler profiler;
    return profiler;
}
} // namespace Qel
