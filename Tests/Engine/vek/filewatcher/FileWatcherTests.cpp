#include "Support/TempDir.h"
#include "Support/WaitUntil.h"
#include "vek/filewatcher/FileWatcher.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace
{
using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Moves a file's time forward, as a save does, without waiting for the clock's resolution.
void Touch(const fs::path& aPath)
{
    fs::last_write_time(aPath, fs::last_write_time(aPath) + 2s);
}

// Flushes, as each frame start does, until aDone holds; false when it never did.
template <typename Predicate>
bool FlushUntil(Qel::FileWatcher& aWatcher, Predicate aDone)
{
    return QelTest::WaitUntil(
        [&]
        {
            aWatcher.FlushChanges();
            return aDone();
        });
}

// A scan of its own after the callbacks ran: whatever the polling thread has or has not seen, nothing
// more may arrive for changes already reported.
void FlushAfterAnotherScan(Qel::FileWatcher& aWatcher)
{
    aWatcher.ScanNow();
    aWatcher.FlushChanges();
}

class FileWatcherTest : public ::testing::Test
{
protected:
    QelTest::TempDir myFolder;
    Qel::FileWatcher myWatcher{[]
                               {
                                   return true;
                               }};
};

TEST(FileWatcherSwitch, WithWatchingOffNothingIsWatchedAndNoThreadStarts)
{
    QelTest::TempDir folder;
    const fs::path file = folder.WriteFile("a.txt", "a");
    Qel::FileWatcher watcher([] { return false; });
    int calls = 0;
    EXPECT_FALSE(watcher.WatchFileChange(file.string(), [&] { ++calls; }));
    EXPECT_FALSE(watcher.IsThreadRunning());
    Touch(file);
    watcher.FlushChanges();
    EXPECT_EQ(calls, 0);
}

TEST_F(FileWatcherTest, AMissingFileIsRefusedAndRegistersNothing)
{
    const fs::path missing = myFolder.GetPath() / "later.txt";
    int calls = 0;
    EXPECT_FALSE(myWatcher.WatchFileChange(missing.string(), [&] { ++calls; }));
    EXPECT_FALSE(myWatcher.IsThreadRunning());
    EXPECT_FALSE(myWatcher.WatchFileChange("", [&] { ++calls; }));

    // The file appears and a real watch on another file starts polling: the refused one stays silent.
    const fs::path other = myFolder.WriteFile("other.txt", "o");
    int otherCalls = 0;
    ASSERT_TRUE(myWatcher.WatchFileChange(other.string(), [&] { ++otherCalls; }));
    myFolder.WriteFile("later.txt", "now here");
    Touch(other);
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return otherCalls == 1; }));
    FlushAfterAnotherScan(myWatcher);
    EXPECT_EQ(calls, 0);
}

TEST_F(FileWatcherTest, TwoSavesBetweenFlushesRunTheCallbacksOnce)
{
    const fs::path file = myFolder.WriteFile("model.fbx", "1");
    int first = 0;
    int second = 0;
    ASSERT_TRUE(myWatcher.WatchFileChange(file.string(), [&] { ++first; }));
    ASSERT_TRUE(myWatcher.WatchFileChange(file.string(), [&] { ++second; }));
    EXPECT_TRUE(myWatcher.IsThreadRunning());
    // Each save is seen by a scan of its own before the one flush.
    Touch(file);
    myWatcher.ScanNow();
    Touch(file);
    myWatcher.ScanNow();
    myWatcher.FlushChanges();
    FlushAfterAnotherScan(myWatcher);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST(FileWatcherScan, FilesChangedInOneScanRunInPathOrder)
{
    QelTest::TempDir folder;
    const fs::path b = folder.WriteFile("b.dds", "b");
    const fs::path a = folder.WriteFile("a.dds", "a");
    // The polling thread never comes round during the test, so both saves fall into the one scan asked for.
    Qel::FileWatcher watcher([] { return true; }, std::chrono::hours(1));
    std::vector<std::string> order;
    ASSERT_TRUE(watcher.WatchFileChange(b.string(), [&] { order.push_back("b"); }));
    ASSERT_TRUE(watcher.WatchFileChange(a.string(), [&] { order.push_back("a"); }));
    Touch(b);
    Touch(a);
    watcher.FlushChanges();
    EXPECT_TRUE(order.empty()) << "no scan has run yet";
    watcher.ScanNow();
    watcher.FlushChanges();
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b"}));
}

TEST_F(FileWatcherTest, BothSeparatorSpellingsShareOneEntry)
{
    const fs::path file = myFolder.WriteFile("Textures/rock.dds", "r");
    const std::string folder = myFolder.GetPath().string();
    int calls = 0;
    ASSERT_TRUE(myWatcher.WatchFileChange(folder + "/Textures/rock.dds", [&] { ++calls; }));
    ASSERT_TRUE(myWatcher.WatchFileChange(folder + "\\Textures\\rock.dds", [&] { ++calls; }));
    ASSERT_TRUE(myWatcher.WatchFileChange(folder + "//Textures/rock.dds", [&] { ++calls; }));
    Touch(file);
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return calls == 3; }));
    FlushAfterAnotherScan(myWatcher);
    EXPECT_EQ(calls, 3) << "one save runs each callback once";
    EXPECT_EQ(Qel::FileWatcher::MakeCallbackKey("a\\b//c"), "a#b#c");
}

