#include "Support/AssertCapture.h"

#include <mutex>

namespace QelTest
{
namespace
{
std::mutex theMutex;
std::vector<std::string> theFailures;

void Record(const char* aCondition, const char*, int)
{
    std::lock_guard lock(theMutex);
    theFailures.emplace_back(aCondition);
}
} // namespace

AssertCapture::AssertCapture()
{
    {
        std::lock_guard lock(theMutex);
        theFailures.clear();
    }
    myPrevious = Qel::SetAssertHandler(&Record);
}

AssertCapture::~AssertCapture()
{
    Qel::SetAssertHandler(myPrevious);
}

const std::vector<std::string>& AssertCapture::GetFailures() const
{
    return theFailures;
}
} // namespace QelTest
