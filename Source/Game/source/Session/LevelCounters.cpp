#include "Session/LevelCounters.h"

#include <algorithm>

namespace
{
int theCollectedCoins = 0;
int theCollectedKeys = 0;
int thePlayerHealth = MAX_PLAYER_HEALTH;
} // namespace

int GetCollectedCoinCount()
{
    return theCollectedCoins;
}

void AddCollectedCoin()
{
    ++theCollectedCoins;
}

void ResetCollectedCoinCount()
{
    theCollectedCoins = 0;
}

int GetCollectedKeyCount()
{
    return theCollectedKeys;
}

void AddCollectedKey()
{
    ++theCollectedKeys;
}

void ResetCollectedKeyCount()
{
    theCollectedKeys = 0;
}

int GetPlayerHealth()
{
    return thePlayerHealth;
}

void SetPlayerHealth(int aHealth)
{
    thePlayerHealth = std::clamp(aHealth, 0, MAX_PLAYER_HEALTH);
}

void ResetPlayerHealth()
{
    thePlayerHealth = MAX_PLAYER_HEALTH;
}
