#include "World/CacheWarmUp.h"

#include "Objects/Component.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <future>
#include <system_error>

void WarmComponentCaches(const std::vector<Component*>& someComponents, unsigned aTaskCount)
{
    // Tasks take the next component as they finish one: one model may take far longer than the rest.
    std::atomic<std::size_t> next = 0;
    const auto work = [&someComponents, &next]
    {
        for (std::size_t index = next++; index < someComponents.size(); index = next++)
        {
            someComponents[index]->WarmCaches();
        }
    };
    const std::size_t taskCount =
        std::clamp<std::size_t>(aTaskCount, 1, std::max<std::size_t>(someComponents.size(), 1));
    std::vector<std::future<void>> tasks;
    for (std::size_t task = 1; task < taskCount; ++task)
    {
        try
        {
            tasks.push_back(std::async(std::launch::async, work));
        }
        catch (const std::system_error&)
        {
            // No thread to be had: the tasks already started and this thread share the work.
            break;
        }
    }
    std::exception_ptr failure;
    try
    {
        work();
    }
    catch (...)
    {
        failure = std::current_exception();
    }
    for (std::future<void>& task : tasks)
    {
        try
        {
            task.get();
        }
        catch (...)
        {
            if (failure == nullptr)
            {
                failure = std::current_exception();
            }
        }
    }
    if (failure != nullptr)
    {
        std::rethrow_exception(failure);
    }
}
