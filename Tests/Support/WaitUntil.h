// Waits for work on another thread (a task, the audio device, a file watcher) to show its result. The
// deadline is far beyond any wait a test expects, so a slow or busy machine never fails a test; only a
// result that never comes does. Tests check the result, never the time it took.
#pragma once

#include <chrono>
#include <thread>

namespace QelTest
{
inline constexpr std::chrono::seconds WAIT_DEADLINE{60};

// Runs aStep until aDone holds; false when it still does not at the deadline.
template <typename Done, typename Step>
bool WaitUntil(Done aDone, Step aStep)
{
    const auto deadline = std::chrono::steady_clock::now() + WAIT_DEADLINE;
    while (!aDone())
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        aStep();
    }
    return true;
}

template <typename Done>
bool WaitUntil(Done aDone)
{
    return WaitUntil(aDone, [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
}
} // namespace QelTest
