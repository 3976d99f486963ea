// The objects behind coins, keys and hearts. The collision rules know pickups by their tags ("Coin",
// "Key", "PowerUp"), not by these types.
#pragma once

#include "Objects/GameObject.h"

class Collectibles : public GameObject
{
public:
    Collectibles() : GameObject("GameObject") {}

private:
    // A pickup's worth. The score counts pickups by their tags instead, so nothing reads it yet.
    int myValue = 0;
};

class Coin : public Collectibles
{
    // As above: the score counts coins, not their amounts.
    int myAmount = 100;
};
