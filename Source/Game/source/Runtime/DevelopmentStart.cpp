#include "Runtime/DevelopmentStart.h"

#include "Menu/PlaceholderState.h"
#include "Menu/StateStack.h"
#include "World/LevelRegistry.h"

#include <iostream>

bool ApplyDevelopmentStart(const char* aLevel, StateStack& aStack)
{
    if (aLevel == nullptr || aLevel[0] == '\0')
    {
        return false;
    }
    PushPlaceholderPlayStates(aStack);
    LevelRegistry::GetInstance().SetSceneRequest(aLevel);
    std::cout << "[Game] " << DEVELOPMENT_LEVEL_VARIABLE << " requests " << aLevel << "\n";
    return true;
}
