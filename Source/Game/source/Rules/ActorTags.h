// The tags by which the collision system knows the level's actors.
#pragma once

#include <string>

inline bool IsEnemyTag(const std::string& aTag)
{
    return aTag == "Schnoz_II" || aTag == "Schnoz_III";
}

// What a respawn or a restart puts back where the level had it.
inline bool IsResettableTag(const std::string& aTag)
{
    return IsEnemyTag(aTag) || aTag == "BreakableBlock" || aTag == "Coin" || aTag == "Key" ||
           aTag == "PowerUp";
}
