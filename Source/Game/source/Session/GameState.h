// What the world and the screens share about where the game is: the game-state code and what a level's
// end hands to the results screen.
#pragma once

#include <cstdint>
#include <string>

// The game-state code the world reads and the menus and the world write.
using GameState = std::int32_t;

namespace GameStateCode
{
inline constexpr GameState TITLE_MENU = 0;
inline constexpr GameState CREDITS = 1;
inline constexpr GameState LEVEL_SELECT = 2;
inline constexpr GameState SCENE_CHANGE_REQUESTED = 3;
inline constexpr GameState PLAYING = 4;
inline constexpr GameState IN_GAME_SETTINGS = 5;
inline constexpr GameState LEVEL_RESULTS = 6;
} // namespace GameStateCode

// What the level end hands to the results screen.
struct LevelEndResultData
{
    std::string currentLevel;
    // Empty when no level follows.
    std::string nextLevel;
    std::int32_t score = 0;
};
