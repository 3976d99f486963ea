#include "vek/scene/LevelDataParse.h"

#include <algorithm>
#include <exception>
#include <future>
#include <iterator>
#include <thread>

namespace Qel::impl
{
namespace fs = std::filesystem;

unsigned GetHardwareThreadCount()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

std::vector<std::pair<std::size_t, std::size_t>> SplitIntoChunks(std::size_t aFileCount,
                                                                 unsigned aHardwareThreads)
{
    std::vector<std::pair<std::size_t, std::size_t>> chunks;
    if (aFileCount == 0)
    {
        return chunks;
    }
    const std::size_t workers = std::min<std::size_t>(std::max(1u, aHardwareThreads), aFileCount);
    const std::size_t chunk = (aFileCount - 1 + workers) / workers;
    for (std::size_t i = 0; i < workers; ++i)
    {
        const std::size_t begin = i * chunk;
        if (begin >= aFileCount)
        {
            break;
        }
        chunks.emplace_back(begin, std::min(aFileCount, begin + chunk));
    }
    return chunks;
}

std::vector<ParsedSceneObject> ParseFilesInChunks(const std::vector<fs::path>& aFiles,
                                                  unsigned aHardwareThreads, const FileParser& aParse)
{
    std::vector<std::future<std::vector<ParsedSceneObject>>> tasks;
    for (const auto& [begin, end] : SplitIntoChunks(aFiles.size(), aHardwareThreads))
    {
        // Should starting a task throw, the futures already made still join their tasks as they die.
        tasks.push_back(std::async(std::launch::async,
                                   [&aFiles, &aParse, begin = begin, end = end]
                                   {
                                       std::vector<ParsedSceneObject> records;
                                       records.reserve(end - begin);
                                       for (std::size_t index = begin; index < end; ++index)
                                       {
                                           records.push_back(aParse(aFiles[index]));
                                       }
                                       return records;
                                   }));
    }

    std::vector<ParsedSceneObject> result;
    result.reserve(aFiles.size());
    std::exception_ptr firstFailure;
    for (auto& task : tasks)
    {
        try
        {
            std::vector<ParsedSceneObject> records = task.get();
            if (!firstFailure)
            {
                std::move(records.begin(), records.end(), std::back_inserter(result));
            }
        }
        catch (...)
        {
            if (!firstFailure)
            {
                firstFailure = std::current_exception();
            }
        }
    }
    if (firstFailure)
    {
        std::rethrow_exception(firstFailure);
    }
    return result;
}

std::vector<ParsedSceneObject> LoadSceneObjectFilesParallel(const std::vector<fs::path>& aFiles,
                                                            unsigned aHardwareThreads)
{
    return ParseFilesInChunks(aFiles, aHardwareThreads == 0 ? GetHardwareThreadCount() : aHardwareThreads,
                              LoadSceneObjectFile);
}
} // namespace Qel::impl
