#include "Platform/Window/QuitSignals.h"

#include <atomic>
#include <csignal>
#include <mutex>

namespace Platform
{
namespace
{
std::atomic<bool> theQuitSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnQuitSignal(int)
{
    theQuitSignal.store(true);
}
} // namespace

void InstallQuitSignalHandlers()
{
    static std::once_flag theOnce;
    std::call_once(theOnce,
                   []
                   {
                       struct sigaction action
                       {
                       };
                       action.sa_handler = &OnQuitSignal;
                       sigemptyset(&action.sa_mask);
                       action.sa_flags = SA_RESTART;
                       sigaction(SIGINT, &action, nullptr);
                       sigaction(SIGTERM, &action, nullptr);
                   });
}

bool TakeQuitSignal()
{
    return theQuitSignal.exchange(false);
}

bool IsQuitSignalPending()
{
    return theQuitSignal.load();
}
} // namespace Platform
