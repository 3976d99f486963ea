// The objects behind coins, keys and hearts. The collision rules know pickups by their tags ("Coin",
// "Key", "PowerUp"), not by these types.
#pragma once

#include "Objects/GameObject.h"

class Collectibles : public GameObject
{
public:
    Collectibles() : GameObject("GameObject") {}
    int GetValue() const { return myValue; }

private:
    int myValue = 0;
};

class Coin : public Collectibles
{
public:
    int GetAmount() const { return myAmount; }

private:
    int myAmount = 100;
};
