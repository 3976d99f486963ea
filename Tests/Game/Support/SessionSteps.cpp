#include "Game/Support/SessionSteps.h"

#include "Support/WaitUntil.h"

#include <utility>

namespace GameTest
{
void SessionSteps::Add(std::string aName, int aLimitFrames, Step aStep)
{
    mySteps.push_back({std::move(aName), aLimitFrames, std::move(aStep), {}});
}

void SessionSteps::Do(std::string aName, std::function<void(GameSession&)> anAction)
{
    Add(std::move(aName), 1,
        [action = std::move(anAction)](GameSession& aSession, int)
        {
            action(aSession);
            return true;
        });
}

void SessionSteps::WaitFor(std::string aName, int aLimitFrames, Condition aCondition)
{
    Add(std::move(aName), aLimitFrames,
        [condition = std::move(aCondition)](GameSession& aSession, int) { return condition(aSession); });
}

void SessionSteps::Tap(std::string aName, std::uint32_t aKey)
{
    Add(std::move(aName), 3,
        [aKey](GameSession& aSession, int aFrame)
        {
            if (aFrame == 0)
            {
                aSession.KeyDown(aKey);
            }
            else if (aFrame == 1)
            {
                aSession.KeyUp(aKey);
            }
            return aFrame >= 2;
        });
}

void SessionSteps::TapUntil(std::string aName, std::uint32_t aKey, int aLimitTaps, Condition aCondition)
{
    Add(std::move(aName), 2 * aLimitTaps + 1,
        [aKey, condition = std::move(aCondition)](GameSession& aSession, int aFrame)
        {
            if (aFrame % 2 == 1)
            {
                aSession.KeyUp(aKey);
                return false;
            }
            if (condition(aSession))
            {
                return true;
            }
            aSession.KeyDown(aKey);
            return false;
        });
}

void SessionSteps::TapPad(std::string aName, SDL_GameControllerButton aButton)
{
    Add(std::move(aName), 3,
        [this, aButton](GameSession& aSession, int aFrame)
        {
            QelTest::VirtualPad* pad = aSession.GetPad();
            if (pad == nullptr)
            {
                Fail("no pad is plugged in");
                return true;
            }
            if (aFrame < 2)
            {
                pad->Set(aButton, aFrame == 0);
            }
            return aFrame >= 2;
        });
}

bool SessionSteps::operator()(GameSession& aSession)
{
    while (myFailure.empty() && myStep < mySteps.size())
    {
        Entry& entry = mySteps[myStep];
        if (entry.limitFrames == UNTIL_WAIT_DEADLINE)
        {
            const auto now = std::chrono::steady_clock::now();
            if (myFrameInStep == 0)
            {
                entry.started = now;
            }
            else if (now - entry.started > QelTest::WAIT_DEADLINE)
            {
                Fail("took more than " + std::to_string(QelTest::WAIT_DEADLINE.count()) + " s");
                break;
            }
        }
        else if (myFrameInStep >= entry.limitFrames)
        {
            Fail("took more than " + std::to_string(entry.limitFrames) + " frames");
            break;
        }
        const bool isDone = entry.step(aSession, myFrameInStep);
        if (!myFailure.empty() || !isDone)
        {
            ++myFrameInStep;
            break;
        }
        ++myStep;
        myFrameInStep = 0;
    }
    if (!myFailure.empty())
    {
        aSession.ReleaseAllKeys();
        return false;
    }
    return myStep < mySteps.size();
}

void SessionSteps::Fail(const std::string& aWhy)
{
    if (myFailure.empty())
    {
        myFailure = GetStepName() + ": " + aWhy;
    }
}

std::string SessionSteps::GetStepName() const
{
    return myStep < mySteps.size()
               ? "step " + std::to_string(myStep + 1) + " \"" + mySteps[myStep].name + "\""
               : std::string("after the last step");
}
} // namespace GameTest
