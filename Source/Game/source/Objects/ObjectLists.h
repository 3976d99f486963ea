// Small operations on lists of game objects that the collision rules use every frame.
#pragma once

#include "Objects/GameObject.h"

#include <memory>
#include <vector>

// Empties outPickups, then appends every non-null active object of aObjects tagged "Coin", "Key" or
// "PowerUp", in list order.
void FilterPickups(std::vector<GameObject*>& outPickups,
                   const std::vector<std::unique_ptr<GameObject>>& aObjects);

// Removes the first occurrence of aObject, keeping the order of the rest. False for null or when the
// object is not in the list.
bool RemoveObjectPointer(std::vector<GameObject*>& aList, GameObject* aObject);
