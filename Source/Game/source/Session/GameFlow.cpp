#include "Session/GameFlow.h"

namespace
{
GameFlow* theCurrent = nullptr;
} // namespace

GameFlow* GameFlow::GetCurrent()
{
    return theCurrent;
}

GameFlow::~GameFlow()
{
    if (theCurrent == this)
    {
        theCurrent = nullptr;
    }
}

void GameFlow::SetCurrent(GameFlow* aFlow)
{
    theCurrent = aFlow;
}
