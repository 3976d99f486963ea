#include "vek/Core/Profiler.h"

#include <gtest/gtest.h>

#include <thread>

TEST(Profiler, OneInstanceServesEveryThreadAndNestedScopesAreHarmless)
{
    Qel::Profiler* fromWorker = nullptr;
    std::thread worker(
        [&]
        {
            Qel::ProfilerScope outer("Qel::LoadScene");
            Qel::ProfilerScope inner("Qel::LoadSceneCacheCheck");
            fromWorker = &Qel::Profiler::GetInstance();
            fromWorker->RecordTiming("Qel::LoadScene", "cache-hit", 1, 2);
        });
    Qel::ProfilerScope mainScope("GameWorld::ApplyLoadedScene");
    Qel::Profiler& fromMain = Qel::Profiler::GetInstance();
    worker.join();
    EXPECT_EQ(fromWorker, &fromMain);
    static_assert(sizeof(Qel::ProfilerScope) == 2 * sizeof(std::uint64_t));
}
