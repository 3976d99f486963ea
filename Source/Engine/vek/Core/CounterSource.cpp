#include "vek/Core/CounterSource.h"

#include <chrono>

namespace Qel
{
namespace
{
class SteadyClockCounter final : public CounterSource
{
public:
    std::int64_t GetFrequency() const override { return 1'000'000'000; }
    std::int64_t GetCount() const override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    }
};
} // namespace

const CounterSource& GetSteadyClockCounter()
{
    static const SteadyClockCounter counter;
    return counter;
}
} // namespace Qel
