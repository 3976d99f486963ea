// Records QEL_ASSERT failures instead of aborting, for the lifetime of one object.
#pragma once

#include "vek/Core/Assert.h"

#include <string>
#include <vector>

namespace QelTest
{
class AssertCapture
{
public:
    AssertCapture();
    ~AssertCapture();
    AssertCapture(const AssertCapture&) = delete;
    AssertCapture& operator=(const AssertCapture&) = delete;

    // The condition texts of the assertions that failed since construction, in order.
    const std::vector<std::string>& GetFailures() const;
    int GetCount() const { return static_cast<int>(GetFailures().size()); }

private:
    Qel::AssertHandler myPrevious;
};
} // namespace QelTest
