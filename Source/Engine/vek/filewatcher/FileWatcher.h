// Calls loaders back when a file they loaded changes on disk. A polling thread of its own reads the
// last-write time of every watched file every 32 ms and records the files whose time changed; the main
// thread runs their callbacks at the start of the next frame (FlushChanges).
//
// Threads: watches may come from any thread (loaders run on worker tasks). The callbacks map has its own
// lock, the thread is started under the times lock, the stop and finished flags are atomic, and
// callbacks run with no lock of the watcher held, so a callback may watch more files or wait for a
// lock that a watching thread holds. Lock order where two are held: changes, then times.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace Qel
{
class FileWatcher
{
public:
    using Callback = std::function<void()>;

    // aIsEnabled says whether watching is switched on (the "Filewatcher" debug feature); it is asked on
    // every watch and flush.
    // aScanInterval is the polling period; the first scan comes one period after the first watch.
    explicit FileWatcher(std::function<bool()> aIsEnabled,
                         std::chrono::milliseconds aScanInterval = std::chrono::milliseconds(32));
    ~FileWatcher();
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    // True when the file is now watched; false, with the callback dropped, when watching is off or no
    // file exists at the path. Each call adds one more callback; all of them run on a change.
    bool WatchFileChange(std::string_view aPath, Callback aCallback);
    // Runs the callbacks of every file changed since the last call, in the order the scans met them.
    // Main thread, once a frame.
    void FlushChanges();

    // Runs one scan on the calling thread at once, under the same locks as the polling thread's.
    void ScanNow();

    bool IsThreadRunning() const { return myThreadStarted.load() && !myThreadFinished.load(); }

    // The key both spellings of one path share: every run of '\\' and '/' becomes one '#'.
    static std::string MakeCallbackKey(std::string_view aPath);
    // The path as the polling entry holds it: '\\' read as a separator.
    static std::filesystem::path MakeWatchedPath(std::string_view aPath);

private:
    void PollLoop();
    void CheckFile(const std::filesystem::path& aPath, std::uint64_t& aStoredTime);

    std::function<bool()> myIsEnabled;
    std::chrono::milliseconds myScanInterval;
    std::thread myThread;
    std::vector<std::filesystem::path> myPendingChanges;
    std::vector<std::filesystem::path> myRunningChanges;
    std::map<std::string, std::vector<Callback>> myCallbacks;
    std::map<std::filesystem::path, std::uint64_t> myLastWriteTimes;
    std::mutex myChangesMutex;
    std::mutex myTimesMutex;
    std::mutex myCallbacksMutex;
    std::mutex myWakeMutex;
    std::condition_variable myWake;
    std::atomic<bool> myStopRequested{false};
    std::atomic<bool> myThreadFinished{false};
    std::atomic<bool> myThreadStarted{false};
};
} // namespace Qel
