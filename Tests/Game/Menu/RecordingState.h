// A menu state that writes what happens to it into a shared log ("A init", "A update", "A render",
// "A resize", "A gone"), and can be told to act from inside its own Init or Update.
#pragma once

#include "Menu/MenuState.h"
#include "Menu/StateStack.h"

#include <functional>
#include <string>
#include <vector>

namespace QelTest
{
class RecordingState : public MenuState
{
public:
    RecordingState(std::vector<std::string>& aLog, std::string aName) : myLog(aLog), myName(std::move(aName))
    {
    }
    ~RecordingState() override { myLog.push_back(myName + " gone"); }

    void Init(StateStack& aStack, const nlohmann::json& aUISettings) override
    {
        static_cast<void>(aUISettings);
        myLog.push_back(myName + " init");
        mySizeAtInit = aStack.GetSize();
        ++myInitCount;
        if (myOnInit)
        {
            myOnInit(aStack);
        }
    }
    void Update(InputHandler& aInput, const Qel::Vector2<float>& aMouse) override
    {
        static_cast<void>(aInput);
        myLastMouse = aMouse;
        myLog.push_back(myName + " update");
        if (myOnUpdate)
        {
            myOnUpdate(*this);
        }
    }
    void Render(Qel::SpriteDrawer& aDrawer) override
    {
        static_cast<void>(aDrawer);
        myLog.push_back(myName + " render");
    }
    void OnResolutionChanged(const nlohmann::json& aUISettings) override
    {
        static_cast<void>(aUISettings);
        myLog.push_back(myName + " resize");
        if (myOnResize)
        {
            myOnResize();
        }
    }
    void OnButtonDown(int aIndex) override { myLog.push_back(myName + " down " + std::to_string(aIndex)); }
    void OnButtonHeld(int aIndex) override { myLog.push_back(myName + " held " + std::to_string(aIndex)); }
    void OnButtonPressed(int aIndex) override
    {
        myLog.push_back(myName + " pressed " + std::to_string(aIndex));
    }
    void SelectNext() override {}
    void SelectPrevious() override {}

    std::function<void(StateStack&)> myOnInit;
    std::function<void(RecordingState&)> myOnUpdate;
    std::function<void()> myOnResize;
    int mySizeAtInit = -1;
    int myInitCount = 0;
    Qel::Vector2<float> myLastMouse;

private:
    std::vector<std::string>& myLog;
    std::string myName;
};
} // namespace QelTest
