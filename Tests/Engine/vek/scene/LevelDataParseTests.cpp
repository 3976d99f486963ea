#include "LevelFixture.h"
#include "Support/WaitUntil.h"
#include "vek/scene/LevelDataParse.h"
#include "vek/scene/SceneDataError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

using Qel::ParsedSceneObject;
using Qel::impl::ParseFilesInChunks;
using Qel::impl::SplitIntoChunks;
namespace fs = std::filesystem;

namespace
{
using Chunks = std::vector<std::pair<std::size_t, std::size_t>>;

std::vector<fs::path> NumberedPaths(std::size_t aCount)
{
    std::vector<fs::path> paths;
    for (std::size_t index = 0; index < aCount; ++index)
    {
        paths.emplace_back(std::to_string(index));
    }
    return paths;
}

std::size_t IndexOf(const fs::path& aPath)
{
    return static_cast<std::size_t>(std::stoul(aPath.string()));
}

ParsedSceneObject RecordNamed(const fs::path& aPath)
{
    ParsedSceneObject record;
    record.myUuid = aPath.string();
    return record;
}

// Holds a parse until another chunk's parse has got somewhere; should the split be broken, the wait
// gives up and the test's checks fail.
void WaitUntil(const std::function<bool()>& aReached)
{
    QelTest::WaitUntil(aReached, [] { std::this_thread::yield(); });
}
} // namespace

TEST(ParseChunks, SplitsIntoContiguousCeilingSizedChunks)
{
    EXPECT_EQ(SplitIntoChunks(5, 4), (Chunks{{0, 2}, {2, 4}, {4, 5}}));
    EXPECT_EQ(SplitIntoChunks(10, 3), (Chunks{{0, 4}, {4, 8}, {8, 10}}));
    EXPECT_EQ(SplitIntoChunks(3, 8), (Chunks{{0, 1}, {1, 2}, {2, 3}}));
    EXPECT_EQ(SplitIntoChunks(7, 1), (Chunks{{0, 7}}));
    EXPECT_EQ(SplitIntoChunks(7, 0), (Chunks{{0, 7}}));
    EXPECT_TRUE(SplitIntoChunks(0, 8).empty());
}

TEST(ParseChunks, EveryFileIsInExactlyOneChunkAndNoMoreChunksThanThreads)
{
    for (std::size_t files = 1; files <= 40; ++files)
    {
        for (unsigned threads = 0; threads <= 9; ++threads)
        {
            const Chunks chunks = SplitIntoChunks(files, threads);
            ASSERT_FALSE(chunks.empty());
            EXPECT_LE(chunks.size(), std::max(1u, threads));
            std::size_t expectedBegin = 0;
            for (const auto& [begin, end] : chunks)
            {
                EXPECT_EQ(begin, expectedBegin) << files << " files, " << threads << " threads";
                EXPECT_LT(begin, end);
                expectedBegin = end;
            }
            EXPECT_EQ(expectedBegin, files);
        }
    }
}

TEST(ParseChunks, RecordsComeBackInFileOrderWhenLaterChunksFinishFirst)
{
    const std::vector<fs::path> files = NumberedPaths(24);
    std::mutex lock;
    std::set<std::thread::id> threads;
    std::atomic<int> chunksStarted{0};
    std::atomic<int> laterFilesDone{0};
    const auto parse = [&](const fs::path& aPath)
    {
        const std::size_t index = IndexOf(aPath);
        if (index % 6 == 0)
        {
            {
                const std::lock_guard guard(lock);
                threads.insert(std::this_thread::get_id());
            }
            // Every chunk's task is running at once, so no two can share a thread.
            ++chunksStarted;
            WaitUntil([&] { return chunksStarted.load() == 4; });
        }
        if (index == 0)
        {
            // The first chunk finishes last.
            WaitUntil([&] { return laterFilesDone.load() == 18; });
        }
        ParsedSceneObject record = RecordNamed(aPath);
        if (index >= 6)
        {
            ++laterFilesDone;
        }
        return record;
    };
    const std::vector<ParsedSceneObject> records = ParseFilesInChunks(files, 4, parse);
    ASSERT_EQ(records.size(), files.size());
    for (std::size_t index = 0; index < files.size(); ++index)
    {
        EXPECT_EQ(records[index].myUuid, files[index].string());
    }
    EXPECT_EQ(threads.size(), 4u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

TEST(ParseChunks, FirstFailingChunkInFileOrderLeavesAfterEveryTaskFinished)
{
    const std::vector<fs::path> files = NumberedPaths(8);
    std::atomic<bool> lateFailed{false};
    std::atomic<bool> earlyFailed{false};
    std::atomic<bool> slowChunkDone{false};
    const auto parse = [&](const fs::path& aPath)
    {
        const std::size_t index = IndexOf(aPath);
        if (index == 7)
        {
            // The last chunk fails first in time.
            lateFailed = true;
            throw std::runtime_error("late chunk");
        }
        if (index == 3)
        {
            WaitUntil([&] { return lateFailed.load(); });
            earlyFailed = true;
            throw std::runtime_error("early chunk");
        }
        if (index == 5)
        {
            // Still working after both failures.
            WaitUntil([&] { return earlyFailed.load(); });
            slowChunkDone = true;
        }
        return RecordNamed(aPath);
    };
    try
    {
        ParseFilesInChunks(files, 4, parse);
        FAIL() << "the failure was swallowed";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "early chunk");
        EXPECT_TRUE(slowChunkDone.load());
    }
}

TEST(ParseChunks, NoFilesStartNoTask)
{
    std::atomic<int> calls{0};
    const auto parse = [&](const fs::path& aPath)
    {
        ++calls;
        return RecordNamed(aPath);
    };
    EXPECT_TRUE(ParseFilesInChunks({}, 8, parse).empty());
    EXPECT_EQ(calls.load(), 0);
}

TEST(ParallelObjectFileLoad, ManyRealFilesKeepTheirOrderOnAnyThreadCount)
{
    QelTest::LevelFixture level;
    std::vector<fs::path> files;
    for (unsigned number = 0; number < 50; ++number)
    {
        files.push_back(level.WriteObject(QelTest::MakeUuid(number),
                                          "{\"name\":\"object " + std::to_string(number) + "\"}"));
    }
    for (const unsigned threads : {0u, 1u, 3u, 64u})
    {
        const std::vector<ParsedSceneObject> records =
            Qel::impl::LoadSceneObjectFilesParallel(files, threads);
        ASSERT_EQ(records.size(), files.size());
        for (unsigned number = 0; number < 50; ++number)
        {
            EXPECT_EQ(records[number].myUuid, QelTest::MakeUuid(number));
            EXPECT_EQ(records[number].myName, "object " + std::to_string(number));
        }
    }
}

TEST(ParallelObjectFileLoad, AMalformedFileFailsWithItsName)
{
    QelTest::LevelFixture level;
    std::vector<fs::path> files;
    for (unsigned number = 0; number < 12; ++number)
    {
        files.push_back(level.WriteObject(QelTest::MakeUuid(number), number == 9 ? "{\"name\": " : "{}"));
    }
    try
    {
        Qel::impl::LoadSceneObjectFilesParallel(files, 4);
        FAIL() << "a malformed file was accepted";
    }
    catch (const Qel::SceneDataError& error)
    {
        EXPECT_EQ(error.GetFile(), files[9]);
        EXPECT_NE(std::string(error.what()).find(files[9].string()), std::string::npos);
    }
}
