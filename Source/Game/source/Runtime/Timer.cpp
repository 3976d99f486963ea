#include "Runtime/Timer.h"

Timer::Timer(const Qel::CounterSource& aSource)
    : mySource(&aSource), myStart(aSource.GetCount()), myPrevious(myStart), myNow(myStart)
{
}

void Timer::Update()
{
    myNow = mySource->GetCount();
    myDeltaTime = static_cast<float>(myNow - myPrevious) / static_cast<float>(mySource->GetFrequency());
    myPrevious = myNow;
}

double Timer::GetTotalTime() const
{
    return static_cast<double>(myNow - myStart) / static_cast<double>(mySource->GetFrequency());
}
