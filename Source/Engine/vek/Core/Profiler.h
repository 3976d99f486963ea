// Named profiling scopes around slow operations (scene loading, model loading, component start-up)
// and the process-wide profiler they would report to. This build records nothing: a scope is two
// zeroed words and the recording call is empty. Any thread may open scopes and fetch the profiler.
#pragma once

#include <cstdint>
#include <string_view>

namespace Qel
{
class ProfilerScope
{
public:
    // aName is a string literal such as "Qel::LoadScene" or "MeshComponent::Init".
    explicit ProfilerScope(const char* aName) { static_cast<void>(aName); }
    ~ProfilerScope() = default;
    ProfilerScope(const ProfilerScope&) = delete;
    ProfilerScope& operator=(const ProfilerScope&) = delete;

private:
    std::uint64_t myStart = 0;
    std::uint64_t myReserved = 0;
};

class Profiler
{
public:
    // Created on first use, thread-safely, and destroyed at process exit.
    static Profiler& GetInstance();

    // A timing the caller measured, with a tag such as "cache-hit" or a component's class name.
    void RecordTiming(std::string_view aScopeName, std::string_view aTag, std::uint64_t aStartNanoseconds,
                      std::uint64_t aEndNanoseconds)
    {
        static_cast<void>(aScopeName);
        static_cast<void>(aTag);
        static_cast<void>(aStartNanoseconds);
        static_cast<void>(aEndNanoseconds);
    }

private:
    Profiler() = default;
};
} // namespace Qel
