#include "Base/Timer.h"

Timer::Timer(const Qel::CounterSource& aSource)
    : mySource(&aSource), myStart(aSource.GetCount()), myPrevious(myStart)
{
}

void Timer::Update()
{
    const std::int64_t now = mySource->GetCount();
    myDeltaTime = static_cast<float>(now - myPrevious) / static_cast<float>(mySource->GetFrequency());
    myPrevious = now;
}

double Timer::GetTotalTime() const
{
    return static_cast<double>(mySource->GetCount() - myStart) /
           static_cast<double>(mySource->GetFrequency());
}
