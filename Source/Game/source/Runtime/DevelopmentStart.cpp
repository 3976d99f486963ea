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

bool ApplyDevelopmentCreditsFilm(const char* aValue, StateStack& aStack)
{
    if (aValue == nullptr || aValue[0] == '\0')
    {
        return false;
    }
    aStack.SetPlayCreditsVideo(true);
    std::cout << "[Game] " << DEVELOPMENT_CREDITS_FILM_VARIABLE << " plays the credits film at the title\n";
    return true;
}