TEST_F(FileWatcherTest, ADeletionAndTheReappearanceCountOnceEach)
{
    const fs::path file = myFolder.WriteFile("level.json", "1");
    int calls = 0;
    ASSERT_TRUE(myWatcher.WatchFileChange(file.string(), [&] { ++calls; }));
    fs::remove(file);
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return calls == 1; }));
    FlushAfterAnotherScan(myWatcher);
    EXPECT_EQ(calls, 1);
    myFolder.WriteFile("level.json", "2");
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return calls == 2; }));
    FlushAfterAnotherScan(myWatcher);
    EXPECT_EQ(calls, 2);
}

TEST_F(FileWatcherTest, ACallbackMayWatchMoreFiles)
{
    const fs::path first = myFolder.WriteFile("first.txt", "1");
    const fs::path second = myFolder.WriteFile("second.txt", "2");
    int secondCalls = 0;
    bool watched = false;
    ASSERT_TRUE(myWatcher.WatchFileChange(
        first.string(),
        [&] { watched = myWatcher.WatchFileChange(second.string(), [&] { ++secondCalls; }); }));
    Touch(first);
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return watched; }));
    Touch(second);
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return secondCalls == 1; }));
}

TEST_F(FileWatcherTest, WatchesFromOtherThreadsWhileTheMainThreadFlushes)
{
    constexpr int FILES_PER_THREAD = 40;
    std::vector<fs::path> files;
    for (int i = 0; i < 2 * FILES_PER_THREAD; ++i)
    {
        files.push_back(myFolder.WriteFile("f" + std::to_string(i) + ".dds", "x"));
    }
    std::atomic<int> calls{0};
    std::atomic<int> accepted{0};
    auto watchRange = [&](int aBegin)
    {
        for (int i = aBegin; i < aBegin + FILES_PER_THREAD; ++i)
        {
            accepted +=
                myWatcher.WatchFileChange(files[static_cast<std::size_t>(i)].string(), [&] { ++calls; }) ? 1
                                                                                                         : 0;
        }
    };
    // Two loaders start watching at once, so both may try to start the polling thread.
    std::future<void> first = std::async(std::launch::async, watchRange, 0);
    std::future<void> second = std::async(std::launch::async, watchRange, FILES_PER_THREAD);
    while (first.wait_for(0ms) != std::future_status::ready ||
           second.wait_for(0ms) != std::future_status::ready)
    {
        myWatcher.FlushChanges();
    }
    first.get();
    second.get();
    EXPECT_EQ(accepted.load(), 2 * FILES_PER_THREAD);
    for (const fs::path& file : files)
    {
        Touch(file);
    }
    EXPECT_TRUE(FlushUntil(myWatcher, [&] { return calls.load() == 2 * FILES_PER_THREAD; }));
}

TEST(FileWatcherLifetime, DestructionStopsAndJoinsThePollingThread)
{
    QelTest::TempDir folder;
    const fs::path file = folder.WriteFile("a.txt", "a");
    auto watcher = std::make_unique<Qel::FileWatcher>([] { return true; });
    ASSERT_TRUE(watcher->WatchFileChange(file.string(), [] {}));
    EXPECT_TRUE(watcher->IsThreadRunning());
    watcher.reset();
    SUCCEED() << "the destructor returned, so the thread was joined";
}
} // namespace
