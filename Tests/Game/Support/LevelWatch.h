// What a scripted level run watches in the world: the player as a script sees it, the objects of a tag
// the level holds, the boss's death and the player's outro, and how long a run may take.
#pragma once

#include "Game/Support/LevelScript.h"

#include <map>
#include <string>

class GameObject;
class GameWorld;

namespace GameTest
{
// Runs step the game at 60 frames a second.
constexpr int RUN_FRAMES_PER_SECOND = 60;
// A script step that cannot finish in this long has lost its way.
constexpr int SCRIPT_STEP_LIMIT_FRAMES = 30 * RUN_FRAMES_PER_SECOND;
// Time after a script's last step for the exit's sequence and the results to come.
constexpr int AFTER_SCRIPT_FRAMES = 10 * RUN_FRAMES_PER_SECOND;
// The last level, which ends with the boss's death and the outro rather than results.
inline constexpr char BOSS_LEVEL[] = "L_World3_Level3";

PlayerView ViewPlayer(const GameObject& aPlayer);
int CountTagged(const GameWorld& aWorld, const std::string& aTag);
// The player's current state, "" without a player or state.
std::string PlayerStateName(const GameWorld& aWorld);
// The level's boss has no hits left; false without a boss.
bool IsBossDead(const GameWorld& aWorld);
bool IsOutroRunning(const GameWorld& aWorld);

// Watches the walking enemies frame by frame for one that turns on two frames in a row: an enemy stuck
// turning on the spot, which a run can pass by without noticing.
class EnemyTurnWatch
{
public:
    // Call once a frame, after the frame.
    void Watch(const GameWorld& aWorld);
    // Empty while no enemy has turned on two frames in a row; else the first that did, and where.
    const std::string& GetFailure() const { return myFailure; }

private:
    struct Seen
    {
        bool isFacingRight = false;
        int lastTurnFrame = -2;
    };
    std::map<const GameObject*, Seen> myEnemies;
    std::string myFailure;
    int myFrame = 0;
};
} // namespace GameTest
