#include "vek/audio/SamplePrefetch.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

namespace Qel
{
namespace
{
struct Decoded
{
    std::optional<DecodedSample> mySample;
    std::string myFailure;
};

struct Job
{
    std::string myPath;
    std::uintmax_t myCost = 0;
    std::promise<Decoded> myResult;
};

struct Batch
{
    std::vector<std::shared_ptr<Job>> myJobs;
    std::atomic<std::size_t> myNext{0};
};

struct Prefetches
{
    std::mutex myMutex;
    std::unordered_map<std::string, std::future<Decoded>> myResults;
    std::vector<std::future<void>> myWorkers;
};

Prefetches& GetPrefetches()
{
    static Prefetches thePrefetches;
    return thePrefetches;
}

// MP3 files take several times as long per byte as WAV files, which are mostly read and widened.
std::uintmax_t EstimateCost(const std::string& aPath)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(aPath, error);
    const bool isMp3 = aPath.size() >= 4 && aPath.compare(aPath.size() - 4, 4, ".mp3") == 0;
    return error ? 0 : size * (isMp3 ? 8 : 1);
}

void Work(const std::shared_ptr<Batch>& aBatch)
{
    for (std::size_t index = aBatch->myNext++; index < aBatch->myJobs.size(); index = aBatch->myNext++)
    {
        Job& job = *aBatch->myJobs[index];
        Decoded decoded;
        decoded.mySample = DecodeSampleFile(job.myPath, &decoded.myFailure);
        job.myResult.set_value(std::move(decoded));
    }
}
} // namespace

void PrefetchSamples(const std::vector<std::string>& someResolvedPaths)
{
    auto batch = std::make_shared<Batch>();
    Prefetches& prefetches = GetPrefetches();
    std::lock_guard lock(prefetches.myMutex);
    for (const std::string& path : someResolvedPaths)
    {
        if (path.empty() || prefetches.myResults.count(path) != 0)
        {
            continue;
        }
        auto job = std::make_shared<Job>();
        job->myPath = path;
        job->myCost = EstimateCost(path);
        prefetches.myResults.emplace(path, job->myResult.get_future());
        batch->myJobs.push_back(std::move(job));
    }
    // Settled here, before the tasks exist, so neither they nor this thread's own SDL calls race on it.
    PrepareSampleDecoding();
    std::stable_sort(batch->myJobs.begin(), batch->myJobs.end(),
                     [](const auto& aLeft, const auto& aRight) { return aLeft->myCost > aRight->myCost; });
    // Half the cores: the rest keep the start-up's own work on the main thread and the driver going.
    const std::size_t workers =
        std::min<std::size_t>(batch->myJobs.size(), std::max(2u, std::thread::hardware_concurrency() / 2));
    for (std::size_t worker = 0; worker < workers; ++worker)
    {
        prefetches.myWorkers.push_back(std::async(std::launch::async, Work, batch));
    }
}

impl::PrefetchedSample impl::TakePrefetchedSample(const std::string& aResolvedPath)
{
    std::future<Decoded> result;
    {
        Prefetches& prefetches = GetPrefetches();
        std::lock_guard lock(prefetches.myMutex);
        const auto found = prefetches.myResults.find(aResolvedPath);
        if (found == prefetches.myResults.end() || !found->second.valid())
        {
            return {};
        }
        result = std::move(found->second);
    }
    Decoded decoded = result.get();
    return {true, std::move(decoded.mySample), std::move(decoded.myFailure)};
}
} // namespace Qel
