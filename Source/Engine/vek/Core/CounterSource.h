// Where the frame clock reads time from: a monotonic counter and its frequency. The engine uses the
// steady clock; tests hand the frame timer a counter they advance by hand. Implementations must be
// safe to read from the thread that ticks the timer.
#pragma once

#include <cstdint>

namespace Qel
{
class CounterSource
{
public:
    virtual ~CounterSource() = default;
    // Counts per second; always greater than zero.
    virtual std::int64_t GetFrequency() const = 0;
    virtual std::int64_t GetCount() const = 0;
};

// Nanoseconds of std::chrono::steady_clock: frequency 1e9. One process-wide instance.
const CounterSource& GetSteadyClockCounter();
} // namespace Qel
