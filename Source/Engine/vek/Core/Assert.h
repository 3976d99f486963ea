// Assertions that carry the failing condition's text.
//
// QEL_ASSERT(condition) reports "Assertion failed: <condition>" with file and line on standard error.
// In builds without NDEBUG the default handler then aborts; with NDEBUG it returns and the caller goes
// on with its safe fallback. Tests install their own handler to observe assertions without dying.
// A branch that must always fail asserts `false && "message"`, so the message is the text shown.
#pragma once

namespace Qel
{
using AssertHandler = void (*)(const char* aCondition, const char* aFile, int aLine);

// Replaces the process-wide handler and returns the previous one; null restores the default.
AssertHandler SetAssertHandler(AssertHandler aHandler);

void ReportAssertionFailure(const char* aCondition, const char* aFile, int aLine);
} // namespace Qel

#define QEL_ASSERT(aCondition)                                                                               \
    ((aCondition) ? static_cast<void>(0) : ::Qel::ReportAssertionFailure(#aCondition, __FILE__, __LINE__))
