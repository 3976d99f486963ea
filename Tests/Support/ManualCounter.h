// A counter source that moves only when a test advances it.
#pragma once

#include "vek/Core/CounterSource.h"

#include <cstdint>

namespace QelTest
{
class ManualCounter final : public Qel::CounterSource
{
public:
    explicit ManualCounter(std::int64_t aFrequency, std::int64_t aStart = 1000)
        : myFrequency(aFrequency), myCount(aStart)
    {
    }

    std::int64_t GetFrequency() const override { return myFrequency; }
    std::int64_t GetCount() const override { return myCount; }
    void Advance(std::int64_t aCounts) { myCount += aCounts; }

private:
    std::int64_t myFrequency;
    std::int64_t myCount;
};
} // namespace QelTest
