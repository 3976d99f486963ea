#include "vek/Core/Assert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace Qel
{
namespace
{
void DefaultAssertHandler(const char* aCondition, const char* aFile, int aLine)
{
    std::fprintf(stderr, "Assertion failed: %s (%s:%d)\n", aCondition, aFile, aLine);
    std::fflush(stderr);
#ifndef NDEBUG
    std::abort();
#endif
}

std::atomic<AssertHandler> theHandler{&DefaultAssertHandler};
} // namespace

AssertHandler SetAssertHandler(AssertHandler aHandler)
{
    return theHandler.exchange(aHandler != nullptr ? aHandler : &DefaultAssertHandler);
}

void ReportAssertionFailure(const char* aCondition, const char* aFile, int aLine)
{
    theHandler.load()(aCondition, aFile, aLine);
}
} // namespace Qel
