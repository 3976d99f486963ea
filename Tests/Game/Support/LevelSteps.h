// Steps that choose levels in the level select and play them from their scripted runs, through the
// whole program, and the way back to the title from wherever a run stands. Main thread.
#pragma once

#include "Game/Support/SessionSteps.h"

#include <functional>
#include <string>
#include <vector>

namespace GameTest
{
// What one played level showed on its results screen and what its map and script say it should be.
struct LevelOutcome
{
    std::string stem;
    int score = -1;
    int shownScore = -1;
    int coins = 0;
    int keys = 0;
    int levelKeys = 0;
    // The level's points for its wisps and keys applied to the script's wisps and the level's keys.
    int expectedScore = -1;
};

// "levels/<stem>.vks", as the registry and the progress file name a level.
std::string LevelPath(const std::string& aStem);
// The points a wisp and a key are worth in aStem's map (its "RankingSystem" line), else the defaults.
void ReadLevelPoints(const std::string& aStem, int& aWispPoints, int& aKeyPoints);

// From the title or the level select: to the level select, onto aStem's button, and Enter.
void AddChooseLevel(SessionSteps& aSteps, const std::string& aStem);
// Waits for aStem to be loaded and running, then plays its script until its results are shown (the
// boss level: until the boss is dead and the outro runs). A level without a script fails the run there,
// naming it. The outcome is appended to aOutcomes when the results come. While the level plays the
// world is drawn once every aDrawInterval frames. anAfterLoad, when given, adds steps taken once the
// level runs and before its script starts.
void AddPlayLevel(SessionSteps& aSteps, const std::string& aStem, std::vector<LevelOutcome>& aOutcomes,
                  int aDrawInterval, const std::function<void(SessionSteps&)>& anAfterLoad = {});
// Back to a lone title menu from any screen: the pause menu's Back to Title, the results' Return to
// Menu, Escape out of the other menus, Space through the credits film.
void AddReturnToTitle(SessionSteps& aSteps, const std::string& aName);

// True on a lone title menu with no level loaded or loading.
bool IsAtTitle(const GameSession& aSession);
} // namespace GameTest
