#include "vek/filewatcher/FileWatcher.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <system_error>

namespace Qel
{
namespace
{
bool IsSeparator(char aCharacter)
{
    return aCharacter == '/' || aCharacter == '\\';
}

// The file's last-write time, 0 when there is no file; empty when it exists but cannot be read.
std::optional<std::uint64_t> ReadFileTime(const std::filesystem::path& aPath)
{
    std::error_code error;
    if (!std::filesystem::exists(aPath, error))
    {
        return error ? std::nullopt : std::optional<std::uint64_t>(0);
    }
    const auto time = std::filesystem::last_write_time(aPath, error);
    if (error)
    {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(time.time_since_epoch().count());
}
} // namespace

FileWatcher::FileWatcher(std::function<bool()> aIsEnabled, std::chrono::milliseconds aScanInterval)
    : myIsEnabled(std::move(aIsEnabled)), myScanInterval(aScanInterval)
{
}

FileWatcher::~FileWatcher()
{
    {
        // Under the times lock no watch can be starting the thread while the stop is set.
        std::lock_guard times(myTimesMutex);
        std::lock_guard wake(myWakeMutex);
        myStopRequested.store(true);
    }
    myWake.notify_all();
    if (myThread.joinable())
    {
        myThread.join();
    }
}

std::string FileWatcher::MakeCallbackKey(std::string_view aPath)
{
    std::string key;
    key.reserve(aPath.size());
    for (std::size_t index = 0; index < aPath.size(); ++index)
    {
        if (!IsSeparator(aPath[index]))
        {
            key += aPath[index];
        }
        else if (index == 0 || !IsSeparator(aPath[index - 1]))
        {
            key += '#';
        }
    }
    return key;
}

std::filesystem::path FileWatcher::MakeWatchedPath(std::string_view aPath)
{
    std::string path(aPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return std::filesystem::path(path);
}

bool FileWatcher::WatchFileChange(std::string_view aPath, Callback aCallback)
{
    if (!myIsEnabled || !myIsEnabled())
    {
        return false;
    }
    const std::filesystem::path path = MakeWatchedPath(aPath);
    std::error_code error;
    if (!std::filesystem::exists(path, error))
    {
        return false;
    }
    {
        std::lock_guard lock(myCallbacksMutex);
        myCallbacks[MakeCallbackKey(aPath)].push_back(std::move(aCallback));
    }
    // A time that cannot be read counts as no file; the first readable time then counts as a change.
    const std::uint64_t time = ReadFileTime(path).value_or(0);
    std::lock_guard lock(myTimesMutex);
    myLastWriteTimes[path] = time;
    if (!myThreadStarted.load() && !myStopRequested.load())
    {
        try
        {
            myThread = std::thread(&FileWatcher::PollLoop, this);
            myThreadStarted.store(true);
        }
        catch (const std::system_error& exception)
        {
            std::printf("[FileWatcher] could not start the polling thread: %s\n", exception.what());
            return false;
        }
    }
    return true;
}

void FileWatcher::PollLoop()
{
    // Times were read as each file was watched, so nothing can have changed before the first period.
    for (;;)
    {
        {
            std::unique_lock wakeLock(myWakeMutex);
            if (myWake.wait_for(wakeLock, myScanInterval, [this] { return myStopRequested.load(); }))
            {
                break;
            }
        }
        ScanNow();
    }
    myThreadFinished.store(true);
}

void FileWatcher::ScanNow()
{
    std::lock_guard changes(myChangesMutex);
    std::lock_guard times(myTimesMutex);
    for (auto& [path, storedTime] : myLastWriteTimes)
    {
        CheckFile(path, storedTime);
    }
}

void FileWatcher::CheckFile(const std::filesystem::path& aPath, std::uint64_t& aStoredTime)
{
    const std::optional<std::uint64_t> time = ReadFileTime(aPath);
    if (!time.has_value() || *time == aStoredTime)
    {
        return;
    }
    if (std::find(myPendingChanges.begin(), myPendingChanges.end(), aPath) == myPendingChanges.end())
    {
        myPendingChanges.push_back(aPath);
    }
    aStoredTime = *time;
}

void FileWatcher::FlushChanges()
{
    if (!myIsEnabled || !myIsEnabled() || !myThreadStarted.load())
    {
        return;
    }
    {
        std::lock_guard lock(myChangesMutex);
        myRunningChanges.clear();
        myRunningChanges.swap(myPendingChanges);
    }
    for (const std::filesystem::path& path : myRunningChanges)
    {
        std::vector<Callback> callbacks;
        {
            std::lock_guard lock(myCallbacksMutex);
            const auto found = myCallbacks.find(MakeCallbackKey(path.string()));
            if (found != myCallbacks.end())
            {
                callbacks = found->second;
            }
        }
        for (const Callback& callback : callbacks)
        {
            if (callback)
            {
                callback();
            }
        }
    }
    myRunningChanges.clear();
}
} // namespace Qel
